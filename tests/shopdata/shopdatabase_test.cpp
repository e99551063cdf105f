#include "shopdata/shopdatabase.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <functional>

#include "outside/programerror.h"
#include "sqlitefile.h"
#include "testshop.h"

namespace {

// The error that a call raised; number 0 when it raised none.
ProgramError raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const ProgramError& error) {
        return error;
    }
    return ProgramError(0, QStringLiteral("nothing raised"));
}

// A demo shop of 200 items registered as MYOBRM, the shop data object connected to it, and the
// same file opened directly to see what was written.
class ShopDatabaseTest : public testing::Test {
protected:
    ShopDatabaseTest() : file_(testShop_.registerDemoShop().toStdString()) { shop_.Connect(); }

    std::string rows(const std::string& sql) { return file_.rows(sql); }

    TestShop testShop_;
    SqliteFile file_;
    ShopDatabase shop_;
};

struct ItemCase {
    qint32 stockId, itemKey;
    double factor, price;
};

class ItemLookupTest : public ShopDatabaseTest, public testing::WithParamInterface<ItemCase> {};

TEST_P(ItemLookupTest, GivesKeyFactorAndPriceOrZeros) {
    const ItemCase& c = GetParam();
    qint32 itemKey = -1;
    double factor = -1, lastField = -1, price = -1;
    shop_.LookupStockItem(c.stockId, itemKey, factor);
    shop_.LookupItemPrice(c.stockId, lastField, price);
    EXPECT_EQ(itemKey, c.itemKey);
    EXPECT_EQ(factor, c.factor);
    EXPECT_EQ(lastField, c.factor);
    EXPECT_DOUBLE_EQ(price, c.price);
}

INSTANTIATE_TEST_SUITE_P(DemoItems, ItemLookupTest,
                         testing::Values(ItemCase{57, 57, 1, 57.95}, ItemCase{200, 200, 12, 0.95},
                                         ItemCase{0, 0, 0, 0}, ItemCase{201, 0, 0, 0}));

struct BarcodeCase {
    qint32 itemKey;
    const char* barcode;
    bool matches;
    qint32 keyAfter, found;
};

class BarcodeTest : public ShopDatabaseTest, public testing::WithParamInterface<BarcodeCase> {};

TEST_P(BarcodeTest, MatchesTheItemsOwnBarcodeOrFindsTheItem) {
    const BarcodeCase& c = GetParam();
    qint32 itemKey = c.itemKey;
    EXPECT_EQ(shop_.MatchItemBarcode(itemKey, QString::fromLatin1(c.barcode)), c.matches);
    EXPECT_EQ(itemKey, c.keyAfter);
    EXPECT_EQ(shop_.FindBarcode(QString::fromLatin1(c.barcode)), c.found);
}

INSTANTIATE_TEST_SUITE_P(DemoBarcodes, BarcodeTest,
                         testing::Values(BarcodeCase{57, "9310000000575", true, 57, 57},
                                         BarcodeCase{57, " 9310000000575 ", true, 57, 57},
                                         BarcodeCase{57, "9310000000582", false, 57, 58},
                                         BarcodeCase{0, "9310000000575", true, 57, 57},
                                         BarcodeCase{0, "9310000000576", false, 0, 0},
                                         BarcodeCase{0, "", false, 0, 0}, BarcodeCase{57, "", false, 57, 0}));

TEST_F(ShopDatabaseTest, GetItemByBarcodeGivesTheStockRow) {
    QSqlRecord item;
    ASSERT_TRUE(shop_.GetItemByBarcode(QStringLiteral("9310000000575"), item));
    EXPECT_EQ(item.value(QStringLiteral("Supplier_id")).toInt(), 1);
    EXPECT_EQ(item.value(QStringLiteral("BarCode")).toString(), QStringLiteral("9310000000575"));
    EXPECT_EQ(item.value(QStringLiteral("Description")).toString(), QStringLiteral("Demo item 57"));
    EXPECT_FALSE(shop_.GetItemByBarcode(QStringLiteral("9310000000576"), item));
    EXPECT_TRUE(item.isEmpty());
}

TEST_F(ShopDatabaseTest, EachStocktakeCountIsItsOwnRow) {
    EXPECT_TRUE(shop_.WriteStocktakeQty(57, 3));
    EXPECT_TRUE(shop_.WriteStocktakeQty(57, 4.5));
    EXPECT_FALSE(shop_.WriteStocktakeQty(0, 2));
    EXPECT_FALSE(shop_.WriteStocktakeQty(999, 2));
    EXPECT_EQ(rows("select stock_id || ':' || quantity from stocktake_counts order by count_id"),
              "57:3.0|57:4.5");
}

