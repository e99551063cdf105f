#include "startup/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <optional>

#include "fakeprogress.h"
#include "faultydevices.h"
#include "mocks.h"
#include "platform/connection.h"
#include "platform/odbcregistry.h"
#include "platform/stringtools.h"
#include "programfiles.h"
#include "scriptedprompts.h"
#include "startup/program.h"
#include "startup/settings.h"
#include "testshop.h"

namespace {

const QString kFile = "rmstockhand.config.ini";

TEST(DSNExists, MatchesTheTrimmedNameBeforeTheTabExactly) {
    for (const auto& [entries, found] : {std::pair<QStringList, bool>{{"MYOBRM\tSQLite3 ODBC Driver"}, true},
                                         {{"  MYOBRM   \tSQLite3 ODBC Driver"}, true},
                                         {{"myobrm\tSQLite3 ODBC Driver"}, false},
                                         {{"RM\tMYOBRM"}, false},
                                         {{"RM\tSQLite3", "MYOBRM\tSQLite3"}, true}}) {
        EXPECT_EQ(DSNExists("MYOBRM", TextArray(entries)), found) << entries.join('|').toStdString();
    }
}

// A private program folder, ODBC configuration and current directory; the shop data object is a
// strict mock, so that a call nobody expected fails the test.
class StartupTest : public testing::Test {
protected:
    // Runs one settings operation on one key and gives the value as the call left it.
    QString manage(const QString& operation, const QString& key, QString value = "unchanged") {
        ManageDefaults(program, "rmstockhand", operation, key, value);
        return value;
    }

    int run() {
        program.progress = &view;
        view.backColour = Qt::red;
        const ConnectionOpener opener = [this](const QString& connectionString, const QString& name) {
            opened << connectionString;
            return platform::openConnection(connectionString, name);
        };
        return runMain(program, opener, [this] {
            ++menuShows;
            checkpointAtShow = tools.lastCheckpoint();
        });
    }
    QString registeredDatabase(const QString& name) const {
        return QSettings(shop.odbcIni(), QSettings::IniFormat).value(name + "/Database").toString();
    }

