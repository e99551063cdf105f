#pragma once

#include <cstddef>
#include <cstdint>

#include "imports/uploadfile.h"

struct Program;

// Runs one upload file through `process`: the input's first byte chooses whether a lasting
// refusal stops the run (its lowest bit) and the order number the dialog answers; the rest is
// the file.
int fuzzUpload(const uint8_t* data, size_t size, ProcessOutcome (*process)(Program&, const QString&));
