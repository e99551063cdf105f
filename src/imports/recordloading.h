#pragma once

#include "imports/recordfate.h"
#include "imports/uploadloader.h"

struct Program;

// A record's decision with the order details dialog asked, when the loader asks for it: the
// dialog is a question, not a write, so the import and the check both ask it, and its answer is
// kept in the goods-received session.
RecordFate decideRecord(Program& program, const UploadLoader& kind, TextArray& fields);

// Carries out a record's decision: the write (and the audit line of a write that found nothing
// to write), the audit line, or the loader's error box. A write carries the run and line of the
// record being processed; one the shop refuses ends in the loader's error box too.
void carryOut(Program& program, const UploadLoader& kind, const RecordFate& fate);

// Decides one record and carries it out: the import's loader.
void loadRecord(Program& program, const UploadLoader& kind, TextArray& fields);
