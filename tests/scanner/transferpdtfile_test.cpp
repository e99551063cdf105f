#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

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
    TransferTest() : modMain(prompts, tools, data, shop.folder() + QStringLiteral("/Shop")) {
        modMain.menu = &menu;
    }

    // The program's folder, holding a stand-in utility that writes the arguments it gets to "argv".
    void useFolder(const QString& name) {
        modMain.appPath = shop.folder() + QLatin1Char('/') + name;
        ASSERT_TRUE(QDir().mkpath(modMain.appPath));
        writeStandIn(modMain.appPath, QStringLiteral("Tsr-tu3a.exe"), "printf '%s\\n' \"$@\" > argv");
    }
    QString inApp(const QString& name) const { return modMain.appPath + QLatin1Char('/') + name; }
    QStringList utilityArguments() const {
        QFile file(inApp(QStringLiteral("argv")));
        return file.open(QIODevice::ReadOnly)
                   ? QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
    }
    // A value as the settings file holds it, read straight from the file.
    QString setting(const QString& key) const {
        QFile file(modMain.exeName + QStringLiteral(".config.ini"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromLocal8Bit(file.readAll()).split(QStringLiteral("\r\n"))) {
            if (line.startsWith(key + QLatin1Char('='))) {
                return line.mid(key.size() + 1);
            }
        }
        return QStringLiteral("<missing>");
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
    // The arguments the utility receives; %T stands for the test's own folder.
    QStringList expected;
};

class CommandLineTest : public TransferTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandLineTest, RunsTheUtilityWithTheUnquotedCommandLine) {
    const CommandCase& c = GetParam();
    useFolder(QLatin1String(c.folder));
    menu.comm1 = c.comm1;
    menu.path = inApp(QStringLiteral("Stock.dat"));
    modMain.bDownloadItemFile = c.send;
    EXPECT_TRUE(fTransferPDTFile(modMain, QStringLiteral(" StockTake ")));
    QStringList expected = c.expected;
    expected.replaceInStrings(QStringLiteral("%T"), shop.folder());
    EXPECT_EQ(utilityArguments(), expected);
    EXPECT_EQ(
        prompts.shown,
        QStringList{QStringLiteral("Please put BHT 8000 into StockTake download mode and plug cable in !!")});
    const QString port = c.comm1 ? QStringLiteral("1") : QStringLiteral("2");
    EXPECT_EQ(modMain.sCommPort, port);
    EXPECT_EQ(setting(QStringLiteral("COMPORT")), port);
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
        bool isFolder;
        bool removed;
    } cases[] = {{true, "Stock.dat", false, true},
                 {false, "Stock.dat", false, false},
                 {true, "Stock.dat", true, false},
                 {true, ".Stock.dat", false, false}};
    useFolder(QStringLiteral("Shop"));
    for (const auto& c : cases) {
        const QString old = inApp(QLatin1String(c.name));
        ASSERT_TRUE(c.isFolder ? QDir().mkpath(old) : QFile(old).open(QIODevice::WriteOnly));
        menu.overwrite = c.ticked;
        menu.path = QStringLiteral("  ") + old + QStringLiteral(" ");
        QFile::remove(inApp(QStringLiteral("argv")));
        EXPECT_TRUE(fTransferPDTFile(modMain, QStringLiteral(" StockTake "))) << c.name;
        EXPECT_EQ(QFileInfo::exists(old), !c.removed) << c.name << " ticked " << c.ticked;
        EXPECT_EQ(utilityArguments().value(2), old);
        EXPECT_EQ(setting(QStringLiteral("DESPATCHPATH")), menu.path);
        QDir(old).removeRecursively();
        QFile::remove(old);
    }
    EXPECT_EQ(prompts.shown.size(), 4);  // the prompts alone
}

TEST_F(TransferTest, ARefusedDeletionStopsTheTransferBeforeTheUtility) {
    useFolder(QStringLiteral("Shop"));
    QFile old(inApp(QStringLiteral("Stock.dat")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.setPermissions(QFileDevice::ReadOwner);
    menu.path = old.fileName();
    EXPECT_FALSE(fTransferPDTFile(modMain, QStringLiteral(" StockTake ")));
    EXPECT_EQ(prompts.shown.last(),
              QStringLiteral("Error during receiving PDT file= 75-Path/File access error"));
    EXPECT_TRUE(old.exists());
    EXPECT_TRUE(utilityArguments().isEmpty());
}

TEST_F(TransferTest, ASendBeforeAnyReceiveRecordsNotChosen) {
    useFolder(QStringLiteral("Shop"));
    modMain.bDownloadItemFile = true;
    EXPECT_TRUE(fTransferPDTFile(modMain, QStringLiteral(" PriceCheck ")));
    EXPECT_EQ(setting(QStringLiteral("DESPATCHPATH")), QStringLiteral("Not Chosen"));
}

TEST_F(TransferTest, CarriesTheItemFileToTheScannerAndAnUploadBack) {
    ASSERT_TRUE(QDir().mkpath(modMain.appPath));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(RM_BIN_DIR "/Tsr-tu3a.exe"), inApp(QStringLiteral("Tsr-tu3a.exe"))));
    qputenv("PDT_SIM_DIR", (shop.folder() + QStringLiteral("/memory")).toLocal8Bit());
    QFile items(inApp(QStringLiteral("rmItems.dat")));
    ASSERT_TRUE(items.open(QIODevice::WriteOnly));
    items.write(QByteArray("57   9310012345678  Milk 2L").leftJustified(74, ' ') + "\r\n");
    items.close();
    modMain.bDownloadItemFile = true;
    EXPECT_TRUE(fTransferPDTFile(modMain, QStringLiteral(" PriceCheck ")));
    EXPECT_EQ(QProcess::execute(QStringLiteral(RM_BIN_DIR "/pdt-sim"), {QStringLiteral("goods")}), 0);

    modMain.bDownloadItemFile = false;
    menu.path = inApp(QStringLiteral("Goods.dat"));
    EXPECT_TRUE(fTransferPDTFile(modMain, QStringLiteral(" Goods Received ")));
    QFile goods(menu.path);
    ASSERT_TRUE(goods.open(QIODevice::ReadOnly));
    EXPECT_TRUE(goods.readAll().startsWith("NXGRV100\r\n57,9310012345678,"));
    // Nothing held for orders: the utility fails, yet the transfer counts as run.
    menu.path = inApp(QStringLiteral("Orders.dat"));
    EXPECT_TRUE(fTransferPDTFile(modMain, QStringLiteral(" Order ")));
    EXPECT_FALSE(QFile::exists(menu.path));
    qunsetenv("PDT_SIM_DIR");
}

}  // namespace
