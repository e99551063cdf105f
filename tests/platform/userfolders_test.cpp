#include "platform/userfolders.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "qtprinting.h"

namespace {

using platform::FolderSettings;

// Installed (run from the package's folder /usr/bin), a program keeps its files in the user's data
// folder by the XDG rules: XDG_DATA_HOME when it is an absolute path, ~/.local/share when it is
// unset, empty or relative. Run from anywhere else it keeps everything in its own folder;
// RMSTOCKHAND_HOME holds the files and the helpers, installed or not.
TEST(UserFolders, TheProgramsFolderAndTheHelpersFolder) {
    const struct {
        const char* name;
        const char *executable, *home, *dataHome, *program, *helpers;
    } cases[] = {
        {"Installed", "/usr/bin", "", "", "/home/shop/.local/share/rmstockhand", "/usr/bin"},
        {"InstalledWrittenOtherwise", "/usr/./bin/", "", "", "/home/shop/.local/share/rmstockhand",
         "/usr/bin"},
        {"InstalledWithADataHome", "/usr/bin", "", "/srv/shopdata/", "/srv/shopdata/rmstockhand", "/usr/bin"},
        {"InstalledWithARelativeDataHome", "/usr/bin", "", "shopdata", "/home/shop/.local/share/rmstockhand",
         "/usr/bin"},
        {"BuildFolder", "/home/dev/build/bin", "", "/srv/shopdata", "/home/dev/build/bin",
         "/home/dev/build/bin"},
        {"AnotherFolder", "/usr/local/bin", "", "", "/usr/local/bin", "/usr/local/bin"},
        {"HomeSetInstalled", "/usr/bin", "/shop/pc/", "/srv/shopdata", "/shop/pc", "/shop/pc"},
        {"HomeSetInBuildFolder", "/home/dev/build/bin", "/shop/pc/", "", "/shop/pc", "/shop/pc"},
    };
    for (const auto& c : cases) {
        const FolderSettings settings{c.executable, "/usr/bin", c.home, c.dataHome, "/home/shop"};
        EXPECT_EQ(platform::programFolderFor(settings), c.program) << c.name;
        EXPECT_EQ(platform::helperFolderFor(settings), c.helpers) << c.name;
    }
}

TEST(UserFolders, TheDataFolderAndItsMissingParentsAreMadeTheUsersAlone) {
    const QTemporaryDir home;
    const QString folder = home.filePath(".local/share/rmstockhand");
    ASSERT_TRUE(platform::makeUserFolder(folder));
    const QFileDevice::Permissions userOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                              QFileDevice::WriteUser | QFileDevice::ExeUser;
    for (const QString& made : {home.filePath(".local"), home.filePath(".local/share"), folder}) {
        EXPECT_EQ(QFile::permissions(made), userOnly) << made.toStdString();
    }
    // Made already, it is taken as it is.
    ASSERT_TRUE(QFile::setPermissions(folder, userOnly | QFileDevice::ReadGroup | QFileDevice::ExeGroup));
    EXPECT_TRUE(platform::makeUserFolder(folder));
    EXPECT_TRUE(QFile::permissions(folder).testFlag(QFileDevice::ReadGroup));
    // A file in the way cannot become a folder.
    QFile blocker(home.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_FALSE(platform::makeUserFolder(home.filePath("file/rmstockhand")));
}

}  // namespace
