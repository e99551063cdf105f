#include "platform/recordset.h"

#include <gtest/gtest.h>

#include "outside/programerror.h"
#include "platform/connection.h"
#include "raised.h"
#include "sqlitefile.h"
#include "testshop.h"

namespace {

const QString kConnection = QStringLiteral("recordset test");

// A registered shop holding a table of awkward values: a row of each kind and a row of nulls.
class RecordsetTest : public testing::Test {
protected:
    RecordsetTest() {
        SqliteFile file(testShop_.registerDemoShop(1).toStdString());
        file.exec(
            "create table oddities (id integer primary key, whole integer, amount real, "
            "words varchar(20), long_text text, bytes blob);"
            "insert into oddities values (1, -42, 2.5, 'Crème brûlée', "
            "  printf('%.*c', 1022, 'a') || 'é' || printf('%.*c', 3000, 'z'), x'00ff10');"
            "insert into oddities (id) values (2);");
        connection_ = platform::openConnection(QStringLiteral("dsn=MYOBRM"), kConnection);
    }
    ~RecordsetTest() override { platform::closeConnection(kConnection); }

    TestShop testShop_;
    QSqlDatabase connection_;
};

TEST_F(RecordsetTest, ReadsEachKindOfValueByNameInAnyCaseAndNullsAsNull) {
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from oddities order by id"), connection_);
    // Read out of column order, as a caller may, and with names in another case.
    EXPECT_EQ(rows.field(QStringLiteral("WORDS")).toString(), QStringLiteral("Crème brûlée"));
    EXPECT_EQ(rows.field(QStringLiteral("whole")).toInt(), -42);
    EXPECT_EQ(rows.field(QStringLiteral("Amount")).toDouble(), 2.5);
    // A long value comes in pieces; a character split between two pieces must survive.
    const QString longText = rows.field(QStringLiteral("long_text")).toString();
    EXPECT_EQ(longText, QString(1022, u'a') + QStringLiteral("é") + QString(3000, u'z'));
    EXPECT_EQ(rows.field(QStringLiteral("bytes")).toByteArray(), QByteArray("\x00\xff\x10", 3));

    rows.moveNext();
    ASSERT_FALSE(rows.eof());
    for (const char* name : {"whole", "amount", "words", "long_text", "bytes"}) {
        EXPECT_TRUE(rows.field(QString::fromLatin1(name)).isNull()) << name;
    }
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
}

TEST_F(RecordsetTest, EndsEmptyResultsAtOnceAndRaisesTheProgramsErrors) {
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from oddities where id = 3"), connection_);
    EXPECT_TRUE(rows.eof());  // an empty result is at its end from the start
    rows.open(QStringLiteral("select * from oddities where id = 1"), connection_);
    EXPECT_EQ(raised([&] { rows.field(QStringLiteral("colour")); }).number(), errnum::ItemNotFound);
    rows.moveNext();
    EXPECT_EQ(raised([&] { rows.field(QStringLiteral("id")); }).number(), errnum::ItemNotFound);

    const ProgramError failed =
        raised([&] { rows.open(QStringLiteral("select * from nowhere"), connection_); });
    EXPECT_EQ(failed.number(), errnum::DatabaseError);
    EXPECT_TRUE(failed.description().contains(QStringLiteral("no such table")))
        << failed.description().toStdString();
    EXPECT_TRUE(rows.eof());
}

}  // namespace
