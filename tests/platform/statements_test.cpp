#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <limits>

#include "demoshop.h"
#include "platform/connection.h"
#include "platform/preparedstatement.h"
#include "platform/programerror.h"
#include "platform/recordset.h"
#include "raised.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

const QString kConnection = QStringLiteral("statements test");
// More than two blocks of rows.
constexpr int kItems = 600;
// Long enough to come in pieces, with a character of two UTF-16 units where the first piece ends.
const QString kLongText = QString(1022, u'a') + QStringLiteral("😀é") + QString(3000, u'z');
const QByteArray kBytes{"\x00\xff\x10", 3};

// A registered demo shop, a table of awkward values (a row of each kind and a row of nulls), and
// a program connection to it.
class StatementsTest : public testing::Test {
protected:
    StatementsTest() {
        testShop_.registerDemoShop(kItems);
        const QString bytes = testEngine() == TestEngine::Sqlite ? "blob" : "bytea";
        EXPECT_EQ(
            db_.exec("create table oddities (id integer primary key, whole integer, amount double precision, "
                     "words varchar(20), long_text text, bytes " +
                     bytes + ")"),
            "");
        QSqlQuery insert(db_.connection());
        insert.prepare("insert into oddities values (1, -42, 2.5, ?, ?, ?)");
        for (const QVariant& value : {QVariant("Crème brûlée"), QVariant(kLongText), QVariant(kBytes)}) {
            insert.addBindValue(value);
        }
        EXPECT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
        EXPECT_EQ(db_.exec("insert into oddities (id) values (2)"), "");
        connection_ = platform::openConnection(QStringLiteral("dsn=MYOBRM"), kConnection);
    }
    ~StatementsTest() override {
        connection_ = QSqlDatabase();
        platform::closeConnection(kConnection);
    }
    QVariant field(const platform::Recordset& rows, const char* name) {
        return rows.field(QString::fromLatin1(name));
    }

    TestShop testShop_;
    ShopRows db_;
    QSqlDatabase connection_;
};

// Values by name in any case, out of column order, a long text in pieces, nulls as nulls; a reader
// that names its columns gets only those; the end and a missing column raise the program's error.
TEST_F(StatementsTest, ARecordsetReadsEachKindOfValueByName) {
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from oddities order by id"), connection_);
    EXPECT_EQ(field(rows, "WORDS").toString(), QStringLiteral("Crème brûlée"));
    EXPECT_EQ(field(rows, "whole").toInt(), -42);
    EXPECT_EQ(field(rows, "Amount").toDouble(), 2.5);
    EXPECT_EQ(field(rows, "long_text").toString(), kLongText);
    EXPECT_EQ(field(rows, "bytes").toByteArray(), kBytes);
    EXPECT_EQ(raised([&] { field(rows, "colour"); }).number(), errnum::ItemNotFound);
    rows.moveNext();
    for (const char* name : {"whole", "amount", "words", "long_text", "bytes"}) {
        EXPECT_TRUE(field(rows, name).isNull()) << name;
    }
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
    EXPECT_EQ(raised([&] { field(rows, "id"); }).number(), errnum::ItemNotFound);

    rows.open(QStringLiteral("select * from oddities order by id"), connection_,
              {QStringLiteral("id"), QStringLiteral("WORDS"), QStringLiteral("whole")});
    EXPECT_EQ(field(rows, "words").toString(), QStringLiteral("Crème brûlée"));
    EXPECT_EQ(rows.wholeAt(rows.columnOf(QStringLiteral("whole"))), -42);
    EXPECT_EQ(raised([&] { field(rows, "long_text"); }).number(), errnum::ItemNotFound);

    rows.open(QStringLiteral("select * from oddities where id = 3"), connection_);
    EXPECT_TRUE(rows.eof());
    const ProgramError failed =
        raised([&] { rows.open(QStringLiteral("select * from nowhere"), connection_); });
    EXPECT_EQ(failed.number(), errnum::DatabaseError);
    EXPECT_TRUE(failed.description().contains(QStringLiteral("nowhere")))
        << failed.description().toStdString();
    EXPECT_TRUE(rows.eof());
}

// A result of numbers and short texts, the stock table's kind, comes a block of rows at a time:
// every row arrives in order across the blocks, its nulls as nulls, its texts whole.
TEST_F(StatementsTest, ARecordsetReadsNumbersAndShortTextsWholeAcrossBlocks) {
    ASSERT_EQ(db_.exec("create table plain (id integer, code varchar(10), amount double precision)"), "");
    ASSERT_EQ(db_.exec("insert into plain select stock_id, case when stock_id % 7 = 0 then null else "
                       "substr(BarCode, 1, 10) end, case when stock_id % 5 = 0 then null else Price end "
                       "from stock"),
              "");
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from plain order by id"), connection_);
    int id = 0;
    for (; !rows.eof(); rows.moveNext()) {
        ASSERT_EQ(field(rows, "id").toInt(), ++id);
        const QVariant code = field(rows, "code");
        EXPECT_EQ(code.isNull() ? QString("NULL") : code.toString(),
                  id % 7 == 0 ? QString("NULL") : QString::fromStdString(demoshop::demoBarcode(id)).left(10))
            << id;
        const QVariant amount = field(rows, "AMOUNT");
        EXPECT_EQ(amount.isNull() ? -1 : amount.toDouble(), id % 5 == 0 ? -1 : id % 100 + 0.95) << id;
    }
    EXPECT_EQ(id, kItems);
}

