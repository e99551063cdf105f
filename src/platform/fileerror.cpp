#include "platform/fileerror.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

int openErrorNumber(const QString& path) {
    const QFileInfo info(path);
    if (!info.dir().exists()) {
        return errnum::PathNotFound;
    }
    return info.exists() && !info.isFile() ? errnum::PathFileAccessError : errnum::PermissionDenied;
}

}  // namespace

ProgramError fileError(const QFileDevice& file) {
    switch (file.error()) {
        case QFileDevice::OpenError:
            return ProgramError(openErrorNumber(file.fileName()), file.errorString());
        case QFileDevice::ResourceError:
            return ProgramError(errnum::DiskFull, file.errorString());
        case QFileDevice::NoError:
            return ProgramError(errnum::DiskFull, QStringLiteral("Disk full"));
        default:
            return ProgramError(errnum::DeviceIoError, file.errorString());
    }
}

void refuseSpecialFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        throw ProgramError(errnum::PathFileAccessError, QStringLiteral("Path/File access error"));
    }
}

void openPlainFile(QFile& file, QIODevice::OpenMode mode) {
    refuseSpecialFile(file.fileName());
    if (!file.open(mode)) {
        throw fileError(file);
    }
}

}  // namespace platform
