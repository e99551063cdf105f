#pragma once

#include <QString>

namespace platform {

// The program's folder, where its own files go (see programFolderFor), without a trailing
// separator. The user's data folder is made on first use; raises ProgramError "Path/File access
// error" (75), naming the folder, when it cannot be made.
QString programFolder();

// The folder the program runs its helper programs from (see helperFolderFor).
QString helperFolder();

}  // namespace platform
