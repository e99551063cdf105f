#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "outside/importruns.h"

// An item's value of difference in whole cents, a half cent rounded away from zero.
qint64 valueInCents(const ItemVariance& item);

// Where a variance report goes as it is read, a line at a time: the lines of text for a screen or
// a printer, and when `csvRow` is set, the rows of a spreadsheet, each ending in CR LF.
struct VarianceSinks {
    std::function<void(const QString&)> textLine;
    std::function<void(const QByteArray&)> csvRow;
};

// Reports a stocktake run's variance from the shop's record of it, one item at a time in the
// shop's order (the largest value of difference first), holding no more than one item. The text
// has a heading, a line per item and the totals, whose value is the sum of the printed values. The
// spreadsheet is as a spreadsheet opens it as it is: UTF-8 comma-separated values with a header
// row, "." as the decimal point, an item not counted as counted 0 with the status "not counted";
// item rows only, so that a column sums to its total.
void writeVarianceReport(ImportRuns& runs, const ImportRun& run, const VarianceSinks& sinks);
