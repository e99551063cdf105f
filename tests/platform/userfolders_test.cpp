#include "platform/userfolders.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/programfolder.h"
#include "qtprinting.h"
#include "scopedvariable.h"

namespace {

using platform::FolderSettings;

// A program installed into /usr/bin, run by a user whose home is /home/shop.
FolderSettings installed() {
    return {"/usr/bin", "/usr/bin", "", "", "/home/shop"};
}

// The same program run from a build folder.
FolderSettings built() {
    return {"/home/dev/stockhand/build/bin", "/usr/bin", "", "", "/home/dev"};
}

TEST(UserFolders, AProgramRunsInstalledOnlyFromThePackagesFolder) {
    EXPECT_TRUE(platform::runsInstalled(installed()));
    FolderSettings written = installed();
    written.executableFolder = "/usr/./bin/";
    EXPECT_TRUE(platform::runsInstalled(written));
    EXPECT_FALSE(platform::runsInstalled(built()));
    written.executableFolder = "/usr/local/bin";
    EXPECT_FALSE(platform::runsInstalled(written));
}

// The XDG rules: XDG_DATA_HOME when it is an absolute path, ~/.local/share when it is unset, empty
// or relative.
TEST(UserFolders, TheInstalledProgramsFolderIsTheUsersDataFolder) {
    const std::pair<QString, QString> cases[] = {
        {"", "/home/shop/.local/share/rmstockhand"},
        {"/srv/shopdata", "/srv/shopdata/rmstockhand"},
        {"/srv/shopdata/", "/srv/shopdata/rmstockhand"},
        {"shopdata", "/home/shop/.local/share/rmstockhand"},
    };
    for (const auto& [dataHome, folder] : cases) {
        FolderSettings settings = installed();
        settings.xdgDataHome = dataHome;
        EXPECT_EQ(platform::userDataFolder(settings), folder) << dataHome.toStdString();
        EXPECT_EQ(platform::programFolderFor(settings), folder) << dataHome.toStdString();
        EXPECT_EQ(platform::helperFolderFor(settings), "/usr/bin") << dataHome.toStdString();
    }
}

TEST(UserFolders, AProgramRunFromItsBuildFolderKeepsEverythingThere) {
    FolderSettings settings = built();
    settings.xdgDataHome = "/srv/shopdata";
    EXPECT_EQ(platform::programFolderFor(settings), "/home/dev/stockhand/build/bin");
    EXPECT_EQ(platform::helperFolderFor(settings), "/home/dev/stockhand/build/bin");
}

TEST(UserFolders, RmstockhandHomeHoldsTheFilesAndTheHelpersInstalledOrNot) {
    for (FolderSettings settings : {installed(), built()}) {
        settings.rmstockhandHome = "/shop/pc/";
        settings.xdgDataHome = "/srv/shopdata";
        EXPECT_EQ(platform::programFolderFor(settings), "/shop/pc");
        EXPECT_EQ(platform::helperFolderFor(settings), "/shop/pc");
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

// This test program runs from the build folder: its folder is its own (or RMSTOCKHAND_HOME), and
// no data folder is made for it.
TEST(ProgramFolder, RunFromTheBuildFolderItIsTheExecutablesFolderAndNoDataFolderIsMade) {
    const QTemporaryDir dataHome;
    const ScopedVariable xdgDataHome("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    ScopedVariable home("RMSTOCKHAND_HOME");
    EXPECT_EQ(platform::programFolder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(platform::helperFolder(), QCoreApplication::applicationDirPath());
    home.set("/shop/pc");
    EXPECT_EQ(platform::programFolder(), "/shop/pc");
    EXPECT_EQ(platform::helperFolder(), "/shop/pc");
    EXPECT_FALSE(QDir(dataHome.filePath("rmstockhand")).exists());
}

}  // namespace
