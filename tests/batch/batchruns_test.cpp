// Import runs through the batch: a file loaded twice, a run killed part of the way, undo and the
// variance report, on the test program's engine.
#include <QProcess>
#include <QRandomGenerator>

#include "demoshop.h"
#include "killedimport.h"
#include "platform/processtag.h"
#include "programfiles.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

QByteArray barcode(int item) {
    return QByteArray::fromStdString(demoshop::demoBarcode(item));
}

ProgramRun batch(const QStringList& arguments) {
    return runProgram("rmstockhand-batch", arguments);
}

struct Upload {
    const char* kind;
    QByteArray file;
    QStringList answers;
};

// Each kind of import loaded, refused a second time, loaded again with --again, and both runs
// undone: after each undo every table is as it was before that run, the quantities on hand, the
// order statuses and the next order number included.
TEST(BatchRuns, AFileLoadedTwiceIsCaughtAndEachUndoRestoresEveryTable) {
    TestShop shop;
    shop.registerDemoShop(200);
    const Upload uploads[] = {
        {"stocktake", "NXSTV100\r\n57," + barcode(57) + ",3\r\n58," + barcode(58) + ",2.5\r\n", {}},
        {"orders", "NXORV100\r\n57," + barcode(57) + ",2\r\n30," + barcode(30) + ",1\r\n", {}},
        {"goods",
         "NXGRV100\r\n57," + barcode(57) + ",4,102,3\r\n58," + barcode(58) + ",0,,2\r\n",
         {"--supplier", "3", "--order-no", "103"}},
    };
    ShopRows db;
    int run = 0;
    for (const Upload& upload : uploads) {
        SCOPED_TRACE(upload.kind);
        const QString path = writeBytes(shop.folder() + "/upload.dat", upload.file);
        const QStringList import =
            QStringList{QStringLiteral("import-") + upload.kind, path} + upload.answers;
        const QStringList before = db.shopTables();
        ASSERT_EQ(batch(import).exitCode, 0);
        const QStringList afterFirst = db.shopTables();
        EXPECT_NE(afterFirst, before);

        const ProgramRun refused = batch(import);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.errors.startsWith("This file was already loaded on ")) << refused.errors.data();
        EXPECT_TRUE(
            refused.errors.endsWith("Load it again?\nNothing was loaded: give --again to load it again\n"));
        EXPECT_EQ(db.shopTables(), afterFirst);

        ASSERT_EQ(batch(import + QStringList{"--again"}).exitCode, 0);
        EXPECT_NE(db.shopTables(), afterFirst);
        run += 2;
        EXPECT_EQ(batch({"undo", QString::number(run)}).exitCode, 0);
        EXPECT_EQ(db.shopTables(), afterFirst);
        EXPECT_EQ(batch({"undo", QString::number(run - 1)}).exitCode, 0);
        EXPECT_EQ(db.shopTables(), before);
        const ProgramRun twice = batch({"undo", QString::number(run - 1)});
        EXPECT_EQ(twice.exitCode, 1);
        EXPECT_TRUE(twice.errors.startsWith(QStringLiteral("Run %1 was undone on ").arg(run - 1).toUtf8()));
    }
    EXPECT_EQ(batch({"undo", "99"}).errors, "There is no run 99\n");
}

