#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include "fakeprogress.h"
#include "mocks.h"
#include "platform/stringtools.h"
#include "programfiles.h"
#include "scanner/transferpdtfile.h"
#include "scriptedprompts.h"
#include "startup/program.h"
#include "testshop.h"

namespace {

// A menu whose event delivery really delivers, as the form's does.
class LiveMenuView : public FakeProgress {
public:
    void yield() override {
        FakeProgress::yield();
        QCoreApplication::processEvents();
    }
};

class TransferTest : public testing::Test {
protected:
    TransferTest() : program(prompts, tools, data, shop.folder()) { program.progress = &menu; }

    // An installed program: its files in the folder `name`, its helpers in "bin" beside it, with a
    // stand-in utility that writes its arguments to "argv" in the folder it runs in.
    void useFolder(const QString& name) {
        program.appPath = shop.folder() + '/' + name;
        program.helperPath = shop.folder() + "/bin";
        ASSERT_TRUE(QDir().mkpath(program.appPath) && QDir().mkpath(program.helperPath));
        writeProgram("Tsr-tu3a.exe", "printf '%s\\n' \"$@\" > argv");
    }
    // Writes a helper program into the folder helpers are run from.
    void writeProgram(const QString& name, const QByteArray& script,
                      QFileDevice::Permissions run = QFileDevice::ExeOwner) {
        const QString path = inHelpers(name);
        writeBytes(path, "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(path, QFileDevice::ReadOwner | run);
    }
    QString inApp(const QString& name) const { return program.appPath + '/' + name; }
    QString inHelpers(const QString& name) const { return program.helperPath + '/' + name; }
    QString settings() const { return QString::fromLocal8Bit(readBytes(program.exeName + ".config.ini")); }

    TestShop shop;
    ScriptedPrompts prompts;
    StringTools tools;
    MockShopData data;
    LiveMenuView menu;
    Program program;
    // A receive on COM1, with the overwrite box ticked, into a path no receive has set yet.
    TransferRequest request{false, "Not Chosen", {"1", true}};
};

// A utility that is not there, or cannot be run, is reported and nothing is waited for; one that
// runs is waited for to its end, whatever its exit code, while the menu stays live.
TEST_F(TransferTest, WaitsForTheUtilityToEndOrReportsWhyItCannotStart) {
    useFolder("Shop");
    QFile::remove(inHelpers("Tsr-tu3a.exe"));
    EXPECT_FALSE(fTransferPDTFile(program, " StockTake ", request));
    writeProgram("Tsr-tu3a.exe", "exit 0", {});
    EXPECT_FALSE(fTransferPDTFile(program, " StockTake ", request));
    EXPECT_EQ(prompts.shown.filter("Error"),
              QStringList({"Error in Shell=53-File not found", "Error in Shell=70-Permission denied"}));
    EXPECT_EQ(menu.yields, 0);

    writeProgram("Tsr-tu3a.exe", "sleep 0.4; echo done > end; exit 3");
    QObject context;
    bool busyWhenTimerFired = false;
    QTimer::singleShot(100, &context, [&] { busyWhenTimerFired = menu.screenBusyPointer; });
    EXPECT_TRUE(fTransferPDTFile(program, " StockTake ", request));
    EXPECT_EQ(readBytes(inHelpers("end")), "done\n");  // waited for, in its own folder
    EXPECT_TRUE(busyWhenTimerFired);
    EXPECT_FALSE(menu.screenBusyPointer);
    EXPECT_GT(menu.yields, 3);
}

// The utility runs from the helpers' folder with an unquoted command line: the port the menu
// picked, and the program's item file to send or the download path to receive into.
TEST_F(TransferTest, RunsTheUtilityWithTheUnquotedCommandLine) {
    const struct {
        const char* name;
        bool send, comm1;
        const char* folder;
        QStringList expected;  // %T is the test's folder
    } cases[] = {
        // clang-format off
        {"SendOnCom1", true, true, "Shop", {"COM1:9600,n,8,1", "n", "D%T/Shop/rmItems.dat", "/f5,15,40,9,5"}},
        {"ReceiveOnCom2", false, false, "Shop", {"COM2:9600,n,8,1", "n@", "%T/Shop/Stock.dat"}},
        // Nothing is quoted, so a folder with a blank reaches the utility in two pieces.
        {"SendFromAFolderWithABlank", true, false, "My Shop",
         {"COM2:9600,n,8,1", "n", "D%T/My", "Shop/rmItems.dat", "/f5,15,40,9,5"}},
        {"ReceiveIntoAFolderWithABlank", false, true, "My Shop", {"COM1:9600,n,8,1", "n@", "%T/My", "Shop/Stock.dat"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useFolder(c.folder);
        const QString port = c.comm1 ? "1" : "2";
        request.port.digit = port;
        // A send before any receive records "Not Chosen".
        request.downloadPath = c.send ? request.downloadPath : inApp("Stock.dat");
        request.send = c.send;
        const QString mode = c.send ? " PriceCheck " : " StockTake ";
        EXPECT_TRUE(fTransferPDTFile(program, mode, request));
        EXPECT_EQ(QString(readBytes(inHelpers("argv"))).split('\n', Qt::SkipEmptyParts),
                  QStringList(c.expected).replaceInStrings("%T", shop.folder()));
        EXPECT_EQ(prompts.shown.last(),
                  "Please put BHT 8000 into" + mode + "download mode and plug cable in !!");
        EXPECT_EQ(program.modMain.sCommPort, port);
        EXPECT_EQ(settings(), "COMPORT=" + port + "\r\nDESPATCHPATH=" + request.downloadPath + "\r\n");
    }
}

TEST_F(TransferTest, RemovesOnlyAnOrdinaryWritableOldDownloadWhenTicked) {
    const struct {
        const char* name;
        const char* file;
        bool ticked, isFolder, readOnly, removed;
    } cases[] = {{"ReadOnlyBeforeAnyPathIsRecorded", "Stock.dat", true, false, true, false},
                 {"Ticked", "Stock.dat", true, false, false, true},
                 {"NotTicked", "Stock.dat", false, false, false, false},
                 {"AFolder", "Stock.dat", true, true, false, false},
                 {"Hidden", ".Stock.dat", true, false, false, false},
                 {"TheItemFileInAnyCase", "rmitems.DAT", true, false, false, true},
                 {"TheShopDatabaseNever", "recent.mdb", true, false, false, false}};
    useFolder("Shop");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString old = inApp(c.file);
        ASSERT_TRUE(c.isFolder ? QDir().mkpath(old) : QFile(old).open(QIODevice::WriteOnly));
        QFile::setPermissions(old, c.readOnly ? QFileDevice::ReadOwner : QFile(old).permissions());
        QFile::remove(inHelpers("argv"));
        request.port.overwrite = c.ticked;
        request.downloadPath = "  " + old + " ";  // trimmed for the deletion, kept for the rest
        EXPECT_EQ(fTransferPDTFile(program, " StockTake ", request), !c.readOnly);
        EXPECT_EQ(QFileInfo::exists(old), !c.removed);
        // A refused deletion stops before the utility runs and before the path is recorded.
        EXPECT_EQ(QFileInfo::exists(inHelpers("argv")), !c.readOnly);
        EXPECT_EQ(settings(),
                  "COMPORT=1\r\n" + (c.readOnly ? "" : "DESPATCHPATH=" + request.downloadPath + "\r\n"));
        EXPECT_EQ(prompts.shown.last(),
                  c.readOnly ? "Error during receiving PDT file= 75-Path/File access error"
                             : "Please put BHT 8000 into StockTake download mode and plug cable in !!");
        c.isFolder ? QDir(old).removeRecursively() : QFile::remove(old);
    }
}

}  // namespace
