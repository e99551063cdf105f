#pragma once

#include <QString>
#include <functional>

#include "platform/programerror.h"
#include "platform/textarray.h"

struct Program;

// How the processing of an upload file ended: no file at the path, every line read, or stopped
// by an error that has been reported.
enum class ProcessOutcome { NoFile, Completed, Stopped };

// Loads one upload record; reports its own errors, so that the processing goes on.
using RecordLoader = std::function<void(Program&, TextArray&)>;

// The processing every upload file shares: each line that is neither blank nor a header (its
// trimmed text begins with `headerPrefix`) is split at commas, shown in the status box and handed
// to `loader`; lines before `firstLine` are read but not processed. An error of the processing
// itself is reported and stops it.
ProcessOutcome processUploadFile(Program& program, const QString& path, const QString& headerPrefix,
                                 const RecordLoader& loader, qint64 firstLine = 1);

// The message box of an error that stops the processing of an upload file.
void reportProcessingError(Program& program, const ProgramError& error);
