#include <QDir>
#include <QFile>

#include "imports/auditreport.h"
#include "importtest.h"

namespace {

using AuditReportTest = ImportTest;

TEST_F(AuditReportTest, AppendsOneQuotedTimeStampedLinePerCall) {
    writeFile(QStringLiteral("StockTakeAuditFile.rep"), "\"earlier line\"\r\n");
    const struct {
        QTime time;
        const char* message;
        const char* line;
    } cases[] = {
        {QTime(0, 5), "A", "\"04/12/2026 12:05 am-A\"\r\n"},
        {QTime(12, 5), "B", "\"04/12/2026 12:05 pm-B\"\r\n"},
        {QTime(13, 5), "say \"hi\"", "\"04/12/2026 01:05 pm-say \"hi\"\"\r\n"},
        {QTime(9, 59), "caf\xc3\xa9", "\"04/12/2026 09:59 am-caf\xe9\"\r\n"},
    };
    QByteArray expected = "\"earlier line\"\r\n";
    for (const auto& c : cases) {
        modMain.now = [&c] { return QDateTime(QDate(2026, 12, 4), c.time); };
        fWriteAuditReport(modMain, QString::fromUtf8(c.message), dir.path(),
                          QStringLiteral("\\StockTakeAuditFile"));
        expected += c.line;
    }
    EXPECT_EQ(readFile(QStringLiteral("StockTakeAuditFile.rep")), expected);
    EXPECT_EQ(prompts.shown, QStringList(4, QLatin1String(kWarning)));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"StockTakeAuditFile.rep"});
}

TEST_F(AuditReportTest, AnEmptyMessageDoesNothing) {
    fWriteAuditReport(modMain, QString(), dir.path(), QStringLiteral("\\OrdersAuditFile"));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(AuditReportTest, AFailedWriteIsReportedWithoutTheWarning) {
    QDir(dir.path()).mkdir(QStringLiteral("GoodsRecAuditFile.rep"));
    QFile::link(QStringLiteral("/dev/full"), dir.filePath(QStringLiteral("OrdersAuditFile.rep")));
    const struct {
        QString folder;
        const char* report;
        const char* error;
    } cases[] = {
        {dir.filePath(QStringLiteral("missing")), "\\StockTakeAuditFile", "76 - "},
        {dir.path(), "\\GoodsRecAuditFile", "75 - "},
        {dir.path(), "\\OrdersAuditFile", "61 - "},
    };
    for (const auto& c : cases) {
        prompts.shown.clear();
        fWriteAuditReport(modMain, QStringLiteral("message"), c.folder, QLatin1String(c.report));
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].startsWith(QLatin1String("Error in writing audit report = ") + c.error))
            << prompts.shown[0].toStdString();
    }
}

}  // namespace
