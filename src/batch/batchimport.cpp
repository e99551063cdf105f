#include "batch/batchimport.h"

#include <QDir>
#include <QFileInfo>

#include "batch/batchorderdetails.h"
#include "batch/standardoutput.h"
#include "imports/auditreport.h"
#include "imports/goodsreceivedimport.h"
#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"
#include "imports/uploadrecognition.h"
#include "startup/program.h"
#include "startup/startup.h"

namespace {

using Command = BatchOptions::Command;

ProcessOutcome processUpload(Program& program, const UploadLoader& kind, const QString& path) {
    if (&kind == &stocktakeUpload()) {
        return fProcessStocktakeFile(program, path);
    }
    return &kind == &ordersUpload() ? fProcessOrdersFile(program, path)
                                    : fProcessGoodsReceivedFile(program, path);
}

// The line that ends every import: what became of each record, and where the audit lines went.
QString summaryText(const UploadRun& run, const QString& file, const QString& report) {
    return QStringLiteral(
               "%1: %2 records, %3 written, %4 audited in %5, %6 with an error, %7 refused by the shop")
        .arg(file)
        .arg(run.records)
        .arg(run.loaded())
        .arg(run.audited)
        .arg(report)
        .arg(run.failed - run.refused)
        .arg(run.refused);
}

// An import stops at the first record that the shop database cannot write, when the next one
// could not be written either, and says where to start again; records it went on past without
// keeping them are counted in the summary and in the exit status, so that a schedule sees them.
int importStatus(Program& program, ProcessOutcome outcome, const QString& file, const QString& report) {
    const UploadRun& run = program.run;
    // Nothing to sum up when the run questions, or a shop that took no run, loaded nothing.
    if (run.importRun) {
        writeOutputLine(summaryText(run, file, report));
    }
    if (run.auditUnwritten > 0) {
        writeOutputLine(
            QStringLiteral("%1 audit lines could not be written to %2: those records are in no report")
                .arg(run.auditUnwritten)
                .arg(report));
    }
    if (run.stoppedAtLine > 0) {
        writeOutputLine(
            QStringLiteral("The shop database \"%1\" cannot take writes now: stopped at line %2 of "
                           "%3, after %4 records loaded; start again from line %2")
                .arg(shopDataSource())
                .arg(run.stoppedAtLine)
                .arg(file)
                .arg(run.loaded()));
        return 1;
    }
    if (outcome == ProcessOutcome::Stopped) {
        return 1;
    }
    return run.failed > 0 || run.auditUnwritten > 0 ? kRecordsNotKept : 0;
}

}  // namespace

const UploadLoader& commandUpload(Command command) {
    switch (command) {
        case Command::ImportStocktake:
        case Command::CheckStocktake:
        case Command::UploadStocktake:
            return stocktakeUpload();
        case Command::ImportOrders:
        case Command::CheckOrders:
        case Command::UploadOrders:
            return ordersUpload();
        default:
            return goodsReceivedUpload();
    }
}

bool refusedBeforeLoading(Program& program, const BatchOptions& options, const QString& path) {
    const UploadLoader& kind = commandUpload(options.command);
    QString mismatch;
    try {
        mismatch = options.loadAnyway ? QString() : uploadMismatch(path, kind);
    } catch (const ProgramError& error) {
        program.prompts.notice(QStringLiteral("Cannot read %1: %2").arg(path, error.description()));
        return true;
    }
    if (!mismatch.isEmpty()) {
        program.prompts.notice(
            QStringLiteral("%1 is not %2: %3. Nothing was loaded; --load-anyway loads it all the same")
                .arg(path, uploadKindName(kind), mismatch));
        return true;
    }
    const QString unknownSupplier =
        options.supplierId ? unknownSupplierText(program.shop, *options.supplierId) : QString();
    if (!unknownSupplier.isEmpty()) {
        program.prompts.notice(unknownSupplier + QStringLiteral(". Nothing was loaded"));
        return true;
    }
    return false;
}

int importUpload(Program& program, const BatchOptions& options, const QString& path,
                 const std::function<bool()>& passedOver) {
    const QString file = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (!QFileInfo::exists(file)) {
        writeOutputLine(QStringLiteral("There is no upload file at %1: nothing to import").arg(file));
        return 0;
    }
    if (refusedBeforeLoading(program, options, file)) {
        return 1;
    }
    const UploadLoader& kind = commandUpload(options.command);
    program.run.stopWhenTheShopCannotWrite = true;
    const ProcessOutcome outcome = processUpload(program, kind, file);
    if (passedOver()) {
        writeOutputLine(QStringLiteral("%1 was already loaded: nothing new to import").arg(file));
        return 0;
    }
    return importStatus(program, outcome, file, auditReportPath(program.appPath, kind.auditReport));
}
