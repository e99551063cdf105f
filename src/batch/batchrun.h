#pragma once

#include "batch/batchoptions.h"

class ShopDataObject;
class StringToolsObject;

// Runs one batch command over the outside objects, the way the program's buttons run it, and
// returns the exit status: 0 done, 1 stopped by an error.
int runBatch(const BatchOptions& options, StringToolsObject& tools, ShopDataObject& shop);
