#include "platform/userfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

// A folder's path without "." and ".." parts or a trailing separator; links are kept.
QString cleaned(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

// The path with its links resolved when it exists, else as it is written.
QString resolved(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

}  // namespace

FolderSettings currentFolderSettings() {
    return {resolved(QCoreApplication::applicationDirPath()),
            resolved(QStringLiteral(RMSTOCKHAND_INSTALLED_BINDIR)), qEnvironmentVariable("RMSTOCKHAND_HOME"),
            qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath()};
}

bool runsInstalled(const FolderSettings& settings) {
    return cleaned(settings.executableFolder) == cleaned(settings.installedFolder);
}

QString userDataFolder(const FolderSettings& settings) {
    const bool dataHomeValid = QDir::isAbsolutePath(settings.xdgDataHome);
    const QString dataHome =
        dataHomeValid ? settings.xdgDataHome : settings.home + QStringLiteral("/.local/share");
    return cleaned(dataHome + QStringLiteral("/rmstockhand"));
}

QString programFolderFor(const FolderSettings& settings) {
    if (!settings.rmstockhandHome.isEmpty()) {
        return cleaned(settings.rmstockhandHome);
    }
    return runsInstalled(settings) ? userDataFolder(settings) : cleaned(settings.executableFolder);
}

QString helperFolderFor(const FolderSettings& settings) {
    return cleaned(settings.rmstockhandHome.isEmpty() ? settings.executableFolder : settings.rmstockhandHome);
}

bool makeUserFolder(const QString& path) {
    const QFileInfo folder(path);
    if (folder.isDir()) {
        return true;
    }
    const QString parent = folder.absolutePath();
    return parent != folder.absoluteFilePath() && makeUserFolder(parent) &&
           QDir().mkdir(folder.absoluteFilePath(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace platform
