#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>
#include <memory>

#include "platform/filedevices.h"

namespace platform {

// A file written whole or not at all: its bytes go to a new file beside it, which takes the old
// one's place only once every byte is on disk. Until then, and when anything fails, the old file
// stays as it was. Failures raise ProgramError with the number the program's file messages give
// (61 for a full disk).
class WholeFile {
public:
    // Opens the new file beside `fileName`, through the device that `devices` makes for it.
    WholeFile(const QString& fileName, const FileDevices& devices);
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    void write(QByteArrayView bytes);
    // Puts every byte on disk, then the file in the old one's place.
    void commit();

private:
    static constexpr qint64 kWritebackBytes = 1024 * 1024;
    void startWriteback();

    std::unique_ptr<QSaveFile> file_;
    qint64 written_ = 0;
    // The bytes handed to the disk so far.
    qint64 handedOver_ = 0;
};

}  // namespace platform
