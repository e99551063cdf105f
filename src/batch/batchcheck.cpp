#include "batch/batchcheck.h"

#include <QFileInfo>

#include "batch/standardoutput.h"
#include "imports/uploadcheck.h"
#include "startup/program.h"

namespace {

const UploadLoader& uploadKind(BatchOptions::Command command) {
    switch (command) {
        case BatchOptions::Command::CheckStocktake:
            return stocktakeUpload();
        case BatchOptions::Command::CheckOrders:
            return ordersUpload();
        default:
            return goodsReceivedUpload();
    }
}

}  // namespace

int runCheck(Program& program, const BatchOptions& options) {
    const UploadLoader& kind = uploadKind(options.command);
    CheckSummary summary;
    const ProcessOutcome outcome =
        checkUploadFile(program, kind, options.path, [&kind, &summary](const CheckedRecord& record) {
            summary.count(record);
            writeOutputLine(checkedRecordText(kind, record));
        });
    if (outcome == ProcessOutcome::NoFile) {
        program.prompts.notice(
            QStringLiteral("There is no upload file at %1").arg(QFileInfo(options.path).absoluteFilePath()));
        return 1;
    }
    writeOutputLine(summary.text());
    std::fflush(stdout);
    if (outcome == ProcessOutcome::Stopped) {
        return 1;
    }
    return summary.clean() ? 0 : kCheckFoundProblems;
}
