#pragma once

#include "imports/uploadfile.h"
#include "platform/textarray.h"

struct Program;

// Imports the stocktake file at `path` (the download path box's): each count is written to the shop.
ProcessOutcome fProcessStocktakeFile(Program& program, const QString& path);

// Loads one stocktake record (stock id, barcode, counted quantity); a deleted record, an unknown
// item or a refused write goes to the stocktake audit report. Reports its own errors.
void fLoadPDTDetails(Program& program, TextArray& fields);
