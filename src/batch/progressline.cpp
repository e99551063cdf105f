#include "batch/progressline.h"

#include <unistd.h>

#include <cstdio>

namespace {

// A terminal line redrawn more often than this only flickers.
constexpr qint64 kRedrawMs = 200;

}  // namespace

ProgressLine::ProgressLine() : enabled_(isatty(STDOUT_FILENO) == 1) {
    clock_.start();
}

void ProgressLine::recordDone() {
    ++records_;
    if (enabled_ && (lastPrint_ < 0 || clock_.elapsed() - lastPrint_ >= kRedrawMs)) {
        print();
    }
}

void ProgressLine::finish() {
    if (enabled_ && records_ > 0) {
        print();
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
}

void ProgressLine::print() {
    lastPrint_ = clock_.elapsed();
    const double seconds = static_cast<double>(qMax<qint64>(lastPrint_, 1)) / 1000.0;
    std::printf("\r%lld records, %.0f records/s ", static_cast<long long>(records_),
                static_cast<double>(records_) / seconds);
    std::fflush(stdout);
}
