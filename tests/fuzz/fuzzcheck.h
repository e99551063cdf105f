#pragma once

#include <cstdio>
#include <cstdlib>

// A property that every input must keep; a broken one is a finding, and ends the run as a crash
// does, so that the fuzzer keeps the input.
inline void fuzzCheck(bool kept, const char* property) {
    if (!kept) {
        std::fprintf(stderr, "broken: %s\n", property);
        std::abort();
    }
}
