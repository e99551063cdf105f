#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

QString programFolder() {
    const QString home = qEnvironmentVariable("RMSTOCKHAND_HOME");
    const QString folder = home.isEmpty() ? QCoreApplication::applicationDirPath() : home;
    return QDir::cleanPath(QDir(folder).absolutePath());
}

}  // namespace platform
