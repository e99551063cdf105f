#include "platform/recordset.h"

#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <limits>

#include "demoshop.h"
#include "platform/connection.h"
#include "platform/programerror.h"
#include "raised.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

const QString kConnection = QStringLiteral("recordset test");
// More than two blocks of rows.
constexpr int kItems = 600;
// Long enough to come in pieces, with a character of two UTF-16 units where the first piece ends.
const QString kLongText = QString(1022, u'a') + QStringLiteral("😀é") + QString(3000, u'z');

// A registered shop holding a table of awkward values: a row of each kind and a row of nulls.
class RecordsetTest : public testing::Test {
protected:
    RecordsetTest() {
        testShop_.registerDemoShop(kItems);
        ShopRows db;
        const QString bytes = testEngine() == TestEngine::Sqlite ? "blob" : "bytea";
        EXPECT_EQ(
            db.exec("create table oddities (id integer primary key, whole integer, amount double precision, "
                    "words varchar(20), long_text text, bytes " +
                    bytes + ")"),
            "");
        QSqlQuery insert(db.connection());
        insert.prepare("insert into oddities values (1, -42, 2.5, ?, ?, ?)");
        for (const QVariant& value : {QVariant("Crème brûlée"), QVariant(kLongText), QVariant(kBytes)}) {
            insert.addBindValue(value);
        }
        EXPECT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
        EXPECT_EQ(db.exec("insert into oddities (id) values (2)"), "");
        connection_ = platform::openConnection(QStringLiteral("dsn=MYOBRM"), kConnection);
    }
    ~RecordsetTest() override {
        connection_ = QSqlDatabase();
        platform::closeConnection(kConnection);
    }

    const QByteArray kBytes{"\x00\xff\x10", 3};
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
    EXPECT_EQ(rows.field(QStringLiteral("long_text")).toString(), kLongText);
    EXPECT_EQ(rows.field(QStringLiteral("bytes")).toByteArray(), kBytes);

    rows.moveNext();
    ASSERT_FALSE(rows.eof());
    for (const char* name : {"whole", "amount", "words", "long_text", "bytes"}) {
        EXPECT_TRUE(rows.field(QString::fromLatin1(name)).isNull()) << name;
    }
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
}

// A reader that names the columns it will read gets those, and the others are as good as absent.
TEST_F(RecordsetTest, FetchesOnlyTheColumnsTheReaderNames) {
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from oddities order by id"), connection_,
              {QStringLiteral("id"), QStringLiteral("WORDS"), QStringLiteral("whole")});
    EXPECT_EQ(rows.field(QStringLiteral("words")).toString(), QStringLiteral("Crème brûlée"));
    EXPECT_EQ(rows.wholeAt(rows.columnOf(QStringLiteral("whole"))), -42);
    EXPECT_FALSE(rows.hasField(QStringLiteral("amount")));
    EXPECT_EQ(raised([&] { rows.field(QStringLiteral("long_text")); }).number(), errnum::ItemNotFound);
    rows.moveNext();
    EXPECT_EQ(rows.field(QStringLiteral("id")).toInt(), 2);
    EXPECT_TRUE(rows.field(QStringLiteral("words")).isNull());
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
    EXPECT_TRUE(failed.description().contains(QStringLiteral("nowhere")))
        << failed.description().toStdString();
    EXPECT_TRUE(rows.eof());
}

// A result of numbers and short texts, the stock table's kind, comes a block of rows at a time:
// every row arrives in order across the blocks, its nulls as nulls, its texts whole.
TEST_F(RecordsetTest, ReadsAResultOfNumbersAndShortTextsWholeAcrossBlocks) {
    ShopRows db;
    ASSERT_EQ(db.exec("create table plain (id integer, code varchar(10), amount double precision)"), "");
    ASSERT_EQ(db.exec("insert into plain select stock_id, case when stock_id % 7 = 0 then null else "
                      "substr(BarCode, 1, 10) end, case when stock_id % 5 = 0 then null else Price end "
                      "from stock"),
              "");
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from plain order by id"), connection_);
    int count = 0;
    for (; !rows.eof(); rows.moveNext()) {
        const int id = ++count;
        ASSERT_EQ(rows.field(QStringLiteral("id")).toInt(), id);
        const QVariant code = rows.field(QStringLiteral("code"));
        EXPECT_EQ(code.isNull() ? QString("NULL") : code.toString(),
                  id % 7 == 0 ? QString("NULL") : QString::fromStdString(demoshop::demoBarcode(id)).left(10))
            << id;
        const QVariant amount = rows.field(QStringLiteral("AMOUNT"));
        EXPECT_EQ(amount.isNull() ? -1 : amount.toDouble(), id % 5 == 0 ? -1 : id % 100 + 0.95) << id;
    }
    EXPECT_EQ(count, kItems);
}

