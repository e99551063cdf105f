#include "platform/programfolder.h"

#include "platform/programerror.h"
#include "platform/userfolders.h"

namespace platform {

QString programFolder() {
    const FolderSettings settings = currentFolderSettings();
    const QString folder = programFolderFor(settings);
    if (folder == userDataFolder(settings) && !makeUserFolder(folder)) {
        throw ProgramError(
            errnum::PathFileAccessError,
            QStringLiteral("Path/File access error: the data folder %1 cannot be made").arg(folder));
    }
    return folder;
}

QString helperFolder() {
    return helperFolderFor(currentFolderSettings());
}

}  // namespace platform
