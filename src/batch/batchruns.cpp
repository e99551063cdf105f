#include "batch/batchruns.h"

#include "batch/standardoutput.h"
#include "imports/importrun.h"
#include "imports/variancereport.h"
#include "platform/wholefile.h"
#include "startup/program.h"

namespace {

QString stateText(const ImportRun& run) {
    if (run.undone()) {
        return QStringLiteral("undone ") + run.undoneAt;
    }
    return run.ended() ? QStringLiteral("ended ") + run.endedAt : QStringLiteral("stopped part of the way");
}

// The run a variance report is of: the one asked for, unless it was undone, or the latest ended
// stocktake run that wrote a count (an empty upload counted nothing, and is no stocktake).
std::optional<ImportRun> stocktakeRun(Program& program, const BatchOptions& options) {
    const QList<ImportRun> runs = program.runs->Runs();
    for (auto run = runs.crbegin(); run != runs.crend(); ++run) {
        const bool wanted =
            options.run ? run->id == *options.run : run->ended() && !run->undone() && run->recordsWritten > 0;
        if (!wanted || run->kind != QLatin1String("stocktake")) {
            continue;
        }
        if (run->undone()) {
            program.prompts.notice(
                QStringLiteral("Run %1 was undone on %2 UTC: it has no counts to report on")
                    .arg(run->id)
                    .arg(run->undoneAt));
            return std::nullopt;
        }
        return *run;
    }
    program.prompts.notice(options.run ? QStringLiteral("Run %1 is not a stocktake run").arg(*options.run)
                                       : QStringLiteral("There is no ended stocktake run to report on"));
    return std::nullopt;
}

}  // namespace

int listRuns(Program& program) {
    writeOutputLine(
        QStringLiteral("run  kind       started (UTC)        how it ended                      "
                       "lines taken in  written  file"));
    for (const ImportRun& run : program.runs->Runs()) {
        writeOutputLine(QStringLiteral("%1  %2  %3  %4  %5  %6  %7")
                            .arg(run.id, 3)
                            .arg(run.kind, -9)
                            .arg(run.startedAt, -19)
                            .arg(stateText(run), -32)
                            .arg(QStringLiteral("%1 of %2").arg(run.lastLine).arg(run.linesInFile), 14)
                            .arg(run.recordsWritten, 7)
                            .arg(run.fileName));
    }
    return 0;
}

int undoRun(Program& program, const BatchOptions& options) {
    const qint64 runId = *options.run;
    const QString refusal = undoImportRun(*program.runs, runId);
    if (!refusal.isEmpty()) {
        program.prompts.notice(refusal);
        return 1;
    }
    writeOutputLine(QStringLiteral("Run %1 was undone").arg(runId));
    return 0;
}

int reportVariance(Program& program, const BatchOptions& options) {
    const std::optional<ImportRun> run = stocktakeRun(program, options);
    if (!run) {
        return 1;
    }
    const VarianceReport report = varianceReport(*program.runs, *run);
    for (const QString& line : varianceText(report)) {
        writeOutputLine(line);
    }
    std::fflush(stdout);
    if (options.csvFile.isEmpty()) {
        return 0;
    }
    try {
        platform::WholeFile csv(options.csvFile, program.files);
        csv.write(varianceCsv(report));
        csv.commit();
    } catch (const ProgramError& error) {
        program.prompts.notice(
            errorText(QStringLiteral("Error in writing %1 = ").arg(options.csvFile), error));
        return 1;
    }
    return 0;
}
