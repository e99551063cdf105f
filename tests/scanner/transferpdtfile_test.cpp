#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "fakemenuview.h"
#include "mocks.h"
#include "scanner/transferpdtfile.h"
#include "scriptedprompts.h"
#include "standinutility.h"
#include "startup/modmain.h"
#include "stringtools/stringtools.h"
#include "testshop.h"

namespace {

class TransferTest : public testing::Test {
protected:
    TransferTest() : modMain(prompts, tools, data, shop.folder() + "/Shop") { modMain.menu = &menu; }

    // The program's folder, with a stand-in utility that writes the arguments it gets to "argv".
    void useFolder(const QString& name) {
        modMain.appPath = shop.folder() + '/' + name;
        ASSERT_TRUE(QDir().mkpath(modMain.appPath));
        writeStandIn(modMain.appPath, "Tsr-tu3a.exe", "printf '%s\\n' \"$@\" > argv");
    }
    QString inApp(const QString& name) const { return modMain.appPath + '/' + name; }
    QString read(const QString& file) const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
    }
    QStringList utilityArguments() const { return read(inApp("argv")).split('\n', Qt::SkipEmptyParts); }
    // A value as the settings file holds it.
    QString setting(const QString& key) const {
        const QStringList lines =
            read(modMain.exeName + ".config.ini").split("\r\n").filter(QRegularExpression('^' + key + '='));
        return lines.isEmpty() ? "<missing>" : lines.first().mid(key.size() + 1);
    }

    TestShop shop;
    ScriptedPrompts prompts;
    StringTools tools;
    MockShopData data;
    FakeMenuView menu;
    ModMain modMain;
};

struct CommandCase {
    bool send;
    bool comm1;
    const char* folder;
    QStringList expected;  // %T is the test's folder
};

class CommandLineTest : public TransferTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandLineTest, RunsTheUtilityWithTheUnquotedCommandLine) {
    const CommandCase& c = GetParam();
    useFolder(c.folder);
    menu.comm1 = c.comm1;
    menu.path = inApp("Stock.dat");
    modMain.bDownloadItemFile = c.send;
    EXPECT_TRUE(fTransferPDTFile(modMain, " StockTake "));
    EXPECT_EQ(utilityArguments(), QStringList(c.expected).replaceInStrings("%T", shop.folder()));
    EXPECT_EQ(prompts.shown,
              QStringList{"Please put BHT 8000 into StockTake download mode and plug cable in !!"});
    EXPECT_EQ(modMain.sCommPort, c.comm1 ? "1" : "2");
    EXPECT_EQ(setting("COMPORT"), modMain.sCommPort);
}

INSTANTIATE_TEST_SUITE_P(
    PortsAndFolders, CommandLineTest,
    testing::Values(
        CommandCase{true, true, "Shop", {"COM1:9600,n,8,1", "n", "D%T/Shop/rmItems.dat", "/f5,15,40,9,5"}},
        CommandCase{true, false, "Shop", {"COM2:9600,n,8,1", "n", "D%T/Shop/rmItems.dat", "/f5,15,40,9,5"}},
        CommandCase{false, true, "Shop", {"COM1:9600,n,8,1", "n@", "%T/Shop/Stock.dat"}},
        CommandCase{false, false, "Shop", {"COM2:9600,n,8,1", "n@", "%T/Shop/Stock.dat"}},
        // Nothing is quoted, so a folder with a blank reaches the utility in two pieces.
        CommandCase{
            true, true, "My Shop", {"COM1:9600,n,8,1", "n", "D%T/My", "Shop/rmItems.dat", "/f5,15,40,9,5"}},
        CommandCase{false, false, "My Shop", {"COM2:9600,n,8,1", "n@", "%T/My", "Shop/Stock.dat"}}));

TEST_F(TransferTest, RemovesOnlyAnOrdinaryOldDownloadWhenTicked) {
    const struct {
        bool ticked;
        const char* name;
        bool isFolder, removed;
    } cases[] = {{true, "Stock.dat", false, true},
                 {false, "Stock.dat", false, false},
                 {true, "Stock.dat", true, false},
                 {true, ".Stock.dat", false, false}};
    useFolder("Shop");
    for (const auto& c : cases) {
        const QString old = inApp(c.name);
        ASSERT_TRUE(c.isFolder ? QDir().mkpath(old) : QFile(old).open(QIODevice::WriteOnly));
        menu.overwrite = c.ticked;
        menu.path = "  " + old + " ";  // trimmed for the deletion, kept for the rest
        EXPECT_TRUE(fTransferPDTFile(modMain, " StockTake ")) << c.name;
        EXPECT_EQ(QFileInfo::exists(old), !c.removed) << c.name << " ticked " << c.ticked;
        EXPECT_EQ(setting("DESPATCHPATH"), menu.path);
        QDir(old).removeRecursively();
        QFile::remove(old);
    }
    EXPECT_EQ(prompts.shown.size(), 4);  // the prompts alone
}

TEST_F(TransferTest, ARefusedDeletionStopsTheTransferBeforeTheUtility) {
    useFolder("Shop");
    QFile old(inApp("Stock.dat"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.setPermissions(QFileDevice::ReadOwner);
    menu.path = old.fileName();
    EXPECT_FALSE(fTransferPDTFile(modMain, " StockTake "));
    EXPECT_EQ(prompts.shown.last(), "Error during receiving PDT file= 75-Path/File access error");
    EXPECT_TRUE(old.exists());
    EXPECT_TRUE(utilityArguments().isEmpty());
}

TEST_F(TransferTest, ASendBeforeAnyReceiveRecordsNotChosen) {
    useFolder("Shop");
    modMain.bDownloadItemFile = true;
    EXPECT_TRUE(fTransferPDTFile(modMain, " PriceCheck "));
    EXPECT_EQ(setting("DESPATCHPATH"), "Not Chosen");
}

}  // namespace
