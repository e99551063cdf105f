#include "programfiles.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

// The maker refuses a place it cannot write with one line, and a wrong command line with its usage.
TEST(DemoShopMaker, RefusesAWrongCommandLineOrAPlaceItCannotWrite) {
    TestShop shop;
    const QString path = shop.folder() + "/shop.mdb";
    QStringList unwritable{writeBytes(shop.folder() + "/file", "") + "/shop.mdb"};
    if (testEngine() == TestEngine::Postgres) {
        unwritable = shop.demoShopPlace();
        unwritable[unwritable.indexOf("--database") + 1] = "no_such_database";
    }
    const ProgramRun run = runProgram("rmstockhand-demo-db", unwritable);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.startsWith("rmstockhand-demo-db: cannot write ") && run.errors.count('\n') == 1)
        << run.errors.data();
    if (testEngine() == TestEngine::Postgres) {
        return;  // the rest reaches no database: it runs once, with the SQLite tests
    }
    EXPECT_EQ(runProgram("rmstockhand-demo-db", {shop.folder() + "/new/shop.mdb", "--items", "1"}).exitCode,
              0);
    EXPECT_TRUE(QFile::exists(shop.folder() + "/new/shop.mdb"));
    const QStringList server{"--server", "/tmp", "--database", "shop", "--user", "me"};
    const QStringList wrong[] = {{},
                                 {path, "--items", "x"},
                                 {path, "--items", "-1"},
                                 {path, path},
                                 {"--server", "/tmp", "--database", "shop"},
                                 server + QStringList{"--port", "0"}};
    for (const QStringList& arguments : wrong) {
        const ProgramRun refused = runProgram("rmstockhand-demo-db", arguments);
        EXPECT_EQ(refused.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(
            refused.errors.startsWith("usage: rmstockhand-demo-db PATH [--items N]\n"
                                      "       rmstockhand-demo-db --server HOST [--port N] --database NAME "
                                      "--user USER [--items N]\n"));
    }
    EXPECT_FALSE(QFile::exists(path));
    // A ";" would end the connection string early and write elsewhere: such a name is refused.
    const QString semicolon = shop.folder() + "/a;b.mdb";
    EXPECT_EQ(runProgram("rmstockhand-demo-db", {semicolon}).errors,
              "rmstockhand-demo-db: cannot write " + semicolon.toUtf8() +
                  ": the name holds a \";\", which a connection string cannot hold\n");
    EXPECT_FALSE(QFile::exists(semicolon) || QFile::exists(shop.folder() + "/a"));
}

// The same demo shop in either engine, made anew however often it is made and whatever was there.
TEST(DemoShopMaker, WritesTheSameDemoShopEachTimeInEitherEngine) {
    TestShop shop;
    const bool sqlite = testEngine() == TestEngine::Sqlite;
    if (sqlite) {  // a file that is no database, and an old log beside it, are replaced
        writeBytes(shop.demoShopPlace().first(), "not a database");
        writeBytes(shop.demoShopPlace().first() + "-wal", "not a log");
    }
    shop.registerDemoShop(5);
    {
        ShopRows db;
        ASSERT_EQ(db.exec("insert into stocktake_counts (stock_id, quantity) values (1, 1)"), "");
    }
    ASSERT_EQ(runProgram("rmstockhand-demo-db", shop.demoShopPlace()).exitCode, 0);  // 200 items unless told
    ShopRows db;
    const std::pair<const char*, const char*> queries[] = {
        {"select BarCode, Description, Price, QtyOnHand, QtyFactor, Supplier_id from stock "
         "where stock_id in (1, 10, 57, 200) order by stock_id",
         "9310000000018:Demo item 1:1.95:1:1:2|9310000000100:Demo item 10:10.95:10:12:2|"
         "9310000000575:Demo item 57:57.95:17:1:1|9310000002005:Demo item 200:0.95:0:12:3"},
        {"select count(*), max(stock_id) from stock", "200:200"},
        {"select Supplier_id, Supplier from supplier order by Supplier_id",
         "1:Alpha Wholesale|2:Beta Distributors|3:Gamma Foods"},
        {"select order_id, supplier_id, status, from_scanner from orders order by order_id",
         "101:3:1:0|102:3:1:0|103:3:1:0|201:2:1:0"},
        {"select value from counters where name = 'next_order_no'", "1001"},
        {"select (select count(*) from stocktake_counts) + (select count(*) from order_lines) + "
         "(select count(*) from receipts) + (select count(*) from goods_received)",
         "0"},
        {sqlite ? "select name from pragma_index_list('stock')"
                : "select indexname from pg_indexes where tablename = 'stock' and indexname <> 'stock_pkey'",
         "stock_barcode"},
    };
    for (const auto& [sql, expected] : queries) {
        EXPECT_EQ(db.rows(sql), expected) << sql;
    }
    if (sqlite) {
        EXPECT_EQ(db.rows("pragma journal_mode"), "wal");
        EXPECT_FALSE(QFile::exists(shop.demoShopPlace().first() + ".new"));
    }
}

}  // namespace
