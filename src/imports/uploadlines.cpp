#include "imports/uploadlines.h"

#include <cstring>

#include "platform/fileerror.h"

namespace {

constexpr qint64 kChunkSize = 64 * 1024;

}  // namespace

void UploadLineReader::open() {
    platform::openPlainFile(file_, QIODevice::ReadOnly);
}

bool UploadLineReader::readLine(QString& line) {
    line.clear();
    bool started = false;
    while (chunkPos_ < chunk_.size() || fillChunk()) {
        const char* const data = chunk_.constData();
        if (afterCarriageReturn_) {
            afterCarriageReturn_ = false;
            if (data[chunkPos_] == '\n') {
                ++chunkPos_;
                continue;
            }
        }
        started = true;
        const qsizetype left = chunk_.size() - chunkPos_;
        const auto* end = static_cast<const char*>(std::memchr(data + chunkPos_, '\r', left));
        const qsizetype length = end ? end - (data + chunkPos_) : left;
        appendToLine(line, data + chunkPos_, length);
        chunkPos_ += length;
        if (end) {
            ++chunkPos_;
            afterCarriageReturn_ = true;
            return true;
        }
    }
    return started;
}

bool UploadLineReader::fillChunk() {
    chunk_.resize(kChunkSize);
    const qint64 got = file_.read(chunk_.data(), kChunkSize);
    if (got < 0) {
        throw platform::fileError(file_);
    }
    chunk_.resize(got);
    chunkPos_ = 0;
    return got > 0;
}

void UploadLineReader::appendToLine(QString& line, const char* text, qsizetype length) const {
    if (line.size() + length > kMaxLineLength) {
        throw ProgramError(errnum::PathFileAccessError,
                           QStringLiteral("Line longer than %1 characters").arg(kMaxLineLength));
    }
    line.append(QLatin1String(text, length));
}
