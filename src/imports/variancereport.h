#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

#include "outside/importruns.h"

// An item's value of difference in whole cents, a half cent rounded away from zero.
qint64 valueInCents(const ItemVariance& item);

// Where a variance report goes as it is read, a line at a time, each sink when it is set: the
// lines of text for a screen or a printer; the rows of a spreadsheet, each ending in CR LF; and
// the cells of the report's table, each item's with the item, then the totals' cells. The table's
// cells are what the text lines are made of: stock id, barcode, description, on hand, counted (or
// "not counted"), difference and value.
struct VarianceSinks {
    std::function<void(const QString&)> textLine;
    std::function<void(const QByteArray&)> csvRow;
    std::function<void(const QStringList&, const ItemVariance&)> itemCells;
    std::function<void(const QStringList&)> totalsCells;
};

// The report's heading line of a run: the run, its file and when it started.
QString varianceTitle(const ImportRun& run);
// The headings of the report's table.
QStringList varianceHeadings();
// A line of the report's text from a row of its table's cells, each column in its fixed width.
QString varianceLine(const QStringList& cells);

// Reports a stocktake run's variance from the shop's record of it, one item at a time in the
// shop's order (the largest value of difference first), holding no more than one item. The text
// has a heading, a line per item and the totals, whose value is the sum of the printed values. The
// spreadsheet is as a spreadsheet opens it as it is: UTF-8 comma-separated values with a header
// row, "." as the decimal point, an item not counted as counted 0 with the status "not counted";
// item rows only, so that a column sums to its total.
void writeVarianceReport(ImportRuns& runs, const ImportRun& run, const VarianceSinks& sinks);
