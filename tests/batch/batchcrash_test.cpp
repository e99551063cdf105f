// The batch command line killed part of the way through a long import, and the next import of the
// same file.
#include <QRandomGenerator>
#include <QRegularExpression>

#include "batchprogram.h"
#include "demoshop.h"
#include "killedimport.h"
#include "shoprows.h"
#include "testengine.h"
#include "testshop.h"

namespace {

constexpr int kRecords = 20000;

// A stocktake upload whose record on line l counts l of a demo item whose quantity factor is 1,
// except that every 50th line names no item and its barcode "U<l>", for the audit report.
struct LongUpload {
    QByteArray file = "NXSTV100\r\n";
    QList<int> counted, audited;
};

LongUpload longUpload() {
    LongUpload upload;
    for (int line = 2; line <= kRecords + 1; ++line) {
        const QByteArray number = QByteArray::number(line);
        if (line % 50 == 0) {
            upload.file += "99999,U" + number + "," + number + "\r\n";
            upload.audited << line;
            continue;
        }
        const int id = 1 + line % 9 + 10 * ((line / 9) % 19);  // never a tenth item
        upload.file += QByteArray::number(id) + ',' + QByteArray::fromStdString(demoshop::demoBarcode(id)) +
                       ',' + number + "\r\n";
        upload.counted << line;
    }
    return upload;
}

// The counts in the order they were written.
QList<int> countsInOrder(ShopRows& db) {
    QList<int> counts;
    for (const QString& count :
         db.rows("select quantity from stocktake_counts order by count_id").split('|', Qt::SkipEmptyParts)) {
        counts << count.toInt();
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
// audit report of whole lines naming exactly the records it skipped among them. The next import of
// the file loads nothing until told; carried on with --resume, or undone first with
// --undo-unfinished, every counted line of the file ends up loaded exactly once.
TEST(BatchCrash, AnImportKilledPartWayLeavesThePrefixItReachedThenIsResumedOrUndone) {
    TestShop shop;
    shop.registerDemoShop(200);
    const LongUpload upload = longUpload();
    const QString path = writeBytes(shop.folder() + "/Stock.dat", upload.file);
    const QString report = shop.folder() + "/StockTakeAuditFile.rep";
    const QString loadedOnce = QStringLiteral("%1:%1:2:%2:%1").arg(upload.counted.size()).arg(kRecords + 1);
    ShopRows db;
    for (const char* answer : {"--resume", "--undo-unfinished"}) {
        const int killAt =
            static_cast<int>(QRandomGenerator::global()->bounded(100, upload.counted.size() * 9 / 10));
        SCOPED_TRACE(QStringLiteral("%1, killed after %2 counts").arg(answer).arg(killAt).toStdString());
        QFile::remove(report);
        const QString output = shop.folder() + "/batch.out";
        ASSERT_TRUE(killImportAfterCounts(path, killAt, output))
            << "the import ended before it could be killed: " << readBytes(output).toStdString();

        if (testEngine() == TestEngine::Sqlite) {
            EXPECT_EQ(db.rows("pragma integrity_check"), "ok");
        }
        const QList<int> counts = countsInOrder(db);
        ASSERT_GE(counts.size(), killAt);
        EXPECT_EQ(counts, upload.counted.first(counts.size()));
        // Every skipped record before the last count is in the report, and none after the next one.
        const QList<int> audited = auditedRecords(readBytes(report));
        EXPECT_EQ(audited, upload.audited.first(audited.size()));
        EXPECT_GE(audited.size(), counts.last() / 50);
        if (counts.size() < upload.counted.size()) {
            EXPECT_LE(audited.size(), upload.counted[counts.size()] / 50);
        }

        const QStringList killed = db.shopTables();
        const QString lastLine = db.rows("select max(line_no) from stocktake_counts");
        batch({"import-stocktake", path}, 1,
              QStringLiteral("The last import of %1 stopped at line %2 of %3. Undo what it "
                             "wrote before loading again?\nNothing was loaded: give "
                             "--undo-unfinished to undo it first, or --resume to carry the "
                             "same file on from line %4\n")
                  .arg(path, lastLine)
                  .arg(kRecords + 1)
                  .arg(lastLine.toInt() + 1)
                  .toUtf8());
        EXPECT_EQ(db.shopTables(), killed);

        batch({"import-stocktake", path, answer});
        EXPECT_EQ(db.rows("select count(*), count(distinct line_no), min(line_no), max(line_no), "
                          "sum(case when quantity = line_no then 1 else 0 end) from stocktake_counts"),
                  loadedOnce);
        EXPECT_TRUE(batch({"runs"}).output.contains(QStringLiteral("%1 of %1").arg(kRecords + 1).toUtf8()));
        // Made ready for the next way on: the file's counts taken back whole.
        const QString run = db.rows("select max(run_id) from import_runs where undone_at is null");
        batch({"undo", run});
        EXPECT_EQ(db.rows("select count(*) from stocktake_counts"), "0");
    }
}

}  // namespace
