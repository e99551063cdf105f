#pragma once

#include "imports/uploadfile.h"
#include "platform/textarray.h"

struct ModMain;

// Imports the purchase-order file named in the download path box: each matched item is entered
// in a purchase order.
ProcessOutcome fProcessOrdersFile(ModMain& modMain);

// Loads one order record (stock id, barcode, ordered quantity); a deleted record or an item whose
// barcode does not match goes to the orders audit report. Reports its own errors.
void fLoadOrderPDTDetails(ModMain& modMain, TextArray& fields);
