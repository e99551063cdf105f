#include "imports/uploadfile.h"

#include <QFileInfo>

#include "imports/numerictext.h"
#include "imports/uploadlines.h"
#include "startup/modmain.h"

namespace {

void processLine(ModMain& modMain, const QString& line, const QString& headerPrefix,
                 const RecordLoader& loader) {
    const QString trimmed = trimBlanks(line);
    if (trimmed.startsWith(headerPrefix) || trimmed.isEmpty()) {
        return;
    }
    TextArray fields = modMain.tools.Split(line, QLatin1Char(','));
    ++modMain.run.records;
    modMain.menu->yield();
    modMain.menu->setStatus(QStringLiteral("Processing Barcode=") + fields.at(1));
    loader(modMain, fields);
}

}  // namespace

ProcessOutcome processUploadFile(ModMain& modMain, const QString& path, const QString& headerPrefix,
                                 const RecordLoader& loader, qint64 firstLine) {
    // Only an upload that is not there is no work: a pipe or a device in its place is refused by
    // the reader's open, with a message, rather than taken for no file.
    const QFileInfo upload(path);
    if (!upload.exists() || upload.isDir()) {
        return ProcessOutcome::NoFile;
    }
    UploadRun& run = modMain.run;
    run = UploadRun{run.stopWhenTheShopCannotWrite};
    UploadLineReader reader(path);
    try {
        reader.open();
        QString line;
        for (qint64 lineNumber = 1; reader.readLine(line); ++lineNumber) {
            run.line = lineNumber;
            if (lineNumber < firstLine) {
                continue;
            }
            processLine(modMain, line, headerPrefix, loader);
            if (run.shopCannotWrite && run.stopWhenTheShopCannotWrite) {
                run.stoppedAtLine = lineNumber;
                reader.close();
                return ProcessOutcome::Stopped;
            }
        }
    } catch (const ProgramError& error) {
        reportProcessingError(modMain, error);
        reader.close();
        return ProcessOutcome::Stopped;
    }
    reader.close();
    return ProcessOutcome::Completed;
}

void reportProcessingError(ModMain& modMain, const ProgramError& error) {
    modMain.prompts.notice(errorText(QStringLiteral("Error in process despatch file = "), error));
}