// An order that one run made and a later run received goods against cannot lose that order to an
// undo of the first run; once the later run is undone, the first can be.
TEST(BatchRuns, ARunThatALaterRunBuiltOnIsNotUndone) {
    TestShop shop;
    shop.registerDemoShop(200);
    ShopRows db;
    const QStringList before = db.shopTables();
    ASSERT_EQ(batch({"import-orders",
                     writeBytes(shop.folder() + "/Orders.dat", "NXORV100\r\n57," + barcode(57) + ",2\r\n")})
                  .exitCode,
              0);
    const QString order = db.rows("select order_id from orders where run_id = 1");
    ASSERT_EQ(batch({"import-goods",
                     writeBytes(shop.folder() + "/Goods.dat",
                                "NXGRV100\r\n57," + barcode(57) + ",0," + order.toUtf8() + ",2\r\n")})
                  .exitCode,
              0);
    // A run that is loading still is not taken from under it.
    ASSERT_EQ(
        db.exec(QStringLiteral("insert into import_runs (kind, file_name, checksum, lines_in_file, process) "
                               "values ('stocktake', 'Now.dat', 'x', 9, '%1')")
                    .arg(platform::thisProcessTag())),
        "");
    EXPECT_EQ(batch({"undo", "3"}).errors,
              "Run 3 is still loading Now.dat: it can be undone once it has stopped\n");
    const ProgramRun refused = batch({"undo", "1"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.errors,
              "Run 1 cannot be undone: run 2 wrote to order " + order.toUtf8() + ", which run 1 made\n");
    EXPECT_EQ(batch({"undo", "2"}).exitCode, 0);
    EXPECT_EQ(batch({"undo", "1"}).exitCode, 0);
    EXPECT_EQ(db.shopTables(), before);
}

constexpr int kRecords = 20000;

// A stocktake upload whose record on line l counts l of a demo item whose quantity factor is 1.
QByteArray longUpload() {
    QByteArray file = "NXSTV100\r\n";
    for (int line = 2; line <= kRecords + 1; ++line) {
        const int id = 1 + line % 9 + 10 * ((line / 9) % 19);  // never a tenth item
        file += QByteArray::number(id) + ',' + barcode(id) + ',' + QByteArray::number(line) + "\r\n";
    }
    return file;
}

// The counts of the shop, by the line they came from, when each line was loaded exactly once.
QString eachLineOnce(ShopRows& db) {
    return db.rows(
        "select count(*), count(distinct line_no), min(line_no), max(line_no), sum(case when quantity = "
        "line_no "
        "then 1 else 0 end) from stocktake_counts");
}

// A run killed part of the way is found by the next import of its kind, which loads nothing until
// told; carried on with --resume, or undone first with --undo-unfinished, every line of the file
// ends up loaded exactly once.
TEST(BatchRuns, AnImportKilledPartWayIsFoundThenResumedOrUndone) {
    TestShop shop;
    shop.registerDemoShop(200);
    const QString path = writeBytes(shop.folder() + "/Stock.dat", longUpload());
    const QString loadedOnce = QStringLiteral("%1:%1:2:%2:%1").arg(kRecords).arg(kRecords + 1);
    ShopRows db;
    for (const char* answer : {"--resume", "--undo-unfinished"}) {
        SCOPED_TRACE(answer);
        const int killAt = static_cast<int>(QRandomGenerator::global()->bounded(100, kRecords * 9 / 10));
        ASSERT_TRUE(killImportAfterCounts(path, killAt, QProcess::nullDevice()))
            << "the import ended before it could be killed";
        const QStringList killed = db.shopTables();
        const QString lastLine = db.rows("select max(line_no) from stocktake_counts");

        const ProgramRun refused = batch({"import-stocktake", path});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.errors,
                  QStringLiteral("The last import of %1 stopped at line %2 of %3. Undo what it "
                                 "wrote before loading again?\nNothing was loaded: give "
                                 "--undo-unfinished to undo it first, or --resume to carry the "
                                 "same file on from line %4\n")
                      .arg(path, lastLine)
                      .arg(kRecords + 1)
                      .arg(lastLine.toInt() + 1)
                      .toUtf8());
        EXPECT_EQ(db.shopTables(), killed);

        const ProgramRun rerun = batch({"import-stocktake", path, answer});
        EXPECT_EQ(rerun.exitCode, 0) << rerun.errors.data();
        EXPECT_EQ(eachLineOnce(db), loadedOnce);
        EXPECT_TRUE(batch({"runs"}).output.contains(QStringLiteral("%1 of %1").arg(kRecords + 1).toUtf8()));
        // Made ready for the next way on: the file's counts taken back whole.
        const QString run = db.rows("select max(run_id) from import_runs where undone_at is null");
        ASSERT_EQ(batch({"undo", run}).exitCode, 0);
        EXPECT_EQ(db.rows("select count(*) from stocktake_counts"), "0");
    }
}

// A stocktake of a five-item shop: one item counted on two shelves, one not at all, one unknown
// record; the report lists each item by the size of its value, the uncounted one as not counted.
TEST(BatchRuns, TheVarianceReportSetsTheCountsBesideTheStockOnHand) {
    TestShop shop;
    shop.registerDemoShop(5);
    const QByteArray upload = "NXSTV100\r\n1," + barcode(1) + ",1\r\n2," + barcode(2) + ",2\r\n4," +
                              barcode(4) + ",1\r\n5," + barcode(5) + ",10\r\n1," + barcode(1) +
                              ",2\r\n99,U1,7\r\n";
    ASSERT_EQ(batch({"import-stocktake", writeBytes(shop.folder() + "/Stock.dat", upload)}).exitCode, 0);
    const QString csv = shop.folder() + "/variance.csv";
    const ProgramRun report = batch({"variance", "--csv", csv});
    EXPECT_EQ(report.exitCode, 0) << report.errors.data();
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
    EXPECT_EQ(batch({"variance", "--run", "7"}).errors, "Run 7 is not a stocktake run\n");
}

}  // namespace
