// A day's uploads through the batch command line, on the test program's engine: each checked, then
// imported, a file loaded twice, the stocktake's variance report, and every run undone.
#include <QDir>
#include <QRegularExpression>

#include "batchprogram.h"
#include "demoshop.h"
#include "platform/processtag.h"
#include "shoprows.h"
#include "testshop.h"

namespace {

// An upload's bytes from its lines, ";" between them, "#n" standing for the barcode of item n.
QByteArray upload(QString lines) {
    for (int item = 1; item <= 5; ++item) {
        lines.replace('#' + QString::number(item), QString::fromStdString(demoshop::demoBarcode(item)));
    }
    return lines.replace(';', "\r\n").toLatin1() + "\r\n";
}

// Every table of the shop, row by row, and every audit report in the program's folder.
QStringList shopAndReports(const TestShop& shop) {
    QStringList state = ShopRows().shopTables();
    for (const QString& report : QDir(shop.folder()).entryList({"*.rep"}, QDir::Files, QDir::Name)) {
        state << report + ':' + QString::fromLatin1(readBytes(shop.folder() + '/' + report));
    }
    return state;
}

// What the check's listing says of the records, for one of "write", "audit", "error" and "look at".
QStringList listed(const QByteArray& listing, const QString& what) {
    static const QRegularExpression line("^(?:line \\d+: |  )(write|audit|error|look at)[a-z ]*: (.*)$",
                                         QRegularExpression::MultilineOption);
    QStringList found;
    for (auto matches = line.globalMatch(QString::fromUtf8(listing)); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        if (match.captured(1) == what) {
            found << match.captured(2);
        }
    }
    return found;
}

// A kind of upload: the rows a run of its import writes (%1), in the check's order and words of a
// write, and its audit report.
struct Kind {
    const char* name;
    const char* rows;
    const char* report;
};

const Kind kStocktake{"stocktake",
                      "select stock_id, quantity from stocktake_counts where run_id = %1 order by count_id",
                      "StockTakeAuditFile.rep"};
const Kind kOrders{"orders", "select stock_id, quantity from order_lines where run_id = %1 order by line_id",
                   "OrdersAuditFile.rep"};
const Kind kGoods{"goods",
                  "select stock_id, order_id, reference, quantity, supplier_id from goods_received where "
                  "run_id = %1 order by received_id",
                  "GoodsRecAuditFile.rep"};

// The check writes nothing (the shop's tables and the audit reports stay as they were), ends with
// `summary` and flags `flags` to look at; then the import does exactly what the check said, record
// by record: the same writes in the same order, the same audit lines, the same loader errors.
void checkThenImport(const TestShop& shop, const Kind& kind, const QByteArray& file,
                     const QStringList& answers, const QByteArray& summary, const QStringList& flags) {
    SCOPED_TRACE(kind.name);
    const QString path = writeBytes(shop.folder() + "/upload.dat", file);
    QFile::remove(shop.folder() + '/' + kind.report);  // an earlier import's lines
    const QStringList before = shopAndReports(shop);
    const ProgramRun check = batch(QStringList{QStringLiteral("check-") + kind.name, path} + answers, 3);
    EXPECT_EQ(shopAndReports(shop), before);
    EXPECT_TRUE(check.output.endsWith('\n' + summary + '\n')) << check.output.data();
    EXPECT_EQ(listed(check.output, "look at"), flags);

    const QStringList errors = listed(check.output, "error");
    const ProgramRun import =
        batch(QStringList{QStringLiteral("import-") + kind.name, path} + answers, errors.isEmpty() ? 0 : 4);
    // No progress line without a terminal: the summary alone, as the check counted.
    const QString report = shop.folder() + '/' + kind.report;
    const QStringList audits = listed(check.output, "audit");
    EXPECT_EQ(import.output,
              QStringLiteral("%1: %2 records, %3 written, %4 audited in %5, %6 with an error, 0 "
                             "refused by the shop\n")
                  .arg(path)
                  .arg(listed(check.output, "write").size() + audits.size() + errors.size())
                  .arg(listed(check.output, "write").size())
                  .arg(audits.size())
                  .arg(report)
                  .arg(errors.size()));
    // "item 1, quantity 2" as the row "1:2"; the shop's 1e+303 as 1E+303
    const QString writes =
        listed(check.output, "write").join('|').remove(QRegularExpression("[a-z]+ ")).replace(", ", ":");
    EXPECT_EQ(ShopRows().rows(QString(kind.rows).arg("(select max(run_id) from import_runs)")).toUpper(),
              writes);
    static const QRegularExpression timeStampAndQuotes("^\"[^-]*-|\"\r$",
                                                       QRegularExpression::MultilineOption);
    EXPECT_EQ(QString::fromLatin1(readBytes(report)).remove(timeStampAndQuotes), audits.join('\n') + '\n');
    EXPECT_EQ(QString::fromLocal8Bit(import.errors).split('\n').filter(QRegularExpression("^Error in fLoad")),
              errors);
}

// A day in a five-item shop (item n: n on hand at n.95, from supplier 1 + n % 3): the stocktake, the
// orders and the goods received against them, each checked and imported; the stocktake loaded a
// second time; its variance report; then the runs undone, the orders' run only after the goods run
// that built on it, each undo leaving every table as it was before that run.
TEST(BatchDay, EachUploadIsCheckedImportedReportedOnAndUndone) {
    TestShop shop;
    shop.registerDemoShop(5);
    // Commands that move no file to or from the scanner leave the window's settings alone: a
    // settings file that cannot be read says nothing to them.
    ASSERT_TRUE(QDir(shop.folder()).mkdir("rmstockhand.config.ini"));
    batch({"export-items"}, 0, "");
    ShopRows db;
    const QStringList opening = db.shopTables();
    checkThenImport(shop, kStocktake,
                    upload("NXSTV100;1,#1,1;2,#2,2;4,#4,1;5,#5,500;1,#2,2;99,U1,7;NUXADEL,NUXADEL,1;"
                           "99999999999,931,3;4;1,931,1"),
                    {}, "10 records: 6 to write, 2 to audit, 2 errors, 4 flagged",
                    {"the count 500 is far from the 5 on hand",
                     "the barcode 9310000000025 belongs to item 2, not to item 1",
                     "the stock id 99 is no longer on file", "the barcode 931 is not on file"});
    const QString csv = shop.folder() + "/variance.csv";
    const QList<QByteArray> lines = batch({"variance", "--csv", csv}).output.split('\n');
    EXPECT_EQ(readBytes(csv),
              "stock_id,barcode,description,on_hand,counted,difference,value,status\r\n"
              "5,\"9310000000056\",\"Demo item 5\",5,500,495,2945.25,counted\r\n"
              "4,\"9310000000049\",\"Demo item 4\",4,1,-3,-14.85,counted\r\n"
              "3,\"9310000000032\",\"Demo item 3\",3,0,-3,-11.85,not counted\r\n"
              "1,\"9310000000018\",\"Demo item 1\",1,4,3,5.85,counted\r\n"
              "2,\"9310000000025\",\"Demo item 2\",2,2,0,0.00,counted\r\n");
    ASSERT_GE(lines.size(), 8);
    EXPECT_TRUE(lines[4].startsWith("       3  9310000000032   Demo item 3") &&
                lines[4].contains("not counted") && lines[7].contains("Totals (5 items)"))
        << lines.join('\n').data();

    const QStringList counted = db.shopTables();
    const QStringList again{"import-stocktake", shop.folder() + "/upload.dat"};
    const ProgramRun refused = batch(again, 1);
    EXPECT_TRUE(refused.errors.startsWith("This file was already loaded on ") &&
                refused.errors.endsWith("Load it again?\n") &&
                refused.output ==
                    "Nothing was loaded: give --again to load it again, or --if-new to pass over a "
                    "file already loaded\n")
        << refused.errors.data();
    // The timer's way: a file already loaded is one line and no failure.
    EXPECT_EQ(batch(again + QStringList{"--if-new"}, 0, "").output,
              shop.folder() + "/upload.dat was already loaded: nothing new to import\n");
    EXPECT_EQ(db.shopTables(), counted);
    batch(again + QStringList{"--again"}, 4);
    EXPECT_NE(db.shopTables(), counted);
    EXPECT_EQ(batch({"undo", "2"}, 0, "").output, "Run 2 was undone\n");
    EXPECT_EQ(db.shopTables(), counted);
    EXPECT_TRUE(batch({"undo", "2"}, 1).errors.startsWith("Run 2 was undone on "));

    checkThenImport(shop, kOrders,
                    upload("NXORV100;1,#1,2;3,#3,1;99999,#2,4;1,#2,1;NUXADEL,NUXADEL,1;2147483648,931,6"), {},
                    "6 records: 3 to write, 2 to audit, 1 errors, 1 flagged",
                    {"the stock id 99999 is no longer on file"});
    const QStringList ordered = db.shopTables();
    // The first record is received against the scanner order 1001, which the orders' run made.
    checkThenImport(shop, kGoods,
                    upload("NXGRV100;1,#1,4,1001,3;2,#2,0,,2;1,U9,0,102,1;NUXADEL,NUXADEL,0,,1;"
                           "1,#1,,99999999999,3;3,#3,,,2"),
                    {"--supplier", "3", "--order-no", "5678"},
                    "6 records: 3 to write, 2 to audit, 1 errors, 0 flagged", {});

    // A run that is loading still is not taken from under it.
    ASSERT_EQ(db.exec("insert into import_runs (kind, file_name, checksum, lines_in_file, process) values "
                      "('stocktake', 'Now.dat', 'x', 9, ?)",
                      platform::thisProcessTag()),
              "");
    batch({"undo", "5"}, 1, "Run 5 is still loading Now.dat: it can be undone once it has stopped\n");
    batch({"undo", "3"}, 1, "Run 3 cannot be undone: run 4 wrote to order 1001, which run 3 made\n");
    batch({"undo", "99"}, 1, "There is no run 99\n");
    batch({"variance", "--run", "3"}, 1, "Run 3 is not a stocktake run\n");
    batch({"undo", "4"});
    EXPECT_EQ(db.shopTables(), ordered);
    batch({"undo", "3"});
    EXPECT_EQ(db.shopTables(), counted);
    batch({"undo", "1"});
    EXPECT_EQ(db.shopTables(), opening);
    // An undone run has no counts to report on, and an empty upload is no stocktake.
    EXPECT_TRUE(batch({"variance", "--run", "1"}, 1).errors.startsWith("Run 1 was undone on "));
    batch({"import-stocktake", writeBytes(shop.folder() + "/Empty.dat", "NXSTV100\r\n")});
    batch({"variance"}, 1, "There is no ended stocktake run to report on\n");

    // Every record would load as it stands: clean. A count to look at fails the check, though it
    // would load; a file that is not there is an error, never clean.
    const QString clean = writeBytes(shop.folder() + "/Orders.dat", upload("NXORV100;3,#3,1"));
    EXPECT_EQ(batch({"check-orders", clean}).output,
              "line 2: write order line: item 3, quantity 1\n"
              "1 records: 1 to write, 0 to audit, 0 errors, 0 flagged\n");
    // Far from usual: below zero, or above both 100 and ten times what is on hand; each reason named.
    ASSERT_EQ(db.exec("update stock set QtyOnHand = 15 where stock_id = 5"), "");
    checkThenImport(
        shop, kStocktake,
        upload("NXSTV100;3,#3,-1;1,#1,15;1,#1,100;1,#1,101;5,#5,120;5,#5,151;1,#2,500;NUXADEL,NUXADEL,1"), {},
        "8 records: 7 to write, 1 to audit, 0 errors, 4 flagged",
        {"the count -1 is far from the 3 on hand", "the count 101 is far from the 1 on hand",
         "the count 151 is far from the 15 on hand",
         "the barcode 9310000000025 belongs to item 2, not to item 1",
         "the count 500 is far from the 2 on hand"});
    // The check foresees the goods import's overflows: in the rounding, and in the sum on hand.
    ASSERT_EQ(db.exec("update stock set QtyOnHand = 1.79768e308 where stock_id = 2"), "");
    checkThenImport(shop, kGoods,
                    upload("NXGRV100;1,#1,0,,1E304;2,#2,0,,1.2E303;2,#2,0,,1.2E303;NUXADEL,NUXADEL,0,,1"),
                    {"--supplier", "3", "--order-no", "5678"},
                    "4 records: 1 to write, 1 to audit, 2 errors, 0 flagged", {});
    batch({"check-orders", shop.folder() + "/None.dat"}, 1,
          "There is no upload file at " + (shop.folder() + "/None.dat").toUtf8() + '\n');

    // Refused before anything is written, and leaving no run behind: another kind's upload, a file
    // that is not text, a supplier the shop does not have. A night without an upload is no failure.
    const QString runs = db.rows("select count(*) from import_runs");
    const QString goods = writeBytes(shop.folder() + "/Goods.dat", upload("NXGRV100;1,#1,4,1001,3"));
    // Eleven control bytes in a hundred: too many for text.
    QByteArray program(4000, 'x');
    for (qsizetype at = 0; at < program.size(); at += 9) {
        program[at] = at % 2 == 0 ? '\x7f' : '\x01';
    }
    const QString binary = writeBytes(shop.folder() + "/rmstockhand", program);
    const QString notIt =
        "is not a stocktake upload: this is %1. Nothing was loaded; --load-anyway loads it "
        "all the same\n";
    batch({"import-stocktake", goods}, 1, (goods + ' ' + notIt.arg("a goods-received upload")).toUtf8());
    batch({"check-stocktake", binary}, 1, (binary + ' ' + notIt.arg("not a text file")).toUtf8());
    batch({"import-goods", goods, "--supplier", "9"}, 1,
          "Supplier 9 is not in the list of suppliers: 1 - Alpha Wholesale; 2 - Beta Distributors; 3 - Gamma "
          "Foods. "
          "Nothing was loaded\n");
    EXPECT_EQ(batch({"import-stocktake", shop.folder() + "/None.dat"}, 0, "").output,
              "There is no upload file at " + shop.folder() + "/None.dat: nothing to import\n");
    EXPECT_EQ(db.rows("select count(*) from import_runs"), runs);
    batch({"import-stocktake", goods, "--load-anyway"}, 4);
    EXPECT_NE(db.rows("select count(*) from import_runs"), runs);
}

}  // namespace
