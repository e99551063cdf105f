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
        writeUtility("printf '%s\\n' \"$@\" > argv");
    }
    // Writes the utility into the folder helpers are run from.
    void writeUtility(const QByteArray& script, QFileDevice::Permissions run = QFileDevice::ExeOwner) {
        writeBytes(inHelpers("Tsr-tu3a.exe"), "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(inHelpers("Tsr-tu3a.exe"), QFileDevice::ReadOwner | run);
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

// A utility that cannot be run is reported and nothing is waited for; one that runs is waited for
// to its end, whatever its exit code, while the menu stays live.
TEST_F(TransferTest, WaitsForTheUtilityToEndOrReportsWhyItCannotStart) {
    useFolder("Shop");
    writeUtility("exit 0", {});
    EXPECT_FALSE(fTransferPDTFile(program, " StockTake ", request));
    EXPECT_EQ(prompts.shown.last(), "Error in Shell=70-Permission denied");
    EXPECT_EQ(menu.yields, 0);

    writeUtility("sleep 0.4; echo done > end; exit 3");
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
// picked, and the program's item file to send or the download path to receive into; a folder with a
// blank reaches it in two pieces.
TEST_F(TransferTest, RunsTheUtilityWithTheUnquotedCommandLine) {
    useFolder("My Shop");
    for (const bool send : {true, false}) {
        SCOPED_TRACE(send ? "send" : "receive");
        const QString port = send ? "2" : "1";
        request = {send, send ? "Not Chosen" : inApp("Stock.dat"), {port, true}};
        EXPECT_TRUE(fTransferPDTFile(program, send ? " PriceCheck " : " StockTake ", request));
        const QString dir = shop.folder() + "/My";
        const QStringList expected =
            send ? QStringList{"COM2:9600,n,8,1", "n", "D" + dir, "Shop/rmItems.dat", "/f5,15,40,9,5"}
                 : QStringList{"COM1:9600,n,8,1", "n@", dir, "Shop/Stock.dat"};
        EXPECT_EQ(QString(readBytes(inHelpers("argv"))).split('\n', Qt::SkipEmptyParts), expected);
        // A send before any receive records "Not Chosen".
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
