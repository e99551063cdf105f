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
// except that every 50th line names no item and its barcode "U<l>": the audit report's lines.
struct LongUpload {
    QByteArray file = "NXSTV100\r\n";
    QList<int> counted;
    QString audits;
};

LongUpload longUpload() {
    LongUpload upload;
    for (int line = 2; line <= kRecords + 1; ++line) {
        const QByteArray number = QByteArray::number(line);
        const int id = 1 + line % 9 + 10 * ((line / 9) % 19);  // never a tenth item
        if (line % 50 == 0) {
            upload.file += "99999,U" + number + ',' + number + "\r\n";
            upload.audits +=
                QStringLiteral("Error writing Stocktake barcode: Barcode = U%1Qty = %1\"\r\n").arg(line);
        } else {
            upload.file += QByteArray::number(id) + ',' +
                           QByteArray::fromStdString(demoshop::demoBarcode(id)) + ',' + number + "\r\n";
            upload.counted << line;
        }
    }
    return upload;
}

// Killed at a random point (SIGKILL, nothing flushed or closed), the import leaves a shop database
// that passes its integrity check, counts that are exactly the first records of the file, and an
// audit report of whole lines naming exactly the records it skipped among them. The next import
// loads nothing until told, and --resume carries on only the file that stopped; undone first with
// --undo-unfinished, then, killed again, carried on with --resume, every counted line of the file
// ends up loaded exactly once, and a run once undone is not asked about again.
TEST(BatchCrash, AnImportKilledPartWayLeavesThePrefixItReachedThenIsResumedOrUndone) {
    TestShop shop;
    shop.registerDemoShop(200);
    const LongUpload upload = longUpload();
    const QString path = writeBytes(shop.folder() + "/Stock.dat", upload.file);
    const QString report = shop.folder() + "/StockTakeAuditFile.rep";
    ShopRows db;
    for (const char* answer : {"--undo-unfinished", "--resume"}) {
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
        QList<int> counts;
        for (const QString& count : db.rows("select quantity from stocktake_counts order by count_id")
                                        .split('|', Qt::SkipEmptyParts)) {
            counts << count.toInt();
        }
        ASSERT_GE(counts.size(), killAt);
        EXPECT_EQ(counts, upload.counted.first(counts.size()));
        // The report's lines are whole, each naming a skipped record in the file's order: every one
        // before the last count, and none after the next.
        static const QRegularExpression timeStamp("^\"\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d [ap]m-",
                                                  QRegularExpression::MultilineOption);
        const QString audits = QString::fromLatin1(readBytes(report)).remove(timeStamp);
        EXPECT_TRUE(upload.audits.startsWith(audits) && audits.endsWith('\n')) << audits.toStdString();
        const qsizetype audited = audits.count('\n');
        EXPECT_GE(audited, counts.last() / 50);
        if (counts.size() < upload.counted.size()) {
            EXPECT_LE(audited, upload.counted[counts.size()] / 50);
        }

        const QStringList killed = db.shopTables();
        const QString other = writeBytes(shop.folder() + "/Other.dat", "NXSTV100\r\n5,9310000000056,1\r\n");
        EXPECT_TRUE(batch({"import-stocktake", other, "--resume"}, 1)
                        .output.startsWith("Nothing was loaded: --resume carries on the same file only\n"));
        const int lastLine = counts.last();
        EXPECT_TRUE(
            QString::fromUtf8(batch({"runs"}).output)
                .contains(QRegularExpression(
                    QStringLiteral("stopped part of the way +%1 of %2 ").arg(lastLine).arg(kRecords + 1))));
        const ProgramRun refused =
            batch({"import-stocktake", path}, 1,
                  QStringLiteral("The last import of %1 stopped at line %2 of %3. Undo what it wrote before "
                                 "loading again?\n")
                      .arg(path)
                      .arg(lastLine)
                      .arg(kRecords + 1)
                      .toUtf8());
        EXPECT_TRUE(refused.output.startsWith(
            QStringLiteral("Nothing was loaded: give --undo-unfinished to undo it "
                           "first, or --resume to carry the same file on from line %1\n")
                .arg(lastLine + 1)
                .toUtf8()));
        EXPECT_EQ(db.shopTables(), killed);

        batch({"import-stocktake", path, answer});
        EXPECT_EQ(db.rows("select count(*), count(distinct line_no), min(line_no), max(line_no), "
                          "sum(case when quantity = line_no then 1 else 0 end) from stocktake_counts"),
                  QStringLiteral("%1:%1:2:%2:%1").arg(upload.counted.size()).arg(kRecords + 1));
        EXPECT_TRUE(batch({"runs"}).output.contains(QStringLiteral("%1 of %1").arg(kRecords + 1).toUtf8()));
        // Made ready for the next way on: the file's counts taken back whole.
        batch({"undo", db.rows("select max(run_id) from import_runs where undone_at is null")});
        EXPECT_EQ(db.rows("select count(*) from stocktake_counts"), "0");
    }
}

}  // namespace
