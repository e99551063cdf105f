#include "platform/preparedstatement.h"

#include <gtest/gtest.h>

#include "platform/connection.h"
#include "platform/programerror.h"
#include "raised.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

const QString kConnection = QStringLiteral("prepared statement test");

class PreparedStatementTest : public testing::Test {
protected:
    PreparedStatementTest() {
        testShop_.registerDemoShop(5);
        EXPECT_EQ(db_.exec("create table kept (id integer primary key, whole integer, big bigint, "
                           "amount double precision, words varchar(20))"),
                  "");
        connection_ = platform::openConnection(QStringLiteral("dsn=MYOBRM"), kConnection);
    }
    ~PreparedStatementTest() override {
        connection_ = QSqlDatabase();
        platform::closeConnection(kConnection);
    }

    TestShop testShop_;
    ShopRows db_;
    QSqlDatabase connection_;
};

// Each value arrives as its own type, a null of any type as null and an empty text as a text; the
// statement runs again and again with new values.
TEST_F(PreparedStatementTest, WritesEachValueAsItsOwnTypeRunAfterRun) {
    platform::PreparedStatement insert(connection_);
    insert.prepare(QStringLiteral("insert into kept values (?, ?, ?, ?, ?)"));
    const QVariant noWhole(QMetaType::fromType<qint32>());
    const QVariant noBig(QMetaType::fromType<qint64>());
    const QVariant noAmount(QMetaType::fromType<double>());
    insert.execute({1, -42, qint64(1) << 40, 2.5, QStringLiteral("Smørrebrød €")});
    insert.execute({2, noWhole, noBig, noAmount, QString()});
    insert.execute({3, 0, qint64(0), 0.0, QStringLiteral("")});
    EXPECT_EQ(insert.rowsAffected(), 1);
    EXPECT_EQ(db_.rows("select * from kept order by id"),
              "1:-42:1099511627776:2.5:Smørrebrød €|2:NULL:NULL:NULL:NULL|3:0:0:0:");
}

// A select gives its columns by name and its rows one after another, as often as it runs.
TEST_F(PreparedStatementTest, ReadsTheRowsOfEachRunAndCountsTheRowsChanged) {
    ASSERT_EQ(db_.exec("insert into kept values (1, 10, 100, 1.5, 'one'), (2, 20, 200, 2.5, 'two')"), "");
    platform::PreparedStatement select(connection_);
    select.prepare(QStringLiteral("select id, words, amount from kept where whole >= ? order by id"));
    for (int run = 0; run < 3; ++run) {
        select.execute({20});
        ASSERT_TRUE(select.fetch());
        EXPECT_EQ(select.columnCount(), 3);
        EXPECT_EQ(select.columnName(1).toLower(), "words");
        EXPECT_EQ(select.value(0).toInt(), 2);
        EXPECT_EQ(select.value(1).toString(), "two");
        EXPECT_EQ(select.value(2).toDouble(), 2.5);
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
TEST_F(PreparedStatementTest, RaisesTheDriversTextAndKeepsItsDiagnosis) {
    platform::PreparedStatement insert(connection_);
    insert.prepare(QStringLiteral("insert into kept (id) values (?)"));
    insert.execute({7});
    const ProgramError duplicate = raised([&] { insert.execute({7}); });
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
