// The batch command line as a scheduler runs it: its exit status, the message lines on standard
// error and what lands in a demo shop.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "batch/batchoptions.h"
#include "testshop.h"

namespace {

struct OptionsCase {
    QStringList arguments;
    bool valid;
};

class BatchOptionsTest : public testing::TestWithParam<OptionsCase> {};

TEST_P(BatchOptionsTest, AcceptsOnlyTheCommandLinesItDocuments) {
    EXPECT_EQ(parseBatchOptions(GetParam().arguments).has_value(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, BatchOptionsTest,
    testing::Values(OptionsCase{{"import-stocktake", "Stock.dat", "--yes"}, true},
                    OptionsCase{{"export-items", "--send"}, true}, OptionsCase{{}, false},
                    OptionsCase{{"import-stocktake", "a", "b"}, false},
                    OptionsCase{{"import-orders", "Orders.dat", "--order-no", "5"}, false},
                    OptionsCase{{"import-goods", "Goods.dat", "--supplier", "two"}, false},
                    OptionsCase{{"import-goods", "Goods.dat", "--order-no"}, false}));

struct Result {
    int exitCode;
    QStringList messages;
    QByteArray output;
};

class BatchRunTest : public testing::Test {
protected:
    Result run(const QStringList& arguments) {
        QProcess batch;
        batch.start(QStringLiteral(RM_BIN_DIR "/rmstockhand-batch"), arguments);
        EXPECT_TRUE(batch.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(batch.readAllStandardError());
        return {batch.exitCode(), errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                batch.readAllStandardOutput()};
    }

    QString file(const char* name, const QByteArray& content) {
        const QString path = shop.folder() + QLatin1Char('/') + QLatin1String(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
        return path;
    }

    int rows(const QString& sql) {
        QProcess sqlite;
        sqlite.start(QStringLiteral("sqlite3"), {shop.folder() + QStringLiteral("/shop.mdb"), sql});
        sqlite.waitForFinished();
        return sqlite.readAllStandardOutput().trimmed().toInt();
    }

    TestShop shop;
    const QString warning = QStringLiteral(
        "You have scanned a barcode(s) that does not exist in RetailManager, refer to AuditFile for details");
};

TEST_F(BatchRunTest, WithoutTheShopDatabaseItSaysSoAndFails) {
    const Result result = run({"import-stocktake", file("Stock.dat", "NXSTV100\r\n")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.messages,
              QStringList{"You have not configured RM Stockhand correctly yet, please Exit and try again"});
}

TEST_F(BatchRunTest, AWrongCommandLineShowsTheUsage) {
    const Result result = run({"import-stocktake"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.messages.first().startsWith(QStringLiteral("usage: rmstockhand-batch")));
}

TEST_F(BatchRunTest, ImportsAStocktakeWithOnlyTheProgramsMessages) {
    shop.registerDemoShop(20);
    const Result result = run(
        {"import-stocktake", file("Stock.dat", "NXSTV100\r\n10,9310000000100,3\r\n11,NUXADEL,1\r\n57\r\n")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.messages,
              (QStringList{warning, "Error in fLoadPDTDetails_Error=9-Subscript out of range"}));
    EXPECT_TRUE(result.output.isEmpty());
    EXPECT_EQ(rows("select cast(sum(quantity) as integer) from stocktake_counts where stock_id = 10"), 36);
}

TEST_F(BatchRunTest, AnImportStoppedByAnErrorFails) {
    shop.registerDemoShop(20);
    const Result result =
        run({"import-stocktake", file("Stock.dat", "NXSTV100\r\n" + QByteArray(2 << 20, '7'))});
    EXPECT_EQ(result.exitCode, 1);
    ASSERT_EQ(result.messages.size(), 1);
    EXPECT_TRUE(result.messages.first().startsWith(QStringLiteral("Error in process despatch file = 75-")));
}

TEST_F(BatchRunTest, OrdersAndReceivedGoodsLandInTheShop) {
    shop.registerDemoShop(20);
    const int onHand = rows("select cast(QtyOnHand as integer) from stock where stock_id = 10");
    EXPECT_EQ(run({"import-orders", file("Orders.dat", "NXORV100\r\n10,9310000000100,2\r\n")}).exitCode, 0);
    EXPECT_EQ(rows("select cast(quantity as integer) from order_lines where stock_id = 10"), 24);

    EXPECT_EQ(run({"import-goods", file("Goods.dat", "NXGRV100\r\n10,9310000000100,0,102,3\r\n")}).exitCode,
              0);
    EXPECT_EQ(rows("select cast(quantity as integer) from goods_received where order_id = 102"), 36);
    EXPECT_EQ(rows("select cast(QtyOnHand as integer) from stock where stock_id = 10"), onHand + 36);
}

TEST_F(BatchRunTest, GoodsWithoutAnOrderNumberTakeTheOneGiven) {
    shop.registerDemoShop(20);
    const QString goods = file("Goods.dat", "NXGRV100\r\n5,9310000000056,0,,2\r\n6,9310000000063,0,0,4\r\n");
    EXPECT_EQ(
        run({"import-goods", goods, "--supplier", "2", "--order-no", "5678", "--apply-to-all"}).exitCode, 0);
    EXPECT_EQ(rows("select count(*) from goods_received where order_id = 5678 and supplier_id = 2"), 2);

    EXPECT_EQ(run({"import-goods", goods}).exitCode, 0);
    EXPECT_EQ(rows("select count(*) from goods_received where order_id = 0"), 2);
}

TEST_F(BatchRunTest, ExportsTheItemFileLikeTheButton) {
    shop.registerDemoShop(20);
    EXPECT_EQ(run({"export-items"}).exitCode, 0);
    QFile items(shop.folder() + QStringLiteral("/rmItems.dat"));
    ASSERT_TRUE(items.open(QIODevice::ReadOnly));
    EXPECT_EQ(items.size(), 20 * 76);
}

}  // namespace
