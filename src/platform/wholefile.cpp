#include "platform/wholefile.h"

#include <fcntl.h>

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
    written_ += bytes.size();
    if (written_ - handedOver_ >= kWritebackBytes) {
        startWriteback();
    }
}

// A large file is handed to the disk a piece at a time as it is written, so that the commit's wait
// for every byte to be on disk finds most of them there already. It is only a hint: the commit
// still waits for every byte and reports any failure.
void WholeFile::startWriteback() {
    if (!file_->flush()) {
        throw fileError(*file_);
    }
    const int handle = file_->handle();
    if (handle >= 0) {
        sync_file_range(handle, handedOver_, written_ - handedOver_, SYNC_FILE_RANGE_WRITE);
    }
    handedOver_ = written_;
}

// commit() alone misses a failure of the last buffered write, and would put a short file in the
// old one's place: the buffer is flushed first.
void WholeFile::commit() {
    if (!file_->flush() || !file_->commit()) {
        throw fileError(*file_);
    }
}

}  // namespace platform
