#pragma once

#include "batch/batchoptions.h"
#include "imports/uploadloader.h"

struct Program;

// The exit status of an import that read its file to the end but left records neither written nor
// in the audit report: refused by the shop database, ended by an error, or their audit line lost.
inline constexpr int kRecordsNotKept = 4;

// The upload kind of an import, check or upload command.
const UploadLoader& commandUpload(BatchOptions::Command command);

// True when the upload at `path` is not to be loaded: it looks like another kind of file (unless
// --load-anyway), or the goods' --supplier is not in the shop's list. The refusal has been said,
// and nothing was written.
bool refusedBeforeLoading(Program& program, const BatchOptions& options, const QString& path);

// Imports the upload at `path` the way its button does, once nothing refuses it, and ends with one
// summary line; a missing file, and with --if-new a file already loaded, are one line and no
// failure. `passedOver` tells whether the run questions passed the file over as already loaded.
// Gives the exit status.
int importUpload(Program& program, const BatchOptions& options, const QString& path,
                 const std::function<bool()>& passedOver);
