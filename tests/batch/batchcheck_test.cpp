// The batch's check of an upload against what its import then does.
#include <QDir>
#include <QRegularExpression>

#include "batchprogram.h"
#include "demoshop.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

QByteArray barcode(int item) {
    return QByteArray::fromStdString(demoshop::demoBarcode(item));
}

// Every table of the shop, row by row, and every audit report in the program's folder.
QStringList shopAndReports(const TestShop& shop) {
    QStringList state = ShopRows().shopTables();
    for (const QString& report : QDir(shop.folder()).entryList({"*.rep"}, QDir::Files, QDir::Name)) {
        state << report + ':' + QString::fromLatin1(readBytes(shop.folder() + '/' + report));
    }
    return state;
}

// The check's listing taken apart: what each record would do, by what it would do.
struct Listing {
    QStringList writes, audits, errors, flags;
    QString summary;
};

Listing listing(const QByteArray& output) {
    static const QRegularExpression record("^line \\d+: (write [a-z ]+|audit|error): (.*)$");
    Listing result;
    for (const QString& line : QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = record.match(line);
        if (line.startsWith(QLatin1String("  look at: "))) {
            result.flags << line.mid(11);
        } else if (!match.hasMatch()) {
            result.summary = line;
        } else if (match.captured(1).startsWith(QLatin1String("write"))) {
            result.writes << match.captured(2);
        } else {
            (match.captured(1) == QLatin1String("audit") ? result.audits : result.errors)
                << match.captured(2);
        }
    }
    return result;
}

// The messages of a report's audit lines.
QStringList auditMessages(const QByteArray& report) {
    QStringList messages;
    for (const QByteArray& line : report.split('\n')) {
        if (!line.isEmpty()) {
            messages << QString::fromLatin1(line.trimmed().chopped(1).mid(21));
        }
    }
    return messages;
}

// The writes the import made, as the check words them, from the rows it added.
QStringList writtenRows(const QString& rows, const char* wording, qsizetype before) {
    QStringList writes;
    for (const QString& row : rows.split('|', Qt::SkipEmptyParts).mid(before)) {
        QString text = QLatin1String(wording);
        for (const QString& value : row.split(':')) {
            text = text.arg(value);
        }
        writes << text;
    }
    return writes;
}

struct CheckCase {
    const char* upload;
    QByteArray file;
    QStringList answers;
    const char* report;
    const char* rows;
    const char* wording;
    QString summary;
    QStringList flags;
};

// For a file with every kind of record, the check writes nothing (the shop's tables and the audit
// reports stay as they were), and then the import does exactly what the check said, record by
// record: the same writes in the same order, the same audit lines, the same loader errors. Only a
// file with nothing to look at checks clean.
TEST(BatchCheck, PredictsTheImportRecordByRecordWritesNothingAndPassesOnlyACleanFile) {
    TestShop shop;
    shop.registerDemoShop(200);
    const CheckCase cases[] = {
        {"stocktake",
         "NXSTV100\r\n57," + barcode(57) + ",3\r\n57," + barcode(58) + ",2\r\n99999,U1,1\r\n" +
             "NUXADEL,NUXADEL,1\r\n58," + barcode(58) + ",5000\r\n99999999999,931,3\r\n58\r\n57,931,1\r\n",
         {},
         "StockTakeAuditFile.rep",
         "select stock_id, quantity from stocktake_counts order by count_id",
         "item %1, quantity %2",
         "8 records: 4 to write, 2 to audit, 2 errors, 4 flagged",
         {"the barcode 9310000000582 belongs to item 58, not to item 57",
          "the stock id 99999 is no longer on file", "the count 5000 is far from the 18 on hand",
          "the barcode 931 is not on file"}},
        {"orders",
         "NXORV100\r\n57," + barcode(57) + ",2\r\n30," + barcode(30) + ",1\r\n99999," + barcode(58) +
             ",4\r\n57," + barcode(58) + ",1\r\nNUXADEL,NUXADEL,1\r\n2147483648,931,6\r\n",
         {},
         "OrdersAuditFile.rep",
         "select stock_id, quantity from order_lines order by line_id",
         "item %1, quantity %2",
         "6 records: 3 to write, 2 to audit, 1 errors, 1 flagged",
         {"the stock id 99999 is no longer on file"}},
        {"goods",
         "NXGRV100\r\n57," + barcode(57) + ",4,102,3\r\n58," + barcode(58) + ",0,,2\r\n57,U9,0,102,1\r\n" +
             "NUXADEL,NUXADEL,0,,1\r\n57," + barcode(57) + ",,99999999999,3\r\n30," + barcode(30) +
             ",,,2\r\n",
         {"--supplier", "3", "--order-no", "5678"},
         "GoodsRecAuditFile.rep",
         "select stock_id, order_id, reference, quantity, supplier_id from goods_received order by "
         "received_id",
         "item %1, order %2, reference %3, quantity %4, supplier %5",
         "6 records: 3 to write, 2 to audit, 1 errors, 0 flagged",
         {}},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.upload);
        const QString path = writeBytes(shop.folder() + "/upload.dat", c.file);
        const QStringList before = shopAndReports(shop);
        const ProgramRun check = batch(QStringList{QStringLiteral("check-") + c.upload, path} + c.answers, 3);
        EXPECT_EQ(shopAndReports(shop), before);
        const Listing predicted = listing(check.output);
        EXPECT_EQ(predicted.summary, c.summary);
        EXPECT_EQ(predicted.flags, c.flags);

        ShopRows db;
        const qsizetype rowsBefore = db.rows(c.rows).split('|', Qt::SkipEmptyParts).size();
        const ProgramRun import = batch(QStringList{QStringLiteral("import-") + c.upload, path} + c.answers);
        EXPECT_EQ(writtenRows(db.rows(c.rows), c.wording, rowsBefore), predicted.writes);
        EXPECT_EQ(auditMessages(readBytes(shop.folder() + '/' + c.report)), predicted.audits);
        const QStringList loaderErrors =
            QString::fromLocal8Bit(import.errors).split('\n').filter(QRegularExpression("^Error in fLoad"));
        EXPECT_EQ(loaderErrors, predicted.errors);
    }
    // Every record would load as it stands: clean. One record to look at fails the check, though it
    // would load; a file that is not there is an error, never clean.
    const auto check = [&shop](const QByteArray& records, int status) {
        return batch({"check-stocktake", writeBytes(shop.folder() + "/Stock.dat", "NXSTV100\r\n" + records)},
                     status)
            .output;
    };
    EXPECT_EQ(check("57," + barcode(57) + ",3\r\n", 0),
              "line 2: write count: item 57, quantity 3\n"
              "1 records: 1 to write, 0 to audit, 0 errors, 0 flagged\n");
    EXPECT_TRUE(check("57," + barcode(57) + ",3\r\n57," + barcode(57) + ",-1\r\n", 3)
                    .endsWith("2 records: 2 to write, 0 to audit, 0 errors, 1 flagged\n"));
    batch({"check-orders", shop.folder() + "/Orders.dat"}, 1,
          "There is no upload file at " + (shop.folder() + "/Orders.dat").toUtf8() + '\n');
}

}  // namespace
