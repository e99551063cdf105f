#pragma once

#include "batch/batchoptions.h"

class ImportRuns;
class ShopDataObject;
class StringToolsObject;

// Runs one batch command over the outside objects, the way the program's buttons run it, and
// returns the exit status: 0 done, 1 stopped by an error (see the README for the others). The
// shop's record of imports keeps the imports' runs.
int runBatch(const BatchOptions& options, StringToolsObject& tools, ShopDataObject& shop, ImportRuns& runs);
