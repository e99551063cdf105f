#pragma once

#include "imports/uploadfile.h"
#include "platform/textarray.h"

struct ModMain;

// Imports the goods-received file named in the download path box: opens a goods-received session
// with the shop, books each received item against its order number and supplier, and shows
// "Completed Processing Barcodes" unless an error stopped the processing.
ProcessOutcome fProcessGoodsReceivedFile(ModMain& modMain);

// Loads one goods-received record (stock id, barcode, field-3 number, order number, quantity).
// A record without an order number takes the one applied to all, or asks for one in the order
// details dialog. A deleted record, an unknown barcode or one that does not match its item goes
// to the goods-received audit report. Reports its own errors.
void fLoadGoodsRecPDTDetails(ModMain& modMain, TextArray& fields);
