#pragma once

#include "batch/batchoptions.h"

struct Program;

// The batch's commands over the shop's record of imports. Listings and reports go to standard
// output, messages to standard error; each gives the batch's exit status.

// Lists every run: number, kind, start, how it ended, lines taken in, records written, file.
int listRuns(Program& program);
// Undoes the run named by the command's argument.
int undoRun(Program& program, const BatchOptions& options);
// Reports a stocktake run's variance (the latest ended one unless --run names one), and with
// --csv writes it to that file too, whole or not at all.
int reportVariance(Program& program, const BatchOptions& options);
