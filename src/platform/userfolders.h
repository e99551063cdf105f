#pragma once

#include <QString>

namespace platform {

// What decides where the program keeps its files and where it finds the programs it runs: where
// the running executable is, where the package installs the programs, and the environment.
struct FolderSettings {
    // The folder that holds the running executable.
    QString executableFolder;
    // The folder the package installs the programs into, fixed when the program is built.
    QString installedFolder;
    // The values of RMSTOCKHAND_HOME, XDG_DATA_HOME and HOME.
    QString rmstockhandHome;
    QString xdgDataHome;
    QString home;
};

// The settings of this run: the executable's folder and the installed folder with their links
// resolved, and the environment.
FolderSettings currentFolderSettings();

// True when the executable runs from the folder the package installs it into.
bool runsInstalled(const FolderSettings& settings);

// The user's data folder under the XDG rules: "rmstockhand" in XDG_DATA_HOME when that is an
// absolute path (a relative one is ignored), else in ~/.local/share.
QString userDataFolder(const FolderSettings& settings);

// The program's folder, where its audit reports, item file, received uploads and second data
// source's file go: RMSTOCKHAND_HOME when set; else the user's data folder when the program runs
// installed, since the installed folder is the system's; else the executable's folder.
QString programFolderFor(const FolderSettings& settings);

// The folder the program runs its helper programs (the transfer utility) from: RMSTOCKHAND_HOME
// when set, else the executable's folder, installed or not, so that they are never looked for
// among the user's files.
QString helperFolderFor(const FolderSettings& settings);

// Makes `path` and its missing parents, each one the user's alone (mode 700) as the XDG rules ask;
// false when one of them cannot be made.
bool makeUserFolder(const QString& path);

}  // namespace platform