// Each row of a table's columns "whole" and "amount", read by name and by position.
struct Numbers {
    qint64 whole;
    double amount;
};

void expectNumbers(const QString& table, const QSqlDatabase& connection, const QList<Numbers>& expected) {
    platform::Recordset rows;
    rows.open("select * from " + table + " order by id", connection);
    for (const Numbers& row : expected) {
        ASSERT_FALSE(rows.eof());
        EXPECT_EQ(rows.field(QStringLiteral("whole")).toLongLong(), row.whole);
        EXPECT_EQ(rows.wholeAt(rows.columnOf(QStringLiteral("whole"))), row.whole);
        EXPECT_EQ(rows.field(QStringLiteral("amount")).toDouble(), row.amount);
        EXPECT_EQ(rows.numberAt(rows.columnOf(QStringLiteral("amount"))), row.amount);
        rows.moveNext();
    }
    EXPECT_TRUE(rows.eof());
}

// Each number reads as the value it was stored as, the plain forms the engines write most ("-2.675",
// "12") as surely as the rest: fifteen digits and more, exponents, the extremes.
TEST_F(RecordsetTest, ReadsEachNumberAsTheValueItWasStoredAs) {
    const QList<Numbers> stored{{0, 0.1},
                                {-1, -2.675},
                                {12, 1234567.89},
                                {-9007199254740993, 99999.95},
                                {std::numeric_limits<qint64>::max(), 123456789012345},
                                {std::numeric_limits<qint64>::min(), 1e-7},
                                {100000, -1e20},
                                {999999999999999, -0.5},
                                {-1000000000000000, 5e-324}};
    ShopRows db;
    ASSERT_EQ(db.exec("create table numbers (id integer, amount double precision, whole bigint)"), "");
    QSqlQuery insert(db.connection());
    insert.prepare("insert into numbers values (?, ?, ?)");
    for (int id = 0; id < stored.size(); ++id) {
        for (const QVariant& value :
             {QVariant(id), QVariant(stored[id].amount), QVariant(stored[id].whole)}) {
            insert.addBindValue(value);
        }
        ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
    }
    expectNumbers("numbers", connection_, stored);
}

// A file's engine keeps a text longer than its column declares: such a text is refused, never cut.
TEST_F(RecordsetTest, RefusesATextLongerThanItsColumnCanHold) {
    if (testEngine() != TestEngine::Sqlite) {
        GTEST_SKIP() << "a server holds a text to its column's length";
    }
    ShopRows db;
    ASSERT_EQ(db.exec("create table short (id integer, code varchar(10))"), "");
    ASSERT_EQ(db.exec("insert into short values (1, ?)", QString(255, u'x')), "");
    ASSERT_EQ(db.exec("insert into short values (2, ?)", QString(256, u'y')), "");
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from short order by id"), connection_);
    EXPECT_EQ(rows.field(QStringLiteral("code")).toString(), QString(255, u'x'));  // the most a text can hold
    rows.moveNext();
    const ProgramError error = raised([&] { rows.field(QStringLiteral("code")); });
    EXPECT_EQ(error.number(), errnum::DatabaseError);
    EXPECT_EQ(error.description(), "A value of the column code is longer than 255 characters");
}

// A file's engine keeps whatever text a row gives a number column. Such a text reads as the number
// it begins with, 0 when it begins with none, as the drivers read it: one odd value never stops a
// read of the whole table. By name and by position alike.
TEST_F(RecordsetTest, ReadsATextInANumberColumnAsTheNumberItBeginsWith) {
    if (testEngine() != TestEngine::Sqlite) {
        GTEST_SKIP() << "a server holds only numbers in a number column";
    }
    ShopRows db;
    ASSERT_EQ(db.exec("create table loose (id integer, whole integer, amount double precision)"), "");
    ASSERT_EQ(
        db.exec("insert into loose values (1, '12abc', '3x'), (2, 'abc', 'abc'), (3, ' -7', '+2.5e1 z'), "
                "(4, '9999999999999999999x', '1e999'), (5, 8, 0.125)"),
        "");
    expectNumbers("loose", connection_,
                  {{12, 3}, {0, 0}, {-7, 25}, {std::numeric_limits<qint64>::max(), INFINITY}, {8, 0.125}});
}

}  // namespace
