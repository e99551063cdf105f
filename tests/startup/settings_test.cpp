#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <optional>

#include "mocks.h"
#include "scriptedprompts.h"
#include "startup/modmain.h"
#include "startup/settings.h"
#include "stringtools/stringtools.h"
#include "testshop.h"

using testing::_;
using testing::Invoke;
using testing::NiceMock;
using testing::Throw;

namespace {

const QString kBase = QStringLiteral("rmstockhand");
const QString kFile = QStringLiteral("rmstockhand.config.ini");

void writeFile(const QByteArray& text) {
    QFile file(kFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray readFile() {
    QFile file(kFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

class SettingsTest : public testing::Test {
protected:
    TestShop shop;
    ScriptedPrompts prompts;
    StringTools tools;
    NiceMock<MockShopData> data;
    ModMain modMain{prompts, tools, data, shop.folder()};

    QString get(const QString& key) {
        QString value = QStringLiteral("unchanged");
        ManageDefaults(modMain, kBase, QStringLiteral("GET"), key, value);
        return value;
    }
    void put(const QString& key, QString value) {
        ManageDefaults(modMain, kBase, QStringLiteral("PUT"), key, value);
    }
};

struct SettingsCase {
    const char* name;
    std::optional<QByteArray> before;  // no file when empty
    const char* getKey;
    const char* expectedValue;
    const char* putKey;
    const char* putValue;
    QByteArray expectedAfterPut;
};

class SettingsRules : public SettingsTest, public testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsRules, GetThenPutFollowTheFileRules) {
    const SettingsCase& c = GetParam();
    if (c.before) {
        writeFile(*c.before);
    }
    EXPECT_EQ(get(QString::fromLatin1(c.getKey)), QString::fromLatin1(c.expectedValue));
    put(QString::fromLatin1(c.putKey), QString::fromLatin1(c.putValue));
    EXPECT_EQ(readFile(), c.expectedAfterPut);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsRules,
    testing::Values(SettingsCase{"NoFile", std::nullopt, "COMPORT", "", "COMPORT", "2", "COMPORT=2\r\n"},
                    SettingsCase{"BlanksAroundEquals", "COMPORT = 2 \r\n", "COMPORT", "2", "DESPATCHPATH",
                                 "/a/Stock.dat", "COMPORT=2\r\nDESPATCHPATH=/a/Stock.dat\r\n"},
                    SettingsCase{"TabsAreNotBlanks", "COMPORT=\t1\r\n", "COMPORT", "\t1", "COMPORT", "1",
                                 "COMPORT=1\r\n"},
                    SettingsCase{"LowerCaseKeyIsAnotherKey", "comport=1\r\n", "COMPORT", "", "COMPORT", "2",
                                 "comport=1\r\nCOMPORT=2\r\n"},
                    SettingsCase{"DuplicateKeyFirstReadBothWritten", "COMPORT=1\r\nCOMPORT=2\r\n", "COMPORT",
                                 "1", "COMPORT", "3", "COMPORT=3\r\nCOMPORT=3\r\n"},
                    SettingsCase{"ValueCutAtSecondEquals", "DESPATCHPATH=/a=b\r\n", "DESPATCHPATH", "/a",
                                 "COMPORT", "1", "DESPATCHPATH=/a\r\nCOMPORT=1\r\n"},
                    SettingsCase{"LineWithoutEqualsDropped", "junk\r\n\r\nCOMPORT=1\r\n", "COMPORT", "1",
                                 "COMPORT", "2", "COMPORT=2\r\n"},
                    SettingsCase{"CarriageReturnAloneEndsLine", "COMPORT=1\rDESPATCHPATH=/x", "DESPATCHPATH",
                                 "/x", "COMPORT", "2", "COMPORT=2\r\nDESPATCHPATH=/x\r\n"},
                    SettingsCase{"LineFeedAloneDoesNot", "COMPORT=1\nDESPATCHPATH=/x\n", "DESPATCHPATH", "",
                                 "COMPORT", "2", "COMPORT=2\r\n"}),
    [](const testing::TestParamInfo<SettingsCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, AnInvalidOperationIsReportedAndChangesNothing) {
    writeFile("COMPORT=1\r\n");
    QString value = QStringLiteral("2");
    ManageDefaults(modMain, kBase, QStringLiteral("put"), QStringLiteral("COMPORT"), value);
    ManageDefaults(modMain, kBase, QStringLiteral("get"), QStringLiteral("COMPORT"), value);
    EXPECT_EQ(prompts.shown, QStringList(2, QStringLiteral("Invalid type for manage defaults")));
    EXPECT_EQ(value, QStringLiteral("2"));
    EXPECT_EQ(readFile(), QByteArray("COMPORT=1\r\n"));
}

TEST_F(SettingsTest, AReadThatFailsKeepsTheEntriesBeforeTheFailingLine) {
    writeFile("COMPORT=1\r\nDESPATCHPATH=/x\r\n");
    NiceMock<MockStringTools> failing;
    ModMain failingMain(prompts, failing, data, shop.folder());
    EXPECT_CALL(failing, Split(_, QChar(u'=')))
        .WillOnce(Invoke(&tools, &StringTools::Split))
        .WillOnce(Throw(ProgramError(errnum::Overflow, QStringLiteral("Overflow"))));
    QString value;
    ManageDefaults(failingMain, kBase, QStringLiteral("GET"), QStringLiteral("COMPORT"), value);
    EXPECT_EQ(value, QStringLiteral("1"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Error in fGetConfig = 6-Overflow")});
}

TEST_F(SettingsTest, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
    const QByteArray old = "COMPORT=1\r\nDESPATCHPATH=/short\r\n";
    writeFile(old);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    put(QStringLiteral("DESPATCHPATH"), QString(200, QLatin1Char('p')));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(readFile(), old);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith(QStringLiteral("Error in putkey=57-")))
        << prompts.shown[0].toStdString();
    EXPECT_EQ(QDir(shop.folder()).entryList({QStringLiteral("rmstockhand*")}, QDir::Files),
              QStringList{kFile});
}

}  // namespace
