#include "shopdata/sqlitetext.h"

#include <gtest/gtest.h>

#include "openedconnection.h"
#include "platform/connection.h"
#include "platform/programerror.h"
#include "platform/recordset.h"
#include "raised.h"
#include "shopdata/shopdatabase.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

const QString kWideConnection = QStringLiteral("wide text test");

// Bytes that a file's text may hold beyond well-formed UTF-8, each a rule of the driver's own.
const char* const kOddTexts[] = {
    "41e942",          // a lead without its continuation stands for itself
    "41c3",            // ... at the very end too
    "41f5808080ff42",  // F5 and above are dropped
    "41eda08042",      // a surrogate's three bytes read as that unit
    "41f490808042",    // a four-byte lead gives only its two low bits
    "41f48f9fa042",    // ... which can make a character of one unit
    "41f09f988042",    // a character beyond the first plane takes two units
    "41e080804242",    // a character 0 ends the text
    "41c2a042c28543",  // no-break space and a C1 control
};

// The demo shop's file, with a table of odd texts, read by the shop data object's connection
// (which fetches texts narrow) and by a plain one (which fetches them as UTF-16).
class SqliteTextTest : public testing::Test {
protected:
    void SetUp() override {
        if (testEngine() != TestEngine::Sqlite) {
            GTEST_SKIP() << "a server keeps its texts well formed and hands them over as UTF-16";
        }
        testShop_.registerDemoShop(10);
        narrow_ = connectionOpenedBy([this] { shop_.Connect(); });
        wide_ = platform::openConnection(QStringLiteral("dsn=MYOBRM"), kWideConnection);
    }
    void TearDown() override {
        wide_ = QSqlDatabase();
        platform::closeConnection(kWideConnection);
    }

    // Each row's text of the table "odd", read over a connection.
    static QStringList texts(const QSqlDatabase& connection) {
        platform::Recordset rows;
        rows.open(QStringLiteral("select * from odd order by id"), connection);
        QStringList texts;
        for (; !rows.eof(); rows.moveNext()) {
            texts.append(rows.textAt(rows.columnOf(QStringLiteral("words"))).toString());
        }
        return texts;
    }

    TestShop testShop_;
    ShopDatabase shop_;
    // The shop data object's connection.
    QSqlDatabase narrow_;
    QSqlDatabase wide_;
};

TEST_F(SqliteTextTest, ReadsEveryTextNarrowAsTheDriverHandsItOverAsUtf16) {
    ASSERT_NE(platform::narrowTextReader(narrow_), nullptr);
    ASSERT_EQ(platform::narrowTextReader(wide_), nullptr);
    QList<QByteArray> stored;
    for (const char* odd : kOddTexts) {
        stored.append(QByteArray::fromHex(odd));
    }
    // Every byte that cannot begin a character alone, followed by each kind of what may come next.
    for (int lead = 0x80; lead <= 0xff; ++lead) {
        for (const char* next : {"", "\x80", "\xbf\xbf", "\x90\x80\x80", "\x80\xc3\xa9", "A"}) {
            stored.append('A' + QByteArray(1, char(lead)) + next + 'B');
        }
    }
    QStringList values;
    for (qsizetype id = 0; id < stored.size(); ++id) {
        values.append(
            QStringLiteral("(%1, cast(x'%2' as text))").arg(id).arg(QLatin1String(stored[id].toHex())));
    }
    ShopRows db;
    ASSERT_EQ(db.exec("create table odd (id integer primary key, words varchar(40))"), "");
    ASSERT_EQ(db.exec("insert into odd values " + values.join(',')), "");

    const QStringList narrow = texts(narrow_);
    const QStringList wide = texts(wide_);
    ASSERT_EQ(narrow.size(), stored.size());
    for (qsizetype id = 0; id < narrow.size(); ++id) {
        EXPECT_EQ(narrow[id], wide[id]) << values[id].toStdString();
    }
    EXPECT_EQ(narrow[0], QStringLiteral("AéB"));
    EXPECT_EQ(narrow[6], QStringLiteral("A😀B"));
}

// A text is refused when it has more characters than its column's room, not more bytes: three
// bytes each, the room's worth is read whole; a character of two units counts two.
TEST_F(SqliteTextTest, RefusesATextNarrowByItsCharactersAsUtf16) {
    ShopRows db;
    ASSERT_EQ(db.exec("create table odd (id integer primary key, words varchar(10))"), "");
    for (const auto& [id, text] : {std::pair{1, QString(255, u'€')},
                                   {2, QString(256, u'€')},
                                   {3, QString(253, u'a') + QStringLiteral("😀")},
                                   {4, QString(254, u'a') + QStringLiteral("😀")}}) {
        ASSERT_EQ(db.exec(QStringLiteral("insert into odd values (%1, ?)").arg(id), text), "");
    }
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from odd order by id"), narrow_);
    const qsizetype words = rows.columnOf(QStringLiteral("words"));
    for (const QString& expected :
         {QString(255, u'€'), QString(), QString(253, u'a') + QStringLiteral("😀"), QString()}) {
        ASSERT_FALSE(rows.eof());
        if (expected.isEmpty()) {
            const ProgramError error = raised([&] { rows.textAt(words); });
            EXPECT_EQ(error.description(), "A value of the column words is longer than 255 characters");
        } else {
            EXPECT_EQ(rows.textAt(words), expected);
        }
        rows.moveNext();
    }
}

}  // namespace
