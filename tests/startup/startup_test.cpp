#include <gtest/gtest.h>

#include <QSettings>

#include "fakemenuview.h"
#include "mocks.h"
#include "platform/connection.h"
#include "platform/odbcregistry.h"
#include "scriptedprompts.h"
#include "startup/modmain.h"
#include "startup/startup.h"
#include "stringtools/stringtools.h"
#include "testshop.h"

using testing::Invoke;
using testing::Return;
using testing::StrictMock;

namespace {

struct DsnCase {
    const char* name;
    QStringList entries;
    bool expected;
};

class DsnExistsRules : public testing::TestWithParam<DsnCase> {};

TEST_P(DsnExistsRules, MatchesTheNameBeforeTheTab) {
    EXPECT_EQ(DSNExists(QStringLiteral("MYOBRM"), TextArray(GetParam().entries)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    DataSourceList, DsnExistsRules,
    testing::Values(
        DsnCase{"Plain", {QStringLiteral("MYOBRM\tSQLite3 ODBC Driver")}, true},
        DsnCase{"BlanksBeforeTheTab", {QStringLiteral("  MYOBRM   \tSQLite3 ODBC Driver")}, true},
        DsnCase{"LowerCase", {QStringLiteral("myobrm\tSQLite3 ODBC Driver")}, false},
        DsnCase{"NameOnlyAfterTheTab", {QStringLiteral("RM\tMYOBRM")}, false},
        DsnCase{"LaterEntry", {QStringLiteral("RM\tSQLite3"), QStringLiteral("MYOBRM\tSQLite3")}, true},
        DsnCase{"NoEntries", {}, false}),
    [](const testing::TestParamInfo<DsnCase>& info) { return std::string(info.param.name); });

// The string tools with the data sources of the test's own ODBC configuration only, so that data
// sources registered on the machine do not leak into the tests.
class PrivateStringTools : public StringTools {
public:
    explicit PrivateStringTools(const TestShop& shop) : shop_(shop) {}

    QString ListDataSources() override {
        QStringList entries;
        for (const QString& name : QSettings(shop_.odbcIni(), QSettings::IniFormat).childGroups()) {
            entries << name + QStringLiteral("\tSQLite3");
        }
        return entries.join(QLatin1Char('|'));
    }

private:
    const TestShop& shop_;
};

class StartupTest : public testing::Test {
protected:
    TestShop shop;
    ScriptedPrompts prompts;
    PrivateStringTools tools{shop};
    StrictMock<MockShopData> data;
    ModMain modMain{prompts, tools, data, shop.folder()};
    FakeMenuView view;
    QStringList opened;
    int menuShows = 0;
    qint32 checkpointAtShow = 0;

    int run() {
        modMain.menu = &view;
        view.backColour = Qt::red;
        const ConnectionOpener opener = [this](const QString& connectionString, const QString& name) {
            opened << connectionString;
            return platform::openConnection(connectionString, name);
        };
        return runMain(modMain, opener, [this] {
            ++menuShows;
            checkpointAtShow = tools.lastCheckpoint();
        });
    }

    QString file(const QString& name) const { return shop.folder() + QLatin1Char('/') + name; }

    QString registeredDatabase(const QString& name) const {
        return QSettings(shop.odbcIni(), QSettings::IniFormat)
            .value(name + QStringLiteral("/Database"))
            .toString();
    }

    void expectShopPrepared(bool alreadyConnected) {
        EXPECT_CALL(data, SetAppPath(shop.folder())).WillOnce(Invoke([this] {
            EXPECT_EQ(tools.lastCheckpoint(), 1) << "prepared before the first checkpoint";
        }));
        EXPECT_CALL(data, IsConnected()).WillOnce(Return(alreadyConnected));
        EXPECT_CALL(data, Connect()).Times(alreadyConnected ? 0 : 1);
    }

    void expectMenuShownAfterCheckpoints() {
        EXPECT_EQ(menuShows, 1);
        EXPECT_EQ(checkpointAtShow, 2);
        EXPECT_EQ(view.backColour, FakeMenuView::idleColour());
    }
};

TEST_F(StartupTest, ARegisteredShopIsOpenedAndPreparedWithoutAsking) {
    ASSERT_TRUE(platform::registerDataSource(QStringLiteral("MYOBRM"), file(QStringLiteral("recent.mdb"))));
    ASSERT_TRUE(platform::registerDataSource(QStringLiteral("RM"), file(QStringLiteral("other.mdb"))));
    expectShopPrepared(true);

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(opened, (QStringList{QStringLiteral("dsn=MYOBRM"), QStringLiteral("dsn=RM")}));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(prompts.fileDialogs.isEmpty());
    EXPECT_EQ(registeredDatabase(QStringLiteral("RM")), file(QStringLiteral("other.mdb")));
    expectMenuShownAfterCheckpoints();
}

TEST_F(StartupTest, FirstRunRegistersTheChosenDatabaseAndTheRmDatabaseInTheProgramFolder) {
    prompts.chooseNextFile(file(QStringLiteral("shop.mdb")));
    expectShopPrepared(false);

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(prompts.shown,
              QStringList{QStringLiteral(
                  "This is the first time you have tried to use RM Stockhand, therefore you must "
                  "select your RetailManager database. Please select your MYOB RetailManager "
                  "recent.mdb")});
    EXPECT_EQ(prompts.fileDialogs, QStringList{QStringLiteral("Open recent.mdb from...|recent.mdb|*.mdb")});
    EXPECT_EQ(registeredDatabase(QStringLiteral("MYOBRM")), file(QStringLiteral("shop.mdb")));
    EXPECT_EQ(registeredDatabase(QStringLiteral("RM")), file(QStringLiteral("RM.mdb")));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("dsn=MYOBRM"), QStringLiteral("dsn=RM")}));
    expectMenuShownAfterCheckpoints();
}

TEST_F(StartupTest, ACancelledFirstRunGoesOnWithoutTheShopDatabase) {
    prompts.chooseNextFile(QStringLiteral("recent.mdb"));

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(registeredDatabase(QStringLiteral("MYOBRM")), QString());
    EXPECT_EQ(registeredDatabase(QStringLiteral("RM")), file(QStringLiteral("RM.mdb")));
    EXPECT_EQ(opened, QStringList{QStringLiteral("dsn=RM")});
    expectMenuShownAfterCheckpoints();
}

TEST_F(StartupTest, ADatabaseThatCannotBeOpenedEndsTheProgramBeforeTheMenu) {
    ASSERT_TRUE(
        platform::registerDataSource(QStringLiteral("MYOBRM"), file(QStringLiteral("gone/recent.mdb"))));

    EXPECT_NE(run(), 0);

    EXPECT_EQ(menuShows, 0);
    EXPECT_EQ(opened, QStringList{QStringLiteral("dsn=MYOBRM")});
    ASSERT_EQ(prompts.critical.size(), 1);
    EXPECT_TRUE(prompts.critical[0].startsWith(QStringLiteral("Run-time error '-2147467259':\n\n")))
        << prompts.critical[0].toStdString();
}

}  // namespace
