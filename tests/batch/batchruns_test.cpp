// Import runs through the batch: a file loaded twice, undo and the variance report, on the test
// program's engine.
#include "batchprogram.h"
#include "demoshop.h"
#include "platform/processtag.h"
#include "shoprows.h"
#include "testshop.h"

namespace {

QByteArray barcode(int item) {
    return QByteArray::fromStdString(demoshop::demoBarcode(item));
}

struct Upload {
    const char* kind;
    QByteArray file;
    QStringList answers;
    const char* messages;  // on standard error
    const char* landed;    // a query of what lands in the shop, and its rows after the first load
    const char* rows;
};

// Each kind of import loaded, with its messages and what lands in the shop, refused a second time,
// loaded again with --again, and both runs undone: after each undo every table is as it was before
// that run, the quantities on hand, the order statuses and the next order number included. In the
// demo shop item 10 has the quantity factor 12 and 10 on hand, item 5 the factor 1 and 5 on hand.
TEST(BatchRuns, AFileLoadedTwiceIsCaughtAndEachUndoRestoresEveryTable) {
    TestShop shop;
    shop.registerDemoShop(20);
    const Upload uploads[] = {
        {"stocktake",
         "NXSTV100\r\n10,9310000000100,3\r\n11,NUXADEL,1\r\n57\r\n",
         {"--yes"},
         "You have scanned a barcode(s) that does not exist in RetailManager, refer to AuditFile for "
         "details\nError in fLoadPDTDetails_Error=9-Subscript out of range\n",
         "select stock_id, quantity from stocktake_counts",
         "10:36"},
        {"orders",
         "NXORV100\r\n10,9310000000100,2\r\n",
         {},
         "",
         "select stock_id, quantity from order_lines",
         "10:24"},
        {"goods",
         "NXGRV100\r\n10,9310000000100,0,102,3\r\n5,9310000000056,0,,2\r\n",
         {"--supplier", "2", "--order-no", "5678", "--apply-to-all"},
         "you have chosen Supplier-2 is this correct?\n"
         "Do you want to apply this Order number to all future blank Order#'s\n",
         "select order_id, g.supplier_id, stock_id, quantity, QtyOnHand "
         "from goods_received g join stock using (stock_id) order by received_id",
         "102:0:10:36:46|5678:2:5:2:7"},
    };
    ShopRows db;
    int run = 0;
    for (const Upload& upload : uploads) {
        SCOPED_TRACE(upload.kind);
        const QString path = writeBytes(shop.folder() + "/upload.dat", upload.file);
        const QStringList import =
            QStringList{QStringLiteral("import-") + upload.kind, path} + upload.answers;
        const QStringList before = db.shopTables();
        EXPECT_EQ(batch(import, 0, upload.messages).output, "");  // no progress line without a terminal
        EXPECT_EQ(db.rows(upload.landed), upload.rows);
        const QStringList afterFirst = db.shopTables();

        const ProgramRun refused = batch(import, 1);
        EXPECT_TRUE(refused.errors.startsWith("This file was already loaded on ")) << refused.errors.data();
        EXPECT_TRUE(
            refused.errors.endsWith("Load it again?\nNothing was loaded: give --again to load it again\n"));
        EXPECT_EQ(db.shopTables(), afterFirst);

        batch(import + QStringList{"--again"});
        EXPECT_NE(db.shopTables(), afterFirst);
        run += 2;
        batch({"undo", QString::number(run)});
        EXPECT_EQ(db.shopTables(), afterFirst);
        batch({"undo", QString::number(run - 1)});
        EXPECT_EQ(db.shopTables(), before);
        const ProgramRun twice = batch({"undo", QString::number(run - 1)}, 1);
        EXPECT_TRUE(twice.errors.startsWith(QStringLiteral("Run %1 was undone on ").arg(run - 1).toUtf8()));
    }
    batch({"undo", "99"}, 1, "There is no run 99\n");
    batch({"export-items"});
    EXPECT_EQ(QFileInfo(shop.folder() + "/rmItems.dat").size(), 20 * 76);
}

// An order that one run made and a later run received goods against cannot lose that order to an
// undo of the first run; once the later run is undone, the first can be.
TEST(BatchRuns, ARunThatALaterRunBuiltOnIsNotUndone) {
    TestShop shop;
    shop.registerDemoShop(200);
    ShopRows db;
    const QStringList before = db.shopTables();
    batch({"import-orders",
           writeBytes(shop.folder() + "/Orders.dat", "NXORV100\r\n57," + barcode(57) + ",2\r\n")});
    const QString order = db.rows("select order_id from orders where run_id = 1");
    batch({"import-goods", writeBytes(shop.folder() + "/Goods.dat",
                                      "NXGRV100\r\n57," + barcode(57) + ",0," + order.toUtf8() + ",2\r\n")});
    // A run that is loading still is not taken from under it.
    ASSERT_EQ(
        db.exec(QStringLiteral("insert into import_runs (kind, file_name, checksum, lines_in_file, process) "
                               "values ('stocktake', 'Now.dat', 'x', 9, '%1')")
                    .arg(platform::thisProcessTag())),
        "");
    batch({"undo", "3"}, 1, "Run 3 is still loading Now.dat: it can be undone once it has stopped\n");
    batch({"undo", "1"}, 1,
          "Run 1 cannot be undone: run 2 wrote to order " + order.toUtf8() + ", which run 1 made\n");
    batch({"undo", "2"});
    batch({"undo", "1"});
    EXPECT_EQ(db.shopTables(), before);
}

// A stocktake of a five-item shop: one item counted on two shelves, one not at all, one unknown
// record; the report lists each item by the size of its value, the uncounted one as not counted.
TEST(BatchRuns, TheVarianceReportSetsTheCountsBesideTheStockOnHand) {
    TestShop shop;
    shop.registerDemoShop(5);
    const QByteArray upload = "NXSTV100\r\n1," + barcode(1) + ",1\r\n2," + barcode(2) + ",2\r\n4," +
                              barcode(4) + ",1\r\n5," + barcode(5) + ",10\r\n1," + barcode(1) +
                              ",2\r\n99,U1,7\r\n";
    batch({"import-stocktake", writeBytes(shop.folder() + "/Stock.dat", upload)});
    const QString csv = shop.folder() + "/variance.csv";
    const ProgramRun report = batch({"variance", "--csv", csv});
    EXPECT_EQ(readBytes(csv),
              "stock_id,barcode,description,on_hand,counted,difference,value,status\r\n"
              "5,\"9310000000056\",\"Demo item 5\",5,10,5,29.75,counted\r\n"
              "4,\"9310000000049\",\"Demo item 4\",4,1,-3,-14.85,counted\r\n"
              "3,\"9310000000032\",\"Demo item 3\",3,0,-3,-11.85,not counted\r\n"
              "1,\"9310000000018\",\"Demo item 1\",1,3,2,3.90,counted\r\n"
              "2,\"9310000000025\",\"Demo item 2\",2,2,0,0.00,counted\r\n"
              ",,\"Totals\",15,16,1,6.95,\r\n");
    const QList<QByteArray> lines = report.output.split('\n');
    ASSERT_GE(lines.size(), 8);
    EXPECT_TRUE(lines[4].startsWith("       3  9310000000032   Demo item 3")) << lines[4].data();
    EXPECT_TRUE(lines[4].contains("not counted"));
    EXPECT_TRUE(lines[7].contains("Totals (5 items)"));
    batch({"variance", "--run", "7"}, 1, "Run 7 is not a stocktake run\n");
    batch({"undo", "1"});  // an undone run is no longer the latest to report on
    batch({"variance"}, 1, "There is no ended stocktake run to report on\n");
}

}  // namespace
