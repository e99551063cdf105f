#pragma once

#include "imports/uploadfile.h"
#include "platform/textarray.h"

struct ModMain;

// Imports the stocktake file named in the download path box: each count is written to the shop.
ProcessOutcome fProcessStocktakeFile(ModMain& modMain);

// Loads one stocktake record (stock id, barcode, counted quantity); a deleted record, an unknown
// item or a refused write goes to the stocktake audit report. Reports its own errors.
void fLoadPDTDetails(ModMain& modMain, TextArray& fields);
