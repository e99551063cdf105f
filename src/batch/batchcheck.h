#pragma once

#include "batch/batchoptions.h"

struct Program;

// The exit status of a check that found records that would not load cleanly.
inline constexpr int kCheckFoundProblems = 3;

// Checks an upload file: lists on standard output what its import would do with each record and
// a summary, writing nothing to the shop or the audit report. 0 when every record would load
// cleanly, kCheckFoundProblems when some would not, 1 when the file could not be read.
int runCheck(Program& program, const BatchOptions& options);
