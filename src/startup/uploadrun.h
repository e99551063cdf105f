#pragma once

#include <QtGlobal>
#include <optional>

#include "outside/shopdataobject.h"

class ProgramError;

// What the processing of one upload file met, for a face that reports it at the end (the batch
// command line): the records handed to a loader and what became of them.
struct UploadRun {
    // Set by the face: a refusal that the next record cannot cure either (the shop database is
    // read-only, full, locked beyond the wait or out of reach) stops the processing at that record.
    // The window leaves it off, and its processing goes on to the next record as ever.
    bool stopWhenTheShopCannotWrite = false;

    // The import run the shop database keeps of this processing, if it keeps one.
    std::optional<qint64> importRun;
    // The line of the file being processed.
    qint64 line = 0;
    qint64 records = 0;
    // Of those, the records written to the audit report instead, and those a loader error ended.
    qint64 audited = 0;
    qint64 failed = 0;
    // Of those audited, the records whose audit line could not be written.
    qint64 auditUnwritten = 0;
    // Of those failed, the records whose write the shop database refused.
    qint64 refused = 0;
    // The line of the file at which the shop could not write and the processing stopped; 0 when
    // it did not stop so.
    qint64 stoppedAtLine = 0;
    // Set by a lasting refusal, until the processing has seen it.
    bool shopCannotWrite = false;

    // Where the record being processed comes from, as its writes carry it.
    RunLine from() const { return {importRun, line}; }
    // The records loaded: neither audited nor ended by an error.
    qint64 loaded() const { return records - audited - failed; }
    // Counts a loader's error against the record it ended.
    void noteLoaderError(const ProgramError& error);
};
