#pragma once

#include <QString>

#include "imports/recordfate.h"
#include "platform/textarray.h"

struct Program;

// The file of the audit report `reportName` ("\StockTakeAuditFile") in `folder`.
QString auditReportPath(const QString& folder, const QString& reportName);

// Appends one time-stamped, quoted line to the audit report folder + reportName + ".rep" and warns
// the user that a scanned barcode could not be loaded. An empty message does nothing; a failure
// to write is reported and the caller goes on.
void fWriteAuditReport(Program& program, const QString& message, const QString& folder,
                       const QString& reportName);

// The message of a record's audit line: lead text, barcode label ("Barcode = " or "BarCode = "),
// field 2, "Qty = " and the quantity field, with nothing between them. The fields are read here,
// so a record too short for its line fails while the line is built.
AuditMessage auditMessage(const char* lead, const char* barcodeLabel, const TextArray& fields,
                          int quantityField);
