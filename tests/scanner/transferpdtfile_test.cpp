#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include "fakemenuview.h"
#include "mocks.h"
#include "platform/stringtools.h"
#include "programfiles.h"
#include "scanner/shellandwait.h"
#include "scanner/transferpdtfile.h"
#include "scriptedprompts.h"
#include "startup/modmain.h"
#include "testshop.h"

namespace {

TEST(ShowMode, GivesTheWindowsShowCode) {
    // The code for each minimised, maximised and focus: maximised counts only with focus and unminimised.
    const int codes[2][2][2] = {{{4, 1}, {4, 3}}, {{6, 2}, {6, 2}}};
    for (int flags = 0; flags < 8; ++flags) {
        const bool minimised = flags & 4, maximised = flags & 2, focus = flags & 1;
        EXPECT_EQ(fShowMode(minimised, maximised, focus), codes[minimised][maximised][focus]) << flags;
    }
}

// A menu whose event delivery really delivers, as the form's does.
class LiveMenuView : public FakeMenuView {
public:
    void yield() override {
        FakeMenuView::yield();
        QCoreApplication::processEvents();
    }
};

class TransferTest : public testing::Test {
protected:
    TransferTest() : modMain(prompts, tools, data, shop.folder()) { modMain.menu = &menu; }

    // The program's folder, not the current one, holding its helpers as when it runs from its build
    // folder: a stand-in utility writing its arguments to "argv" in its own folder.
    void useFolder(const QString& name) {
        modMain.appPath = shop.folder() + '/' + name;
        modMain.helperPath = modMain.appPath;
        ASSERT_TRUE(QDir().mkpath(modMain.appPath));
        writeProgram("Tsr-tu3a.exe", "printf '%s\\n' \"$@\" > argv");
    }
    // Writes a helper program into the folder helpers are run from.
    void writeProgram(const QString& name, const QByteArray& script,
                      QFileDevice::Permissions run = QFileDevice::ExeOwner) {
        const QString path = modMain.helperPath + '/' + name;
        writeBytes(path, "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(path, QFileDevice::ReadOwner | run);
    }
    QString inApp(const QString& name) const { return modMain.appPath + '/' + name; }
    QString settings() const { return QString::fromLocal8Bit(readBytes(modMain.exeName + ".config.ini")); }
    bool shell(bool waitFirst) {
        wait = waitFirst;
        return fShellAndWait(modMain, "util.exe", "a  b", wait, false, true, true);
    }

    TestShop shop;
    ScriptedPrompts prompts;
    StringTools tools;
    MockShopData data;
    LiveMenuView menu;
    ModMain modMain;
    bool wait = true;
};

TEST_F(TransferTest, ReportsAProgramThatCannotStartAndDoesNotWait) {
    EXPECT_FALSE(shell(true));
    writeProgram("util.exe", "exit 0", {});
    EXPECT_FALSE(shell(true));
    EXPECT_FALSE(shell(false));
    EXPECT_FALSE(wait);
    EXPECT_EQ(prompts.shown, QStringList{"Error in Shell=53-File not found"} +
                                 QStringList(2, "Error in Shell=70-Permission denied"));
    EXPECT_EQ(menu.yields, 0);
}

TEST_F(TransferTest, WaitsForTheEndWhileTheMenuStaysLiveAndIgnoresTheExitCode) {
    useFolder("Shop");
    writeProgram("util.exe", "printf '%s\\n' \"$@\" > argv; sleep 0.4; echo done > end; exit 3");
    QObject context;
    bool busyWhenTimerFired = false;
    QTimer::singleShot(100, &context, [&] { busyWhenTimerFired = menu.screenBusyPointer; });
    EXPECT_TRUE(shell(true));
    EXPECT_EQ(readBytes(inApp("end")), "done\n");  // waited for, in its own folder
    EXPECT_EQ(readBytes(inApp("argv")), "a\nb\n");
    EXPECT_TRUE(busyWhenTimerFired);
    EXPECT_FALSE(menu.screenBusyPointer);
    EXPECT_GT(menu.yields, 3);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// An installed program keeps its files in the user's data folder and its helpers beside itself: the
// utility is run from the helpers' folder, never from the program's, and sends the program's item file.
TEST_F(TransferTest, RunsTheUtilityFromTheHelpersFolderNeverFromTheProgramsFolder) {
    useFolder("data");
    modMain.helperPath = shop.folder() + "/bin";
    ASSERT_TRUE(QDir().mkpath(modMain.helperPath));
    modMain.bDownloadItemFile = true;
    EXPECT_FALSE(fTransferPDTFile(modMain, " PriceCheck "));
    EXPECT_EQ(prompts.shown.last(), "Error in Shell=53-File not found");

    writeProgram("Tsr-tu3a.exe", "printf '%s\\n' \"$@\" > argv");
    EXPECT_TRUE(fTransferPDTFile(modMain, " PriceCheck "));
    const QStringList arguments = QString(readBytes(modMain.helperPath + "/argv")).split('\n');
    ASSERT_GE(arguments.size(), 3);
    EXPECT_EQ(arguments[2], 'D' + shop.folder() + "/data/rmItems.dat");
    EXPECT_FALSE(QFile::exists(inApp("argv")));
}

struct CommandCase {
    bool send, comm1;
    const char* folder;
    QStringList expected;  // %T is the test's folder
};

class CommandLineTest : public TransferTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandLineTest, RunsTheUtilityWithTheUnquotedCommandLine) {
    const CommandCase& c = GetParam();
    useFolder(c.folder);
    menu.comm1 = c.comm1;
    menu.path = c.send ? menu.path : inApp("Stock.dat");  // a send before any receive records "Not Chosen"
    modMain.bDownloadItemFile = c.send;
    const QString mode = c.send ? " PriceCheck " : " StockTake ";
    EXPECT_TRUE(fTransferPDTFile(modMain, mode));
    EXPECT_EQ(QString(readBytes(inApp("argv"))).split('\n', Qt::SkipEmptyParts),
              QStringList(c.expected).replaceInStrings("%T", shop.folder()));
    EXPECT_EQ(prompts.shown,
              QStringList{"Please put BHT 8000 into" + mode + "download mode and plug cable in !!"});
    EXPECT_EQ(modMain.sCommPort, c.comm1 ? "1" : "2");
    EXPECT_EQ(settings(), "COMPORT=" + modMain.sCommPort + "\r\nDESPATCHPATH=" + menu.path + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    PortsAndFolders, CommandLineTest,
    testing::ValuesIn(std::vector<CommandCase>{
        {true, true, "Shop", {"COM1:9600,n,8,1", "n", "D%T/Shop/rmItems.dat", "/f5,15,40,9,5"}},
        {true, false, "Shop", {"COM2:9600,n,8,1", "n", "D%T/Shop/rmItems.dat", "/f5,15,40,9,5"}},
        {false, true, "Shop", {"COM1:9600,n,8,1", "n@", "%T/Shop/Stock.dat"}},
        {false, false, "Shop", {"COM2:9600,n,8,1", "n@", "%T/Shop/Stock.dat"}},
        // Nothing is quoted, so a folder with a blank reaches the utility in two pieces.
        {true, true, "My Shop", {"COM1:9600,n,8,1", "n", "D%T/My", "Shop/rmItems.dat", "/f5,15,40,9,5"}},
        {false, false, "My Shop", {"COM2:9600,n,8,1", "n@", "%T/My", "Shop/Stock.dat"}}}));

TEST_F(TransferTest, RemovesOnlyAnOrdinaryWritableOldDownloadWhenTicked) {
    const struct {
        const char* name;
        bool ticked, isFolder, readOnly, removed;
    } cases[] = {{"Stock.dat", true, false, true, false},  // first, while no path is recorded
                 {"Stock.dat", true, false, false, true},   {"Stock.dat", false, false, false, false},
                 {"Stock.dat", true, true, false, false},   {".Stock.dat", true, false, false, false},
                 {"rmitems.DAT", true, false, false, true},   // the item file, in any case
                 {"recent.mdb", true, false, false, false}};  // the shop database: never
    useFolder("Shop");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        const QString old = inApp(c.name);
        ASSERT_TRUE(c.isFolder ? QDir().mkpath(old) : QFile(old).open(QIODevice::WriteOnly));
        QFile::setPermissions(old, c.readOnly ? QFileDevice::ReadOwner : QFile(old).permissions());
        QFile::remove(inApp("argv"));
        menu.overwrite = c.ticked;
        menu.path = "  " + old + " ";  // trimmed for the deletion, kept for the rest
        EXPECT_EQ(fTransferPDTFile(modMain, " StockTake "), !c.readOnly);
        EXPECT_EQ(QFileInfo::exists(old), !c.removed);
        // A refused deletion stops before the utility runs and before the path is recorded.
        EXPECT_EQ(QFileInfo::exists(inApp("argv")), !c.readOnly);
        EXPECT_EQ(settings(), "COMPORT=1\r\n" + (c.readOnly ? "" : "DESPATCHPATH=" + menu.path + "\r\n"));
        EXPECT_EQ(prompts.shown.last(),
                  c.readOnly ? "Error during receiving PDT file= 75-Path/File access error"
                             : "Please put BHT 8000 into StockTake download mode and plug cable in !!");
        c.isFolder ? QDir(old).removeRecursively() : QFile::remove(old);
    }
}

}  // namespace
