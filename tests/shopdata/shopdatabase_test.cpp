#include "shopdata/shopdatabase.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QSqlQuery>
#include <QTimeZone>
#include <atomic>
#include <barrier>
#include <optional>
#include <thread>

#include "openedconnection.h"
#include "platform/programerror.h"
#include "raised.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

// The time the shop data object of the tests is given: late on 31 March in a shop ten hours ahead
// of UTC, so still the morning of the 31st in UTC.
const QDateTime kShopTime(QDate(2026, 3, 31), QTime(22, 59, 58), QTimeZone(10 * 3600));

// A demo shop of 200 items registered as MYOBRM, the shop data object connected to it, and a
// connection of the test's own to see what was written.
class ShopDatabaseTest : public testing::Test {
protected:
    ShopDatabaseTest() {
        testShop.registerDemoShop();
        shop.Connect();
    }

    TestShop testShop;
    ShopDatabase shop{[] { return kShopTime; }};
    ShopRows db;
};

TEST_F(ShopDatabaseTest, LookupsGiveTheItemOrZeros) {
    // A carton of two and a half, and a price of an eighth, come back as they are.
    ASSERT_EQ(db.exec("update stock set QtyFactor = 2.5, Price = 0.125 where stock_id = 57"), "");
    for (const auto& [stockId, key, factor, price] :
         {std::tuple{57, 57, 2.5, 0.125}, {200, 200, 12.0, 0.95}, {0, 0, 0.0, 0.0}, {201, 0, 0.0, 0.0}}) {
        SCOPED_TRACE(stockId);
        qint32 itemKey = -1;
        double itemFactor = -1, lastField = -1, itemPrice = -1;
        shop.LookupStockItem(stockId, itemKey, itemFactor);
        shop.openStockRows()->LookupItemPrice(stockId, lastField, itemPrice);  // the rows stand on item 1
        EXPECT_EQ(itemKey, key);
        EXPECT_EQ(itemFactor, factor);
        EXPECT_EQ(lastField, factor);
        EXPECT_DOUBLE_EQ(itemPrice, price);
    }
    // A barcode matches its own item, or finds the item when none is given; blanks around it do not count.
    for (const auto& [key, barcode, matches, keyAfter, found] :
         {std::tuple{57, "9310000000575", true, 57, 57},
          {57, " 9310000000575 ", true, 57, 57},
          {57, "9310000000582", false, 57, 58},
          {0, "9310000000575", true, 57, 57},
          {0, "9310000000576", false, 0, 0},
          {0, "", false, 0, 0},
          {57, "", false, 57, 0}}) {
        SCOPED_TRACE(std::to_string(key) + " '" + barcode + "'");
        qint32 itemKey = key;
        EXPECT_EQ(shop.MatchItemBarcode(itemKey, barcode), matches);
        EXPECT_EQ(itemKey, keyAfter);
        EXPECT_EQ(shop.FindBarcode(barcode), found);
    }
}

TEST_F(ShopDatabaseTest, CountsAreRowsOfTheirOwnAndOrdersGoOntoTheSuppliersScannerOrder) {
    EXPECT_TRUE(shop.WriteStocktakeQty(57, 3, {}));
    EXPECT_TRUE(shop.WriteStocktakeQty(57, 4.5, {}));
    EXPECT_EQ(shop.GetNextOrderNo(), 1001);
    EXPECT_TRUE(shop.WriteOrderQty(57, 6, {}));   // supplier 1: no order yet
    EXPECT_TRUE(shop.WriteOrderQty(60, 12, {}));  // supplier 1 again
    EXPECT_TRUE(shop.WriteOrderQty(59, 2, {}));   // supplier 3: its shop orders are not the scanner's
    for (const qint32 unknown : {0, 999}) {
        EXPECT_FALSE(shop.WriteStocktakeQty(unknown, 2, {})) << unknown;
        EXPECT_FALSE(shop.WriteOrderQty(unknown, 1, {})) << unknown;
    }
    EXPECT_EQ(shop.GetNextOrderNo(), 1003);
    EXPECT_EQ(db.rows("select value from counters where name = 'next_order_no'"), "1003");  // others read it
    EXPECT_EQ(db.rows("select stock_id, quantity from stocktake_counts order by count_id"), "57:3|57:4.5");
    EXPECT_EQ(
        db.rows("select order_id, supplier_id, status from orders where from_scanner = 1 order by order_id"),
        "1001:1:1|1002:3:1");
    EXPECT_EQ(db.rows("select order_id, stock_id, quantity from order_lines order by line_id"),
              "1001:57:6|1001:60:12|1002:59:2");
    // An order the shop entered by hand with the next number moves the next number past it.
    ASSERT_EQ(
        db.exec("insert into orders (order_id, supplier_id, order_date) values (1003, 2, '2024-03-20')"), "");
    EXPECT_EQ(shop.GetNextOrderNo(), 1004);
    EXPECT_TRUE(shop.WriteOrderQty(58, 1, {}));  // supplier 2's first scanner order
    EXPECT_EQ(db.rows("select order_id from order_lines where stock_id = 58"), "1004");
    // Both engines write the scanner order's date and the counts' time stamps alike, in UTC, by the
    // shop data object's clock.
    EXPECT_EQ(db.rows("select distinct order_date from orders where from_scanner = 1"), "2026-03-31");
    EXPECT_EQ(db.rows("select distinct counted_at from stocktake_counts"), "2026-03-31 12:59:58");
}

