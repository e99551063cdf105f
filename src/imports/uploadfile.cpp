#include "imports/uploadfile.h"

#include <QFileInfo>

#include "imports/numerictext.h"
#include "imports/uploadlines.h"
#include "startup/program.h"

namespace {

void processLine(Program& program, const QString& line, const QString& headerPrefix,
                 const RecordLoader& loader) {
    const QString trimmed = trimBlanks(line);
    if (trimmed.startsWith(headerPrefix) || trimmed.isEmpty()) {
        return;
    }
    TextArray fields = program.tools.Split(line, QLatin1Char(','));
    ++program.run.records;
    program.progress->yield();
    program.progress->setStatus(QStringLiteral("Processing Barcode=") + fields.at(1));
    loader(program, fields);
}

}  // namespace

ProcessOutcome processUploadFile(Program& program, const QString& path, const QString& headerPrefix,
                                 const RecordLoader& loader, qint64 firstLine) {
    // Only an upload that is not there is no work: a pipe or a device in its place is refused by
    // the reader's open, with a message, rather than taken for no file.
    const QFileInfo upload(path);
    if (!upload.exists() || upload.isDir()) {
        return ProcessOutcome::NoFile;
    }
    UploadRun& run = program.run;
    run = UploadRun{run.stopWhenTheShopCannotWrite, run.importRun};
    UploadLineReader reader(path);
    try {
        reader.open();
        QString line;
        for (qint64 lineNumber = 1; reader.readLine(line); ++lineNumber) {
            run.line = lineNumber;
            if (lineNumber < firstLine) {
                continue;
            }
            processLine(program, line, headerPrefix, loader);
            if (run.shopCannotWrite && run.stopWhenTheShopCannotWrite) {
                run.stoppedAtLine = lineNumber;
                reader.close();
                return ProcessOutcome::Stopped;
            }
        }
    } catch (const ProgramError& error) {
        reportProcessingError(program, error);
        reader.close();
        return ProcessOutcome::Stopped;
    }
    reader.close();
    return ProcessOutcome::Completed;
}

void reportProcessingError(Program& program, const ProgramError& error) {
    program.prompts.notice(errorText(QStringLiteral("Error in process despatch file = "), error));
}
