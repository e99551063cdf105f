#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>

#include "faultydevices.h"
#include "imports/auditreport.h"
#include "imports/goodsreceivedimport.h"
#include "imports/ordersimport.h"
#include "importtest.h"

TEST_F(ImportTest, LinesEndAtCrLfOrALoneCrAndHeadersAndBlankLinesAreSkipped) {
    const QByteArray head =
        "NXSTV100,1\r\n57,a\rb,1\r\nc\nd,2\r\n\r\n   \r\n   NXSTV100,x\r\nnxstv100,y\r\nn" +
        QByteArray(1, '\0') + ",z\r\n";
    // A CR LF that falls across two reads of the file is still one line end.
    const QByteArray padding(64 * 1024 - 1 - head.size() - 2, 'x');
    QStringList records;
    const auto loader = [&records](Program&, TextArray& fields) {
        records << fields.at(1) + u'|' + fields.at(2);
    };
    const QString path = writeFile("Stock.dat", head + "p," + padding + "\r\nlast,3");
    EXPECT_EQ(processUploadFile(program, path, "NXST", loader), ProcessOutcome::Completed);
    EXPECT_EQ(records,
              QStringList({"57|a", "b|1", "c\nd|2", "nxstv100|y", QStringLiteral("n") + QChar(0) + "|z",
                           "p|" + QString::fromLatin1(padding), "last|3"}));
    EXPECT_EQ(menu.statuses.first(), "Processing Barcode=57");
    EXPECT_EQ(menu.statuses.size(), 7);
    EXPECT_EQ(menu.yields, 7);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// A line longer than any scanner writes (by one character past the longest allowed) stops the
// file quickly, before the completion text.
TEST_F(ImportTest, AnOverlongLineStopsTheFileWithTheProgramsOwnMessage) {
    upload = writeFile("Goods.dat", "NXGRV100\r\n" + QByteArray(1'048'577, '7') + "\r\n1,2,3,4,5\r\n");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(fProcessGoodsReceivedFile(program, upload), ProcessOutcome::Stopped);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(calls, QStringList{"Start -1 5 2"});
    EXPECT_NE(menu.status(), "Completed Processing Barcodes");
    EXPECT_EQ(prompts.shown,
              QStringList{"Error in process despatch file = 75-Line longer than 1048576 characters"});
}

// An upload that is not there (nor a folder of that name) is no work; a pipe or a device in its
// place is refused before any read, so nothing waits on it for ever.
TEST_F(ImportTest, AnUploadThatIsAPipeOrADeviceIsRefusedAndNotWaitedOn) {
    const QString pipe = dir.filePath("Pipe.dat"), device = dir.filePath("Device.dat");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", device));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Folder.dat"));
    const auto never = [](Program&, TextArray&) { ADD_FAILURE() << "a record was read"; };
    for (const auto& [name, outcome] : {std::pair{"Missing.dat", ProcessOutcome::NoFile},
                                        {"Folder.dat", ProcessOutcome::NoFile},
                                        {"Pipe.dat", ProcessOutcome::Stopped},
                                        {"Device.dat", ProcessOutcome::Stopped}}) {
        EXPECT_EQ(processUploadFile(program, dir.filePath(name), "NXST", never), outcome) << name;
    }
    EXPECT_EQ(prompts.shown, QStringList(2, "Error in process despatch file = 75-Path/File access error"));
}

// Each call appends one quoted, time-stamped line. A disk that fills part of the way through a line
// leaves the report as it was: the next line starts on a line of its own, never glued onto half of
// this one. A report that cannot be written gives an error box instead of the warning, and the
// file being processed goes on.
TEST_F(ImportTest, AuditReportAppendsOneQuotedTimeStampedLinePerCallOrReportsTheFailure) {
    writeFile("StockTakeAuditFile.rep", "\"earlier line\"\r\n");
    fWriteAuditReport(program, "", dir.path(), "\\OrdersAuditFile");  // an empty message does nothing
    for (const qint64 room : {5, 0}) {
        program.files = faultyDevices({room});
        fWriteAuditReport(program, "message", dir.path(), "\\StockTakeAuditFile");
    }
    program.files = {};
    for (const int hour : {0, 12, 13}) {
        program.now = [hour] { return QDateTime(QDate(2026, 12, 4), QTime(hour, 5)); };
        fWriteAuditReport(program, "say \"hi\"", dir.path(), "\\StockTakeAuditFile");
    }
    EXPECT_EQ(readFile("StockTakeAuditFile.rep"),
              "\"earlier line\"\r\n\"04/12/2026 12:05 am-say \"hi\"\"\r\n"
              "\"04/12/2026 12:05 pm-say \"hi\"\"\r\n\"04/12/2026 01:05 pm-say \"hi\"\"\r\n");
    EXPECT_EQ(prompts.shown,
              QStringList(2, "Error in writing audit report = 61 - Disk full") + QStringList(3, kWarning));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"StockTakeAuditFile.rep"});

    prompts.shown.clear();
    QFile::remove(dir.filePath("StockTakeAuditFile.rep"));
    program.appPath = dir.filePath("missing");
    upload = writeFile("Orders.dat", "NXORV100\r\n1,NUXADEL,1\r\n2,NUXADEL,2\r\n");
    EXPECT_EQ(fProcessOrdersFile(program, upload), ProcessOutcome::Completed);
    EXPECT_EQ(menu.statuses, QStringList({"Processing Barcode=1", "Processing Barcode=2"}));
    // A pipe is no report.
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("StockTakeAuditFile.rep")).constData(), 0600), 0);
    fWriteAuditReport(program, "message", dir.path(), "\\StockTakeAuditFile");
    const QStringList errors{"76 - ", "76 - ", "75 - "};
    ASSERT_EQ(prompts.shown.size(), errors.size());
    for (qsizetype i = 0; i < errors.size(); ++i) {
        EXPECT_TRUE(prompts.shown[i].startsWith("Error in writing audit report = " + errors[i]))
            << prompts.shown[i].toStdString();
    }
}
