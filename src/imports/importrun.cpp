#include "imports/importrun.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "imports/runquestions.h"
#include "platform/fileerror.h"
#include "platform/processtag.h"
#include "startup/program.h"

namespace {

// A time the shop database keeps (UTC) as the user's clock shows it.
QString localTime(const QString& utc) {
    const QDateTime read = QDateTime::fromString(utc, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return QDateTime(read.date(), read.time(), Qt::UTC)
        .toLocalTime()
        .toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

// The latest import of the kind that stopped part of the way: one whose process still runs is
// being loaded now, beside this one, and has not stopped.
std::optional<ImportRun> stoppedRun(ImportRuns& runs, const UploadLoader& kind) {
    for (const ImportRun& run : runs.UnfinishedRuns(kind.runKind)) {
        if (!platform::processRunning(run.process)) {
            return run;
        }
    }
    return std::nullopt;
}

// Where processing starts: 1 for the whole file, the line after an unfinished run's last to carry
// it on, 0 to load nothing. Undoing an unfinished run that cannot be undone loads nothing either.
qint64 settleEarlierRuns(Program& program, const UploadLoader& kind, const UploadFacts& facts,
                         std::optional<qint64>& resumedRun) {
    ImportRuns& runs = *program.runs;
    if (const std::optional<ImportRun> unfinished = stoppedRun(runs, kind)) {
        const QString question =
            QStringLiteral(
                "The last import of %1 stopped at line %2 of %3. Undo what it wrote before "
                "loading again?")
                .arg(unfinished->fileName)
                .arg(unfinished->lastLine)
                .arg(unfinished->linesInFile);
        switch (program.runQuestions->unfinishedRun(question, unfinished->checksum == facts.checksum,
                                                    unfinished->lastLine + 1)) {
            case RunQuestions::Unfinished::Undo: {
                const QString refusal = runs.UndoRun(unfinished->id);
                if (!refusal.isEmpty()) {
                    program.prompts.notice(refusal);
                    return 0;
                }
                return 1;
            }
            case RunQuestions::Unfinished::Resume:
                resumedRun = unfinished->id;
                return unfinished->lastLine + 1;
            case RunQuestions::Unfinished::Stop:
                return 0;
        }
    }
    if (const std::optional<ImportRun> earlier = runs.EndedRunOfFile(kind.runKind, facts.checksum)) {
        const QString question = QStringLiteral("This file was already loaded on %1. Load it again?")
                                     .arg(localTime(earlier->endedAt));
        return program.runQuestions->loadAgain(question) ? 1 : 0;
    }
    return 1;
}

}  // namespace

QString undoImportRun(ImportRuns& runs, qint64 runId) {
    for (const ImportRun& run : runs.Runs()) {
        if (run.id == runId && !run.ended() && !run.undone() && platform::processRunning(run.process)) {
            return QStringLiteral("Run %1 is still loading %2: it can be undone once it has stopped")
                .arg(runId)
                .arg(run.fileName);
        }
    }
    return runs.UndoRun(runId);
}

UploadFacts uploadFacts(const QString& path) {
    QFile file(path);
    platform::openPlainFile(file, QIODevice::ReadOnly);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    UploadFacts facts;
    char last = '\n';
    bool afterCr = false;
    while (!file.atEnd()) {
        const QByteArray block = file.read(1 << 16);
        if (block.isEmpty() && file.error() != QFileDevice::NoError) {
            throw platform::fileError(file);
        }
        hash.addData(block);
        for (const char byte : block) {
            // A line ends at CR LF, a lone LF or a lone CR, as the upload reader reads it.
            facts.lines += (byte == '\r' || (byte == '\n' && !afterCr)) ? 1 : 0;
            afterCr = byte == '\r';
        }
        last = block.isEmpty() ? last : block.back();
    }
    facts.lines += (last == '\n' || last == '\r') ? 0 : 1;
    facts.checksum = QString::fromLatin1(hash.result().toHex());
    return facts;
}

// Where an import run starts: its number, and the line processing starts at.
struct RunStart {
    qint64 run = 0;
    qint64 firstLine = 0;
};

// Begins the run, or carries the resumed one on; nothing when no line is to be loaded.
std::optional<RunStart> beginRun(Program& program, const UploadLoader& kind, const QFileInfo& upload) {
    const UploadFacts facts = uploadFacts(upload.filePath());
    std::optional<qint64> resumedRun;
    const qint64 firstLine = settleEarlierRuns(program, kind, facts, resumedRun);
    if (firstLine == 0) {
        return std::nullopt;
    }
    if (resumedRun) {
        program.runs->ResumeRun(*resumedRun, platform::thisProcessTag());
        return RunStart{*resumedRun, firstLine};
    }
    return RunStart{program.runs->BeginRun(kind.runKind, upload.absoluteFilePath(), facts.checksum,
                                           facts.lines, platform::thisProcessTag()),
                    firstLine};
}

ProcessOutcome processImport(Program& program, const UploadLoader& kind, const QString& path,
                             const RecordLoader& loader) {
    const QFileInfo upload(path);
    program.run.importRun.reset();
    if (program.runs == nullptr || !upload.isFile()) {
        return processUploadFile(program, path, kind.headerPrefix, loader);
    }
    std::optional<RunStart> start;
    try {
        start = beginRun(program, kind, upload);
    } catch (const ProgramError& error) {
        // A shop that cannot take writes now cannot take the run either: nothing was loaded, and
        // the file starts again from its first line.
        reportProcessingError(program, error);
        program.run = UploadRun{program.run.stopWhenTheShopCannotWrite, std::nullopt};
        program.run.stoppedAtLine = error.lasting() && program.run.stopWhenTheShopCannotWrite ? 1 : 0;
        return ProcessOutcome::Stopped;
    }
    if (!start) {
        return ProcessOutcome::Stopped;
    }
    program.run.importRun = start->run;
    const ProcessOutcome outcome =
        processUploadFile(program, path, kind.headerPrefix, loader, start->firstLine);
    if (outcome != ProcessOutcome::Completed) {
        return outcome;
    }
    try {
        program.runs->EndRun(start->run, program.run.line);
    } catch (const ProgramError& error) {
        reportProcessingError(program, error);
        return ProcessOutcome::Stopped;
    }
    return outcome;
}