// Each number reads as the value it was stored as, by name and by position: the plain forms the
// engines write most ("-2.675", "12"), fifteen digits and more, exponents, the extremes. A file's
// engine keeps whatever text a row gives a number column: it reads as the number it begins with, 0
// when it begins with none, so that one odd value never stops a read of the whole table.
TEST_F(StatementsTest, ARecordsetReadsEachNumberAsTheValueItWasStoredAs) {
    QList<std::pair<qint64, double>> expected{{0, 0.1},
                                              {-1, -2.675},
                                              {12, 1234567.89},
                                              {-9007199254740993, 99999.95},
                                              {std::numeric_limits<qint64>::max(), 123456789012345},
                                              {std::numeric_limits<qint64>::min(), 1e-7},
                                              {999999999999999, -1e20},
                                              {-1000000000000000, 5e-324}};
    ASSERT_EQ(db_.exec("create table numbers (id integer, amount double precision, whole bigint)"), "");
    QSqlQuery insert(db_.connection());
    insert.prepare("insert into numbers values (?, ?, ?)");
    for (int id = 0; id < expected.size(); ++id) {
        for (const QVariant& value :
             {QVariant(id), QVariant(expected[id].second), QVariant(expected[id].first)}) {
            insert.addBindValue(value);
        }
        ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
    }
    if (testEngine() == TestEngine::Sqlite) {
        ASSERT_EQ(db_.exec("insert into numbers values (20, '3x', '12abc'), (21, 'abc', 'abc'), "
                           "(22, '+2.5e1 z', ' -7'), (23, '1e999', '9999999999999999999x')"),
                  "");
        expected.append({{12, 3}, {0, 0}, {-7, 25}, {std::numeric_limits<qint64>::max(), INFINITY}});
    }
    platform::Recordset rows;
    rows.open(QStringLiteral("select * from numbers order by id"), connection_);
    for (const auto& [whole, amount] : expected) {
        ASSERT_FALSE(rows.eof());
        EXPECT_EQ(field(rows, "whole").toLongLong(), whole);
        EXPECT_EQ(rows.wholeAt(rows.columnOf(QStringLiteral("whole"))), whole);
        EXPECT_EQ(field(rows, "amount").toDouble(), amount);
        EXPECT_EQ(rows.numberAt(rows.columnOf(QStringLiteral("amount"))), amount);
        rows.moveNext();
    }
    EXPECT_TRUE(rows.eof());
}

// Each value arrives as its own type, a null of any type as null and an empty text as a text, run
// after run; a select gives its columns and its rows as often as it runs.
TEST_F(StatementsTest, APreparedStatementWritesAndReadsRunAfterRun) {
    ASSERT_EQ(db_.exec("create table kept (id integer primary key, whole integer, big bigint, "
                       "amount double precision, words varchar(20))"),
              "");
    platform::PreparedStatement insert(connection_);
    insert.prepare(QStringLiteral("insert into kept values (?, ?, ?, ?, ?)"));
    insert.execute({1, -42, qint64(1) << 40, 2.5, QStringLiteral("Smørrebrød €")});
    insert.execute({2, QVariant(QMetaType::fromType<qint32>()), QVariant(QMetaType::fromType<qint64>()),
                    QVariant(QMetaType::fromType<double>()), QString()});
    insert.execute({3, 20, qint64(0), 0.0, QStringLiteral("")});
    EXPECT_EQ(insert.rowsAffected(), 1);
    EXPECT_EQ(db_.rows("select * from kept order by id"),
              "1:-42:1099511627776:2.5:Smørrebrød €|2:NULL:NULL:NULL:NULL|3:20:0:0:");

    platform::PreparedStatement select(connection_);
    select.prepare(QStringLiteral("select id, words, amount from kept where big > ? order by id"));
    for (int run = 0; run < 3; ++run) {
        select.execute({0});
        ASSERT_TRUE(select.fetch());
        EXPECT_EQ(select.columnCount(), 3);
        EXPECT_EQ(select.columnName(1).toLower(), "words");
        EXPECT_EQ(std::tuple(select.value(0).toInt(), select.value(1).toString(), select.value(2).toDouble()),
                  std::tuple(1, QStringLiteral("Smørrebrød €"), 2.5));
        EXPECT_FALSE(select.fetch());
        select.closeRows();
    }
    platform::PreparedStatement update(connection_);
    update.prepare(QStringLiteral("update kept set words = ? where whole < ?"));
    update.execute({QStringLiteral("many"), 100});
    EXPECT_EQ(update.rowsAffected(), 2);
}

// A failure raises the driver's text and keeps what the driver said of it for the caller to judge;
// a statement that cannot be prepared is refused at once.
TEST_F(StatementsTest, APreparedStatementRaisesTheDriversTextAndKeepsItsDiagnosis) {
    platform::PreparedStatement insert(connection_);
    insert.prepare(QStringLiteral("insert into oddities (id) values (?)"));
    const ProgramError duplicate = raised([&] { insert.execute({1}); });
    EXPECT_EQ(duplicate.number(), errnum::DatabaseError);
    EXPECT_FALSE(duplicate.description().isEmpty());
    const platform::DriverDiagnosis failure = insert.lastFailure();
    EXPECT_TRUE(testEngine() == TestEngine::Sqlite ? (failure.nativeError & 0xff) == 19  // a constraint
                                                   : failure.state == "23505")
        << failure.state.toStdString() << ' ' << failure.nativeError;

    platform::PreparedStatement wrong(connection_);
    const ProgramError refused = raised([&] {
        wrong.prepare(QStringLiteral("select colour from nowhere where id = ?"));
        wrong.execute({1});
    });
    EXPECT_TRUE(refused.description().contains("nowhere")) << refused.description().toStdString();
}

}  // namespace
