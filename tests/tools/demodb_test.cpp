#include "demoshop.h"
#include "programfiles.h"
#include "sqlitefile.h"
#include "testshop.h"

// The maker refuses a wrong command line with its usage and an unwritable path with one line, and
// otherwise replaces any old file with the same demo shop each time.
TEST(DemoShopMaker, WritesTheSameDemoShopEachTimeOrSaysWhyNot) {
    TestShop shop;
    const QString path = shop.folder() + "/shop.mdb";
    const QStringList wrong[] = {
        {},           {path, "--items"}, {path, "--items", "x"}, {path, "--items", "-1"},
        {path, path}, {"--size", path}};
    for (const QStringList& arguments : wrong) {
        const ProgramRun run = runProgram("rmstockhand-demo-db", arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.startsWith("usage: rmstockhand-demo-db PATH [--items N]"));
    }
    EXPECT_FALSE(QFile::exists(path));
    const ProgramRun unwritable = runProgram("rmstockhand-demo-db", {shop.folder() + "/missing/shop.mdb"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.errors.startsWith("rmstockhand-demo-db: cannot write "))
        << unwritable.errors.data();
    EXPECT_EQ(unwritable.errors.count('\n'), 1);

    writeBytes(path, "not a database");
    writeBytes(path + "-wal", "not a log");
    ASSERT_EQ(runProgram("rmstockhand-demo-db", {path}).exitCode, 0);  // 200 items unless told
    EXPECT_FALSE(QFile::exists(path + "-wal"));
    EXPECT_TRUE(readBytes(path) == readBytes(shop.makeDemoDatabase(200, "again.mdb")));
    SqliteFile file(path.toStdString());
    const std::pair<const char*, const char*> queries[] = {
        {"select BarCode||' '||Description||' '||Price||' '||QtyFactor||' '||Supplier_id from stock "
         "where stock_id in (1, 10, 57, 200)",
         "9310000000018 Demo item 1 1.95 1.0 2|9310000000100 Demo item 10 10.95 12.0 2|"
         "9310000000575 Demo item 57 57.95 1.0 1|9310000002005 Demo item 200 0.95 12.0 3"},
        {"select count(*) || ' ' || max(stock_id) from stock", "200 200"},
        {"select name from pragma_table_info('stock') order by cid desc limit 1", "QtyFactor"},
        {"select Supplier_id || ' ' || Supplier from supplier",
         "1 Alpha Wholesale|2 Beta Distributors|3 Gamma Foods"},
        {"select order_id || ' ' || supplier_id from orders order by order_id", "101 3|102 3|103 3|201 2"},
        {"select value from counters where name = 'next_order_no'", "1001"},
        {"pragma journal_mode", "wal"},
        {"select name from pragma_index_list('stock')", "stock_barcode"},
    };
    for (const auto& [sql, expected] : queries) {
        EXPECT_EQ(file.rows(sql), expected) << sql;
    }
    EXPECT_EQ(demoshop::eanCheckDigit("400638133393"), '1');
    EXPECT_EQ(demoshop::demoBarcode(123456789), "9311234567896");
}
