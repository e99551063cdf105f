#pragma once

#include <QByteArray>
#include <QStringList>

#include "outside/importruns.h"

// A stocktake run's variance: every item it counted or that has stock on hand, the largest value
// of difference first, and the totals.
struct VarianceReport {
    ImportRun run;
    QList<ItemVariance> items;
    double onHand = 0, counted = 0, difference = 0;
    // The value of the difference in cents: the sum of the items' values, each rounded as printed.
    qint64 valueCents = 0;
};

// An item's value of difference in whole cents, a half cent rounded away from zero.
qint64 valueInCents(const ItemVariance& item);

// The report of a stocktake run from the shop's record of it.
VarianceReport varianceReport(ImportRuns& runs, const ImportRun& run);

// The report as lines of text for a screen or a printer: a heading, a line per item and the totals.
QStringList varianceText(const VarianceReport& report);

// The report as a spreadsheet opens it as it is: UTF-8 comma-separated values with a header row,
// "." as the decimal point, an item not counted as counted 0 with the status "not counted"; item rows
// only, so that a column sums to its total.
QByteArray varianceCsv(const VarianceReport& report);
