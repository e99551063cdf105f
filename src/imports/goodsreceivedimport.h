#pragma once

#include "imports/uploadfile.h"
#include "platform/textarray.h"

struct Program;

// Imports the goods-received file at `path` (the download path box's): opens a goods-received
// session with the shop, books each received item against its order number and supplier, and
// shows "Completed Processing Barcodes" unless an error stopped the processing.
ProcessOutcome fProcessGoodsReceivedFile(Program& program, const QString& path);

// Loads one goods-received record (stock id, barcode, field-3 number, order number, quantity).
// A record without an order number takes the one applied to all, or asks for one in the order
// details dialog. A deleted record, an unknown barcode or one that does not match its item goes
// to the goods-received audit report. Reports its own errors.
void fLoadGoodsRecPDTDetails(Program& program, TextArray& fields);
