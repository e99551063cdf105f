#include "batch/batchruns.h"

#include "batch/standardoutput.h"
#include "imports/importrun.h"
#include "imports/runlisting.h"
#include "imports/variancereport.h"
#include "platform/wholefile.h"
#include "startup/program.h"

namespace {

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
    writeOutputLine(runLine(runHeadings()));
    for (const ImportRun& run : program.runs->Runs()) {
        writeOutputLine(runLine(runCells(run)));
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
    writeOutputLine(undoneText(runId));
    return 0;
}

int reportVariance(Program& program, const BatchOptions& options) {
    const std::optional<ImportRun> run = stocktakeRun(program, options);
    if (!run) {
        return 1;
    }
    // The spreadsheet is written as the report is read, and takes its place only once whole; a
    // failure to write it leaves the report on the screen whole, and is told after it.
    std::optional<platform::WholeFile> csv;
    std::optional<ProgramError> csvFailure;
    const auto tryCsv = [&csvFailure](const auto& step) {
        try {
            step();
        } catch (const ProgramError& error) {
            csvFailure = error;
        }
    };
    if (!options.csvFile.isEmpty()) {
        tryCsv([&] { csv.emplace(options.csvFile, program.files); });
    }
    VarianceSinks sinks;
    sinks.textLine = writeOutputLine;
    if (csv) {
        sinks.csvRow = [&](const QByteArray& row) {
            if (!csvFailure) {
                tryCsv([&] { csv->write(row); });
            }
        };
    }
    writeVarianceReport(*program.runs, *run, sinks);
    std::fflush(stdout);
    if (csv && !csvFailure) {
        tryCsv([&] { csv->commit(); });
    }
    if (csvFailure) {
        program.prompts.notice(
            errorText(QStringLiteral("Error in writing %1 = ").arg(options.csvFile), *csvFailure));
        return 1;
    }
    return 0;
}
