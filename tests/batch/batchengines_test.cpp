// The batch command line on either database engine: imports running at the same time, and the
// same files giving the same shop and the same item file on SQLite as on PostgreSQL.
#include <QProcess>

#include "batchprogram.h"
#include "demoshop.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

constexpr int kItems = 200;

// The records of one upload: stock id and barcode of demo items whose quantity factor is 1, and
// a quantity; `seed` makes each writer's file its own.
struct Upload {
    QByteArray file;
    int records = 0;
    int quantity = 0;
};

Upload upload(const QByteArray& header, int records, int seed, const QByteArray& orderNo = {}) {
    Upload result{header + "\r\n"};
    for (int r = 0; r < records; ++r) {
        const int id = 1 + (r + seed) % 9 + 10 * ((r / 9 + seed) % 19);  // never a tenth item
        const int quantity = 1 + (r + seed) % 5;
        const QByteArray barcode = QByteArray::fromStdString(demoshop::demoBarcode(id));
        const QByteArray middle = orderNo.isNull() ? QByteArray() : "0," + orderNo + ",";
        result.file +=
            QByteArray::number(id) + ',' + barcode + ',' + middle + QByteArray::number(quantity) + "\r\n";
        result.records += 1;
        result.quantity += quantity;
    }
    return result;
}

struct Import {
    const char* command;
    Upload first, second;
    // The rows and the total quantity the two imports leave, and anything else both must agree on.
    const char* loaded;
};

// Two schedules that fire at once: both processes run to the end without a word, and the shop holds
// both files.
TEST(BatchEngines, TwoImportsAtOnceLoseNothing) {
    TestShop shop;
    shop.registerDemoShop(kItems);
    const Import imports[] = {
        {"import-stocktake", upload("NXSTV100", 400, 0), upload("NXSTV100", 400, 4),
         "select count(*), sum(quantity) from stocktake_counts"},
        {"import-orders", upload("NXORV100", 400, 1), upload("NXORV100", 400, 5),
         "select count(*), sum(quantity) from order_lines"},
        {"import-goods", upload("NXGRV100", 400, 2, "102"), upload("NXGRV100", 400, 6, "201"),
         "select count(*), sum(quantity) from goods_received"},
    };
    for (const Import& import : imports) {
        SCOPED_TRACE(import.command);
        QProcess writers[2];
        const Upload* files[] = {&import.first, &import.second};
        for (int w = 0; w < 2; ++w) {
            const QString path =
                writeBytes(shop.folder() + QStringLiteral("/upload%1.dat").arg(w), files[w]->file);
            startProgram(writers[w], "rmstockhand-batch", {import.command, path});
        }
        for (QProcess& writer : writers) {
            ASSERT_TRUE(writer.waitForFinished(120000));
            EXPECT_EQ(writer.exitCode(), 0);
            EXPECT_EQ(writer.readAllStandardError(), "");
        }
        ShopRows db;
        EXPECT_EQ(db.rows(import.loaded), QStringLiteral("%1:%2")
                                              .arg(import.first.records + import.second.records)
                                              .arg(import.first.quantity + import.second.quantity));
    }
    // Each writer's receipt whole, however the two met.
    EXPECT_EQ(ShopRows().rows(
                  "select receipt_id, count(*) from goods_received group by receipt_id order by receipt_id"),
              "1:400|2:400");
}

// What one engine's shop holds after the same uploads and exports: its rows and item files.
struct ShopAfter {
    QStringList rows;
    QByteArray itemFile, itemFileInPlainAscii;
};

// This process reaches each engine's shop by a connection string of its own: the driver manager
// remembers for twenty seconds which driver a data source name had, and here the batch, another
// process, moves "MYOBRM" from one engine to the other.
ShopAfter runEverything(TestEngine engine) {
    TestShop shop;
    shop.makeDemoShop(20, engine);
    batch(QStringList{"register-shop-db"} + shop.demoShopPlace(engine));
    const QString connectionString = platform::connectionString(shop.dataSource(engine));
    {
        ShopRows db(connectionString);
        for (const auto& [id, description] :
             {std::pair{5, "Crème brûlée"}, {7, "Smørrebrød « spécial »"}, {8, "Ŝ€ not Latin-1"}}) {
            EXPECT_EQ(db.exec(QStringLiteral("update stock set Description = ? where stock_id = %1").arg(id),
                              description),
                      "");
        }
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
    ShopAfter after;
    batch({"export-items"}, 0, "", {"LANG=C", "LC_ALL=C"});
    after.itemFileInPlainAscii = readBytes(shop.folder() + "/rmItems.dat");
    batch({"export-items"}, 0, "");
    after.itemFile = readBytes(shop.folder() + "/rmItems.dat");
    ShopRows db(connectionString);
    for (const char* sql :
         {"select stock_id, quantity from stocktake_counts order by count_id",
          "select order_id, supplier_id, status, from_scanner from orders order by order_id",
          "select order_id, stock_id, quantity from order_lines order by line_id",
          "select receipt_id, order_id, supplier_id, reference, quantity, barcode, stock_id "
          "from goods_received order by received_id",
          "select post_to_stock, quantity_decimals, order_status from receipts",
          "select stock_id, Description, Price, QtyOnHand from stock order by stock_id",
          "select name, value from counters"}) {
        after.rows << db.rows(sql);
    }
    return after;
}

TEST(BatchEngines, BothEnginesGiveTheSameShopAndItemFileWhateverTheLocale) {
    if (testEngine() != TestEngine::Postgres) {
        GTEST_SKIP() << "compares with the PostgreSQL test server: runs with the PostgreSQL tests";
    }
    const ShopAfter sqlite = runEverything(TestEngine::Sqlite);
    const ShopAfter postgres = runEverything(TestEngine::Postgres);
    EXPECT_EQ(postgres.rows, sqlite.rows);
    EXPECT_EQ(postgres.itemFile, sqlite.itemFile);
    EXPECT_EQ(postgres.itemFileInPlainAscii, sqlite.itemFile);
    EXPECT_EQ(sqlite.itemFileInPlainAscii, sqlite.itemFile);
    // The item file is 8-bit text: a description leaves as Latin-1, a character outside it as "?".
    EXPECT_TRUE(
        sqlite.itemFile.contains("Cr\xE8me br\xFBl\xE9"
                                 "e"));
    EXPECT_TRUE(sqlite.itemFile.contains("?? not Latin-1"));
    EXPECT_EQ(sqlite.rows.last(), "next_order_no:1003");  // a scanner order for each of two suppliers
}

}  // namespace