// Two writers (two shop data objects, as two imports running at once) order an item of the same
// supplier at the same moment, again and again, the scanner order closed after each round: each
// round makes one scanner order holding both lines.
TEST_F(ShopDatabaseTest, TwoWritersAtOnceShareTheSuppliersNewScannerOrder) {
    constexpr int kRounds = 10;
    std::barrier together(2);
    std::atomic<int> written{0};
    std::atomic<int> failed{0};
    const auto writer = [&](bool closesOrders) {
        ShopDatabase writerShop;  // a connection of its own, used by its own thread only
        writerShop.Connect();
        std::optional<ShopRows> closer;  // so is the connection that closes the orders
        if (closesOrders) {
            closer.emplace();
        }
        for (int round = 0; round < kRounds; ++round) {
            together.arrive_and_wait();
            try {
                written += writerShop.WriteOrderQty(57, 1, {}) ? 1 : 0;
            } catch (const ProgramError&) {
                ++failed;
            }
            together.arrive_and_wait();
            if (closer) {
                closer->exec("update orders set status = 2 where from_scanner = 1");
            }
        }
    };
    std::thread first(writer, true), second(writer, false);
    first.join();
    second.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(written, 2 * kRounds);
    EXPECT_EQ(db.rows("select count(*), count(distinct order_id) from order_lines"),
              QStringLiteral("%1:%2").arg(2 * kRounds).arg(kRounds));
    EXPECT_EQ(db.rows("select count(*), min(order_id), max(order_id) from orders where from_scanner = 1"),
              QStringLiteral("%1:1001:%2").arg(kRounds).arg(1000 + kRounds));
}

TEST_F(ShopDatabaseTest, GoodsReceivedAreBookedAndRaiseTheQuantityOnHand) {
    shop.StartGoodsReceived(-1, 5, 2);
    shop.WriteGoodsReceived(57, 102, 7, "2.5", 3, "9310000000575", {});
    shop.WriteGoodsReceived(58, 102, 0, "0.1234567", 3, "9310000000582", {});
    shop.WriteGoodsReceived(0, 102, 0, "1", 3, "", {});
    shop.StartGoodsReceived(0, 0, 3);  // a new receipt, not posted to stock, quantities whole
    shop.WriteGoodsReceived(57, 103, 0, "1.6", 3, "9310000000575", {});
    EXPECT_EQ(
        db.rows("select receipt_id, order_id, supplier_id, reference, quantity, barcode, stock_id "
                "from goods_received order by received_id"),
        "1:102:3:7:2.5:9310000000575:57|1:102:3:0:0.12346:9310000000582:58|2:103:3:0:2:9310000000575:57");
    EXPECT_EQ(db.rows("select QtyOnHand from stock where stock_id = 57"), "19.5");
    EXPECT_EQ(db.rows("select post_to_stock, quantity_decimals, order_status, started_at from receipts "
                      "order by receipt_id"),
              "1:5:2:2026-03-31 12:59:58|0:0:3:2026-03-31 12:59:58");
    EXPECT_EQ(db.rows("select status from orders where order_id in (102, 103) order by order_id"), "2|3");
}

TEST_F(ShopDatabaseTest, AFailedGoodsReceivedWriteLeavesNothingHalfDone) {
    // Not a number, or one whose rounding overflows: nothing written, no infinity on hand; foreseen alike.
    for (const auto& [text, error] : {std::pair{"2,5", errnum::TypeMismatch},
                                      {"abc", errnum::TypeMismatch},
                                      {"", errnum::TypeMismatch},
                                      {"1e304", errnum::Overflow}}) {
        EXPECT_EQ(raised([&] { shop.WriteGoodsReceived(57, 102, 0, text, 3, "", {}); }).number(), error)
            << text;
        EXPECT_EQ(raised([&] { shop.onHandAfterReceiving(57, text, std::nullopt); }).number(), error) << text;
    }
    ASSERT_EQ(db.exec("update stock set QtyOnHand = 1.7e308 where stock_id = 58"), "");
    EXPECT_EQ(raised([this] { shop.WriteGoodsReceived(58, 102, 0, "1e308", 3, "", {}); }).number(),
              errnum::Overflow);
    EXPECT_EQ(db.rows("select QtyOnHand from stock where stock_id = 58"), "1.7e+308");
    // The order's status is the write's last step: without the orders table it fails after the rest.
    ASSERT_EQ(db.exec("alter table orders rename to orders_away"), "");
    const auto write = [this] { shop.WriteGoodsReceived(57, 102, 0, "1", 3, "", {}); };
    EXPECT_EQ(raised(write).number(), errnum::DatabaseError);
    const QString written =
        "select (select count(*) from goods_received), (select count(*) from receipts), "
        "QtyOnHand from stock where stock_id = 57";
    EXPECT_EQ(db.rows(written), "0:0:17");
    ASSERT_EQ(db.exec("alter table orders_away rename to orders"), "");
    write();
    EXPECT_EQ(db.rows(written), "1:1:18");
}