    TestShop shop;
    ScriptedPrompts prompts;
    StringTools tools;
    testing::StrictMock<MockShopData> data;
    Program program{prompts, tools, data, shop.folder()};
    FakeProgress view;
    QStringList opened;
    int menuShows = 0;
    qint32 checkpointAtShow = 0;
};

struct StartupCase {
    const char* name;
    const char* chosen;             // the file dialog's answer; MYOBRM is registered when there is none
    std::optional<bool> connected;  // the shop data object's answer when it is prepared
    const char* shopDatabase;       // registered for MYOBRM afterwards
    QStringList opened;
};

class StartupPaths : public StartupTest, public testing::WithParamInterface<StartupCase> {};

TEST_P(StartupPaths, RegisterOpenAndPrepareWhatTheUserChoseBeforeTheMenu) {
    const StartupCase& c = GetParam();
    for (const char* shopFile : {"recent.mdb", "shop.mdb", "other.mdb"}) {
        writeBytes(shopFile, "");  // an empty file is an empty database
    }
    if (c.chosen) {
        prompts.chooseNextFile(c.chosen);
    } else {
        ASSERT_TRUE(platform::registerDataSource("MYOBRM", platform::fileDataSource("recent.mdb")));
        ASSERT_TRUE(platform::registerDataSource("RM", platform::fileDataSource("other.mdb")));
    }
    if (c.connected) {
        EXPECT_CALL(data, SetAppPath(shop.folder())).WillOnce([this] {
            EXPECT_EQ(tools.lastCheckpoint(), 1) << "prepared before the first checkpoint";
        });
        EXPECT_CALL(data, IsConnected()).WillOnce(testing::Return(*c.connected));
        EXPECT_CALL(data, Connect()).Times(*c.connected ? 0 : 1);
    }

    EXPECT_EQ(run(), 0);

    const QStringList firstRun{
        "This is the first time you have tried to use RM Stockhand, therefore you must select your "
        "RetailManager database. Please select your MYOB RetailManager recent.mdb"};
    EXPECT_EQ(prompts.shown, c.chosen ? firstRun : QStringList());
    EXPECT_EQ(prompts.fileDialogs,
              c.chosen ? QStringList{"Open recent.mdb from...|recent.mdb|*.mdb"} : QStringList());
    EXPECT_EQ(registeredDatabase("MYOBRM"), QString(c.shopDatabase));
    // A missing RM is registered in the program's folder without asking.
    EXPECT_EQ(registeredDatabase("RM"), c.chosen ? shop.folder() + "/RM.mdb" : "other.mdb");
    EXPECT_EQ(opened, c.opened);
    EXPECT_EQ(menuShows, 1);
    EXPECT_EQ(checkpointAtShow, 2);
    EXPECT_EQ(view.backColour, FakeProgress::idleColour());
    EXPECT_TRUE(QRegularExpression("^v\\d+\\.\\d+\\.\\d+$").match(program.modMain.sVersion).hasMatch());
}

INSTANTIATE_TEST_SUITE_P(
    Start, StartupPaths,
    testing::Values(StartupCase{"Registered", nullptr, true, "recent.mdb", {"dsn=MYOBRM", "dsn=RM"}},
                    StartupCase{"FirstRun", "shop.mdb", false, "shop.mdb", {"dsn=MYOBRM", "dsn=RM"}},
                    StartupCase{"FirstRunCancelled", "recent.mdb", std::nullopt, "", {"dsn=RM"}}),
    [](const testing::TestParamInfo<StartupCase>& info) { return std::string(info.param.name); });

TEST_F(StartupTest, ADatabaseThatCannotBeOpenedEndsTheProgramBeforeTheMenu) {
    ASSERT_TRUE(platform::registerDataSource("MYOBRM", platform::fileDataSource("gone/recent.mdb")));
    EXPECT_NE(run(), 0);
    EXPECT_EQ(menuShows, 0);
    EXPECT_EQ(opened, QStringList{"dsn=MYOBRM"});
    ASSERT_EQ(prompts.critical.size(), 1);
    // The number start-up gives its errors, then the same words the batch uses.
    EXPECT_TRUE(prompts.critical[0].startsWith(
        "Run-time error '-2147467259':\n\nCannot open the shop database \"MYOBRM\": the database file is not "
        "there, or cannot be read ("))
        << prompts.critical[0].toStdString();
}

// The settings file.

TEST_F(StartupTest, SettingsGetThenPutFollowTheFileRules) {
    // The file before (none when null), a GET and what it gives, a PUT and the file after it.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*> cases[] = {
        {nullptr, "COMPORT", "", "COMPORT", "2", "COMPORT=2\r\n"},
        {"COMPORT = 2 \r\n", "COMPORT", "2", "DESPATCHPATH", "/x", "COMPORT=2\r\nDESPATCHPATH=/x\r\n"},
        {"COMPORT=\t1\r\n", "COMPORT", "\t1", "COMPORT", "1", "COMPORT=1\r\n"},  // a tab is no blank
        {"comport=1\r\n", "COMPORT", "", "COMPORT", "2", "comport=1\r\nCOMPORT=2\r\n"},
        {"COMPORT=1\r\nCOMPORT=2\r\n", "COMPORT", "1", "COMPORT", "3", "COMPORT=3\r\nCOMPORT=3\r\n"},
        {"DESPATCHPATH=/a=b\r\n", "DESPATCHPATH", "/a", "COMPORT", "1", "DESPATCHPATH=/a\r\nCOMPORT=1\r\n"},
        {"junk\r\n\r\nCOMPORT=1\r\n", "COMPORT", "1", "COMPORT", "2", "COMPORT=2\r\n"},
        {"COMPORT=1\rDESPATCHPATH=/x", "DESPATCHPATH", "/x", "COMPORT", "2",
         "COMPORT=2\r\nDESPATCHPATH=/x\r\n"},
        {"COMPORT=1\nDESPATCHPATH=/x\n", "DESPATCHPATH", "", "COMPORT", "2", "COMPORT=2\r\n"},
    };
    for (const auto& [before, getKey, got, putKey, putValue, after] : cases) {
        SCOPED_TRACE(before ? before : "no file");
        QFile::remove(kFile);
        if (before) {
            writeBytes(kFile, before);
        }
        EXPECT_EQ(manage("GET", getKey), QString(got));
        manage("PUT", putKey, putValue);
        EXPECT_EQ(readBytes(kFile), QByteArray(after));
    }
    // The operations are GET and PUT in capitals, and no others.
    manage("put", "COMPORT", "3");
    EXPECT_EQ(manage("get", "COMPORT", "3"), "3");
    EXPECT_EQ(readBytes(kFile), QByteArray("COMPORT=2\r\n"));
    EXPECT_EQ(prompts.shown, QStringList(2, "Invalid type for manage defaults"));
}

// A settings file that is a pipe is refused at once rather than waited on; one far larger than
// settings are is refused rather than read whole.
TEST_F(StartupTest, SettingsThatAreNoPlainFileOrFarTooLargeAreRefused) {
    ASSERT_EQ(mkfifo(QFile::encodeName(kFile).constData(), 0600), 0);
    EXPECT_EQ(manage("GET", "COMPORT"), "");
    ASSERT_TRUE(QFile::remove(kFile));
    writeBytes(kFile, "COMPORT=2\r\n" + QByteArray(100 * 1024, 'x'));
    EXPECT_EQ(manage("GET", "COMPORT"), "");
    EXPECT_EQ(prompts.shown, QStringList({"Error in fGetConfig = 75-Path/File access error",
                                          "Error in fGetConfig = 7-Out of memory"}));
}

// A disk that fills part of the way through the file, or that is full already.
TEST_F(StartupTest, ASettingsWriteThatFailsHalfWayLeavesTheOldFileWhole) {
    writeBytes(kFile, "COMPORT=1\r\nDESPATCHPATH=/short\r\n");
    for (const qint64 room : {5, 0}) {
        program.files = faultyDevices({room});
        manage("PUT", "COMPORT", "2");
    }
    EXPECT_EQ(readBytes(kFile), QByteArray("COMPORT=1\r\nDESPATCHPATH=/short\r\n"));
    EXPECT_EQ(prompts.shown, QStringList(2, "Error in putkey=61-Disk full"));
    EXPECT_EQ(QDir().entryList({"rmstockhand*"}, QDir::Files), QStringList{kFile});
}

}  // namespace