TEST_F(ShopDatabaseTest, OrderedItemsGoOntoTheirSuppliersScannerOrder) {
    EXPECT_EQ(shop_.GetNextOrderNo(), 1001);
    EXPECT_TRUE(shop_.WriteOrderQty(57, 6));   // supplier 1: no order yet
    EXPECT_TRUE(shop_.WriteOrderQty(60, 12));  // supplier 1 again
    EXPECT_TRUE(shop_.WriteOrderQty(59, 2));   // supplier 3: its shop orders are not the scanner's
    EXPECT_FALSE(shop_.WriteOrderQty(0, 1));
    EXPECT_FALSE(shop_.WriteOrderQty(999, 1));
    EXPECT_EQ(shop_.GetNextOrderNo(), 1003);
    EXPECT_EQ(rows("select order_id || ':' || supplier_id from orders where from_scanner = 1"),
              "1001:1|1002:3");
    EXPECT_EQ(rows("select order_id || ':' || stock_id || ':' || quantity from order_lines order by line_id"),
              "1001:57:6.0|1001:60:12.0|1002:59:2.0");
}

TEST_F(ShopDatabaseTest, GoodsReceivedAreBookedAndRaiseTheQuantityOnHand) {
    shop_.StartGoodsReceived(-1, 5, 2);
    shop_.WriteGoodsReceived(57, 102, 7, QStringLiteral("2.5"), 3, QStringLiteral("9310000000575"));
    shop_.WriteGoodsReceived(58, 102, 0, QStringLiteral("0.1234567"), 3, QStringLiteral("9310000000582"));
    shop_.WriteGoodsReceived(0, 102, 0, QStringLiteral("1"), 3, QString());
    EXPECT_EQ(
        rows("select group_concat(receipt_id || ':' || order_id || ':' || supplier_id || ':' || reference || "
             "':' || quantity || ':' || barcode || ':' || stock_id) from goods_received"),
        "1:102:3:7:2.5:9310000000575:57,1:102:3:0:0.12346:9310000000582:58");
    EXPECT_EQ(rows("select QtyOnHand from stock where stock_id = 57"), "19.5");
    EXPECT_EQ(rows("select post_to_stock || quantity_decimals || order_status from receipts"), "152");
    EXPECT_EQ(rows("select status from orders where order_id = 102"), "2");

    shop_.StartGoodsReceived(0, 0, 1);  // a new receipt, not posted to stock, quantities whole
    shop_.WriteGoodsReceived(57, 103, 0, QStringLiteral("1.6"), 3, QStringLiteral("9310000000575"));
    EXPECT_EQ(rows("select receipt_id || ':' || quantity from goods_received where order_id = 103"), "2:2.0");
    EXPECT_EQ(rows("select QtyOnHand from stock where stock_id = 57"), "19.5");
}

TEST_F(ShopDatabaseTest, ReceivedQuantityThatIsNotANumberIsATypeMismatch) {
    for (const char* text : {"2,5", "abc", ""}) {
        const auto write = [&] {
            shop_.WriteGoodsReceived(57, 102, 0, QString::fromLatin1(text), 3, QString());
        };
        EXPECT_EQ(raised(write).number(), errnum::TypeMismatch) << text;
    }
    EXPECT_EQ(rows("select count(*) from goods_received"), "0");
}

TEST_F(ShopDatabaseTest, AFailedGoodsReceivedWriteLeavesNothingHalfDone) {
    ASSERT_TRUE(
        file_.exec("create trigger refuse before update on stock begin select raise(abort, 'refused'); end"));
    const auto write = [this] { shop_.WriteGoodsReceived(57, 102, 0, QStringLiteral("1"), 3, QString()); };
    EXPECT_EQ(raised(write).number(), errnum::DatabaseError);
    EXPECT_EQ(rows("select count(*) from goods_received") + rows("select count(*) from receipts"), "00");
    ASSERT_TRUE(file_.exec("drop trigger refuse"));
    write();
    EXPECT_EQ(rows("select count(*) from goods_received") + rows("select count(*) from receipts"), "11");
}

TEST_F(ShopDatabaseTest, ALockedDatabaseGivesAnErrorWithinTheTimeout) {
    ASSERT_TRUE(
        file_.exec("begin immediate; insert into stocktake_counts (stock_id, quantity) values (1, 1)"));
    QElapsedTimer timer;
    timer.start();
    const ProgramError error = raised([this] { shop_.WriteStocktakeQty(57, 3); });
    EXPECT_LT(timer.elapsed(), 8000);  // the data source waits 5 seconds for a lock
    EXPECT_EQ(error.number(), errnum::DatabaseError);
    EXPECT_TRUE(error.description().contains(QStringLiteral("locked"))) << error.description().toStdString();
    ASSERT_TRUE(file_.exec("rollback"));
}

TEST(ShopDatabaseUnconnected, OperationsRaiseADatabaseError) {
    ShopDatabase shop;
    EXPECT_FALSE(shop.IsConnected());
    EXPECT_EQ(raised([&shop] { shop.GetNextOrderNo(); }).number(), errnum::DatabaseError);
}

}  // namespace