// A stocktake's variance comes largest value first, in whole cents as the report prints them
// (311.675 is 311.68, 0.285 is 0.29) whatever the sign, then by stock id; a long report whole.
TEST_F(ShopDatabaseTest, VarianceComesLargestValueInWholeCentsFirstThenByStockId) {
    ASSERT_EQ(db.exec("update stock set QtyOnHand = case stock_id when 1 then 5 when 5 then 1 when 6 then 2 "
                      "else 0 end, Price = case stock_id when 1 then 124.67 when 2 then 311.68 when 3 then "
                      "0.285 when 7 then 1 else 0.29 end"),
              "");
    const qint64 run = shop.BeginRun("stocktake", "Stock.dat", "x", 8, "test");
    for (const auto& [id, count] : {std::pair{1, 2.5}, {2, 1.0}, {3, 1.0}, {4, 1.0}, {6, 2.0}, {7, 1e3}}) {
        shop.WriteStocktakeQty(id, count, {run, id});
    }
    QList<qint32> order;
    shop.Variance(run, [&order](const ItemVariance& item) { order << item.stockId; });
    EXPECT_EQ(order, QList<qint32>({7, 1, 2, 3, 4, 5, 6}));
    // More items than the rows read at a time: every one comes.
    ASSERT_EQ(
        db.exec("with recursive n(i) as (select 1001 union all select i + 1 from n where i < 3100) "
                "insert into stock (stock_id, BarCode, Description, QtyOnHand) select i, '', '', 1 from n"),
        "");
    order.clear();
    shop.Variance(run, [&order](const ItemVariance& item) { order << item.stockId; });
    EXPECT_EQ(order.size(), 7 + 2100);
}

// A database that cannot take writes for now refuses each write as lasting: the next record would
// fail the same way. (A refusal of one row alone is not lasting: the batch's refused-write test.)
TEST_F(ShopDatabaseTest, AReadOnlyShopRefusesAWriteAsLasting) {
    ShopDatabase refusing;
    const QSqlDatabase own = connectionOpenedBy([&refusing] { refusing.Connect(); });
    const char* readOnly = testEngine() == TestEngine::Sqlite ? "pragma query_only = 1"
                                                              : "set default_transaction_read_only = on";
    ASSERT_TRUE(QSqlQuery(own).exec(readOnly));
    const ProgramError error = raised([&refusing] { refusing.WriteStocktakeQty(5, 1, {}); });
    EXPECT_EQ(error.number(), errnum::DatabaseError) << error.description().toStdString();
    EXPECT_TRUE(error.lasting()) << error.description().toStdString();
}

// Without a shop every operation is a database error; a shop database file that was deleted is an
// error on connecting, never an empty shop made in its place.
TEST(ShopDatabaseWithoutAShop, OperationsRaiseADatabaseErrorAndAGoneFileIsNotMadeAnew) {
    ShopDatabase shop;
    EXPECT_FALSE(shop.IsConnected());
    EXPECT_EQ(raised([&shop] { shop.GetNextOrderNo(); }).number(), errnum::DatabaseError);
    if (testEngine() != TestEngine::Sqlite) {
        return;  // a database on a server is not a file
    }
    TestShop testShop;
    testShop.registerDemoShop(1);
    const QString file = testShop.demoShopPlace().first();
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_EQ(raised([&shop] { shop.Connect(); }).number(), errnum::DatabaseError);
    EXPECT_FALSE(QFile::exists(file));
}

// A shop made before the program kept a record of its imports gets the record's tables and
// columns when the shop data object connects, and its imports are then kept as runs.
TEST_F(ShopDatabaseTest, AShopWithoutTheRecordOfImportsGetsItOnConnect) {
    for (const char* sql :
         {"drop table import_runs", "drop table import_run_orders", "alter table orders drop column run_id",
          "alter table order_lines drop column run_id", "alter table order_lines drop column line_no",
          "alter table stocktake_counts drop column run_id",
          "alter table stocktake_counts drop column line_no", "alter table receipts drop column run_id",
          "alter table goods_received drop column run_id",
          "alter table goods_received drop column line_no"}) {
        ASSERT_EQ(db.exec(sql), "") << sql;
    }
    ShopDatabase older;
    older.Connect();
    const qint64 run = older.BeginRun("stocktake", "/shop/Stock.dat", "c0ffee", 3, "here:1:1");
    EXPECT_TRUE(older.WriteStocktakeQty(57, 4, {run, 2}));
    older.EndRun(run, 3);
    EXPECT_EQ(db.rows("select stock_id, quantity, run_id, line_no from stocktake_counts"),
              QStringLiteral("57:4:%1:2").arg(run));
    EXPECT_EQ(db.rows("select kind, file_name, lines_in_file, last_line, records_written from import_runs"),
              "stocktake:/shop/Stock.dat:3:3:1");
}

}  // namespace
