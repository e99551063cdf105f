#include "imports/uploadrun.h"

#include "outside/programerror.h"

void UploadRun::noteLoaderError(const ProgramError& error) {
    ++failed;
    if (error.number() == errnum::DatabaseError) {
        ++refused;
        shopCannotWrite = shopCannotWrite || error.lasting();
    }
}
