#pragma once

#include "imports/uploadfile.h"
#include "platform/textarray.h"

struct Program;

// Imports the purchase-order file at `path` (the download path box's): each matched item is
// entered in a purchase order.
ProcessOutcome fProcessOrdersFile(Program& program, const QString& path);

// Loads one order record (stock id, barcode, ordered quantity); a deleted record or an item whose
// barcode does not match goes to the orders audit report. Reports its own errors.
void fLoadOrderPDTDetails(Program& program, TextArray& fields);
