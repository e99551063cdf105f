#include "fuzzupload.h"
#include "imports/ordersimport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzUpload(data, size, fProcessOrdersFile);
}
