// The batch command line killed part of the way through a long import.
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>

#include "demoshop.h"
#include "killedimport.h"
#include "programfiles.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

constexpr int kItems = 200;
constexpr int kRecords = 50000;

// A stocktake upload whose record r counts r of a demo item whose quantity factor is 1, except
// that every 50th record names no item and its barcode "U<r>", for the audit report.
struct LongUpload {
    QByteArray file = "NXSTV100\r\n";
    QList<int> counted, audited;
};

LongUpload longUpload() {
    LongUpload upload;
    for (int r = 1; r <= kRecords; ++r) {
        if (r % 50 == 0) {
            upload.file += "99999,U" + QByteArray::number(r) + "," + QByteArray::number(r) + "\r\n";
            upload.audited << r;
            continue;
        }
        const int id = 1 + r % 9 + 10 * ((r / 9) % 19);  // never a tenth item
        upload.file += QByteArray::number(id) + ',' + QByteArray::fromStdString(demoshop::demoBarcode(id)) +
                       ',' + QByteArray::number(r) + "\r\n";
        upload.counted << r;
    }
    return upload;
}

// The counts in the order they were written.
QList<int> countsInOrder(ShopRows& db) {
    QSqlQuery query(db.connection());
    EXPECT_TRUE(query.exec("select quantity from stocktake_counts order by count_id"));
    QList<int> counts;
    while (query.next()) {
        counts << query.value(0).toInt();
    }
    return counts;
}

// The records the audit report names, each line checked whole.
QList<int> auditedRecords(const QByteArray& report) {
    static const QRegularExpression line(
        "^\"\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d [ap]m-Error writing Stocktake barcode: Barcode = U(\\d+)Qty = "
        "(\\d+)\"$");
    QList<int> records;
    QList<QByteArray> lines = report.split('\n');
    EXPECT_EQ(lines.takeLast(), "") << "the report ends in the middle of a line";
    for (const QByteArray& text : lines) {
        const QRegularExpressionMatch match = line.match(QString::fromLatin1(text.chopped(1)));
        EXPECT_TRUE(text.endsWith('\r') && match.hasMatch() && match.captured(1) == match.captured(2))
            << "not a whole audit line: " << text.toStdString();
        records << match.captured(1).toInt();
    }
    return records;
}

// Killed at a random point (SIGKILL, nothing flushed or closed), the import leaves a shop database
// that passes its integrity check, counts that are exactly the first records of the file, and an
// audit report of whole lines naming exactly the records it skipped among them.
TEST(BatchCrash, AnImportKilledPartWayLeavesExactlyThePrefixItReached) {
    TestShop shop;
    shop.registerDemoShop(kItems);
    const LongUpload upload = longUpload();
    const QString path = writeBytes(shop.folder() + "/Stock.dat", upload.file);
    const int killAt =
        static_cast<int>(QRandomGenerator::global()->bounded(100, upload.counted.size() * 9 / 10));
    SCOPED_TRACE(QStringLiteral("killed after %1 counts").arg(killAt).toStdString());

    const QString output = shop.folder() + "/batch.out";
    ASSERT_TRUE(killImportAfterCounts(path, killAt, output))
        << "the import ended before it could be killed: " << readBytes(output).toStdString();

    ShopRows db;
    if (testEngine() == TestEngine::Sqlite) {
        EXPECT_EQ(db.rows("pragma integrity_check"), "ok");
    }
    const QList<int> counts = countsInOrder(db);
    ASSERT_GE(counts.size(), killAt);
    EXPECT_EQ(counts, upload.counted.first(counts.size()));
    // Every skipped record before the last count is in the report, and none after the next one.
    const QList<int> audited = auditedRecords(readBytes(shop.folder() + "/StockTakeAuditFile.rep"));
    EXPECT_EQ(audited, upload.audited.first(audited.size()));
    EXPECT_GE(audited.size(), counts.last() / 50);
    if (counts.size() < upload.counted.size()) {
        EXPECT_LE(audited.size(), upload.counted[counts.size()] / 50);
    }
}

}  // namespace
