#include "startup/uploadrun.h"

#include "platform/programerror.h"

void UploadRun::noteLoaderError(const ProgramError& error) {
    ++failed;
    if (error.number() == errnum::DatabaseError) {
        ++refused;
        shopCannotWrite = shopCannotWrite || error.lasting();
    }
}
