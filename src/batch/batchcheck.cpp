#include "batch/batchcheck.h"

#include <QFileInfo>

#include "batch/batchimport.h"
#include "batch/standardoutput.h"
#include "imports/uploadcheck.h"
#include "startup/program.h"

int runCheck(Program& program, const BatchOptions& options) {
    const UploadLoader& kind = commandUpload(options.command);
    const QString file = QFileInfo(options.path).absoluteFilePath();
    if (!QFileInfo::exists(file)) {
        program.prompts.notice(QStringLiteral("There is no upload file at %1").arg(file));
        return 1;
    }
    if (refusedBeforeLoading(program, options, file)) {
        return 1;
    }
    CheckSummary summary;
    const ProcessOutcome outcome =
        checkUploadFile(program, kind, options.path, [&kind, &summary](const CheckedRecord& record) {
            summary.count(record);
            writeOutputLine(checkedRecordText(kind, record));
        });
    writeOutputLine(summary.text());
    if (outcome != ProcessOutcome::Completed) {
        return 1;
    }
    return summary.clean() ? 0 : kCheckFoundProblems;
}
