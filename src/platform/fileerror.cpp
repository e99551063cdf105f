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
        default:
            return ProgramError(errnum::DeviceIoError, file.errorString());
    }
}

}  // namespace platform
