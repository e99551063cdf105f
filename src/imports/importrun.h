#pragma once

#include "imports/uploadfile.h"
#include "imports/uploadloader.h"
#include "outside/importruns.h"

struct Program;

// An upload file's checksum (SHA-256, in hex) and its number of lines.
struct UploadFacts {
    QString checksum;
    qint64 lines = 0;
};

// Reads the whole file for its facts; raises ProgramError when it cannot be read.
UploadFacts uploadFacts(const QString& path);

// Undoes an import run unless its process is loading it still; gives why it was not undone, or
// an empty text.
QString undoImportRun(ImportRuns& runs, qint64 runId);

// Processes an upload file as an import run that the shop database keeps: before anything is
// written, an earlier import of the kind that stopped part of the way, or an earlier import of
// the same file, is put to the run questions; then every write carries the run and its line, and
// the run ends when the file has been read to its end. Without the shop's record of runs, the
// file is processed as it is.
ProcessOutcome processImport(Program& program, const UploadLoader& kind, const QString& path,
                             const RecordLoader& loader);
