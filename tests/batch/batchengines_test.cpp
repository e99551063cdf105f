// The batch command line on either database engine: imports running at the same time, and the
// same files giving the same shop and the same item file on SQLite as on PostgreSQL.
#include <QProcess>

#include "batchprogram.h"
#include "demoshop.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

// A goods-received upload of 400 records of demo items whose quantity factor is 1, 1200 pieces in
// all, against `orderNo`; `seed` makes each writer's file its own.
QByteArray goods(int seed, const QByteArray& orderNo) {
    QByteArray file = "NXGRV100\r\n";
    for (int r = 0; r < 400; ++r) {
        const int id = 1 + (r + seed) % 9 + 10 * ((r / 9 + seed) % 19);  // never a tenth item
        file += QByteArray::number(id) + ',' + QByteArray::fromStdString(demoshop::demoBarcode(id)) + ",0," +
                orderNo + ',' + QByteArray::number(1 + r % 5) + "\r\n";
    }
    return file;
}

// Two schedules that fire at once: both processes run to the end without a word, and the shop holds
// both files, each writer's receipt whole however the two met.
TEST(BatchEngines, TwoImportsAtOnceLoseNothing) {
    TestShop shop;
    shop.registerDemoShop(200);
    QProcess writers[2];
    for (int w = 0; w < 2; ++w) {
        const QString path = writeBytes(shop.folder() + QStringLiteral("/Goods%1.dat").arg(w),
                                        goods(w, w == 0 ? "102" : "201"));
        startProgram(writers[w], "rmstockhand-batch", {"import-goods", path});
    }
    for (QProcess& writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(120000));
        EXPECT_EQ(writer.exitCode(), 0);
        EXPECT_EQ(writer.readAllStandardError(), "");
    }
    EXPECT_EQ(ShopRows().rows("select receipt_id, count(*), sum(quantity) from goods_received group by "
                              "receipt_id order by receipt_id"),
              "1:400:1200|2:400:1200");
}

// What a shop holds after the same uploads and exports: the item file, which the locale does not
// change, then the rows of its tables. This process reaches each engine's shop by a connection
// string of its own: the driver manager remembers for twenty seconds which driver a data source name
// had, and here the batch, another process, moves "MYOBRM" from one engine to the other.
QStringList runEverything(TestEngine engine) {
    TestShop shop;
    shop.makeDemoShop(20, engine);
    batch(QStringList{"register-shop-db"} + shop.demoShopPlace(engine));
    ShopRows db(platform::connectionString(shop.dataSource(engine)));
    for (const auto& [id, description] :
         {std::pair{5, "Crème brûlée"}, {7, "Smørrebrød « spécial »"}, {8, "Ŝ€ not Latin-1"}}) {
        EXPECT_EQ(db.exec(QStringLiteral("update stock set Description = ? where stock_id = %1").arg(id),
                          description),
                  "");
    }
    const auto file = [&shop](const char* name, const QByteArray& bytes) {
        return writeBytes(shop.folder() + '/' + name, bytes);
    };
    batch({"import-stocktake",
           file("Stock.dat", "NXSTV100\r\n10,9310000000100,3\r\n5,9310000000056,2.5\r\n99,1,1\r\n")});
    batch({"import-orders", file("Orders.dat", "NXORV100\r\n10,9310000000100,2\r\n3,9310000000032,7\r\n")});
    batch({"import-goods",
           file("Goods.dat", "NXGRV100\r\n10,9310000000100,4,102,3\r\n5,9310000000056,0,,0.333333\r\n"),
           "--supplier", "3", "--order-no", "5678"});
    batch({"export-items"}, 0, "", {"LANG=C", "LC_ALL=C"});
    const QByteArray inPlainAscii = readBytes(shop.folder() + "/rmItems.dat");
    batch({"export-items"}, 0, "");
    QStringList after{QString::fromLatin1(readBytes(shop.folder() + "/rmItems.dat"))};
    EXPECT_EQ(after.first().toLatin1(), inPlainAscii);
    for (const char* sql :
         {"select stock_id, quantity from stocktake_counts order by count_id",
          "select order_id, supplier_id, status, from_scanner from orders order by order_id",
          "select order_id, stock_id, quantity from order_lines order by line_id",
          "select receipt_id, order_id, supplier_id, reference, quantity, barcode, stock_id "
          "from goods_received order by received_id",
          "select post_to_stock, quantity_decimals, order_status from receipts",
          "select stock_id, Description, Price, QtyOnHand from stock order by stock_id",
          "select name, value from counters"}) {
        after << db.rows(sql);
    }
    return after;
}

TEST(BatchEngines, BothEnginesGiveTheSameShopAndItemFileWhateverTheLocale) {
    if (testEngine() != TestEngine::Postgres) {
        GTEST_SKIP() << "compares with the PostgreSQL test server: runs with the PostgreSQL tests";
    }
    const QStringList sqlite = runEverything(TestEngine::Sqlite);
    EXPECT_EQ(runEverything(TestEngine::Postgres), sqlite);
    // The item file is 8-bit text: a description leaves as Latin-1, a character outside it as "?".
    EXPECT_TRUE(sqlite.first().contains(QString::fromUtf8("Crème brûlée")));
    EXPECT_TRUE(sqlite.first().contains("?? not Latin-1"));
    EXPECT_EQ(sqlite.last(), "next_order_no:1003");  // a scanner order for each of two suppliers
}

}  // namespace
