#include "batch/batchcheck.h"

#include <QFileInfo>
#include <cstdio>

#include "imports/uploadcheck.h"
#include "startup/modmain.h"

namespace {

void writeOut(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

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

int runCheck(ModMain& modMain, const BatchOptions& options) {
    const UploadLoader& kind = uploadKind(options.command);
    CheckSummary summary;
    const ProcessOutcome outcome =
        checkUploadFile(modMain, kind, options.path, [&kind, &summary](const CheckedRecord& record) {
            summary.count(record);
            writeOut(checkedRecordText(kind, record));
        });
    if (outcome == ProcessOutcome::NoFile) {
        modMain.prompts.notice(
            QStringLiteral("There is no upload file at %1").arg(QFileInfo(options.path).absoluteFilePath()));
        return 1;
    }
    writeOut(summary.text());
    std::fflush(stdout);
    if (outcome == ProcessOutcome::Stopped) {
        return 1;
    }
    return summary.clean() ? 0 : kCheckFoundProblems;
}
