#include "platform/wholefile.h"

#include "platform/fileerror.h"

namespace platform {

WholeFile::WholeFile(const QString& fileName, const FileDevices& devices)
    : file_(devices.wholeFile(fileName)) {
    refuseSpecialFile(fileName);
    if (!file_->open(QIODevice::WriteOnly)) {
        throw fileError(*file_);
    }
}

void WholeFile::write(QByteArrayView bytes) {
    if (file_->write(bytes.data(), bytes.size()) != bytes.size()) {
        throw fileError(*file_);
    }
}

// commit() alone misses a failure of the last buffered write, and would put a short file in the
// old one's place: the buffer is flushed first.
void WholeFile::commit() {
    if (!file_->flush() || !file_->commit()) {
        throw fileError(*file_);
    }
}

}  // namespace platform
