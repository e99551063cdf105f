// The variance report laid out on the pages of a printer or a PDF file.
#pragma once

#include <QStringList>

class QPrinter;
class VarianceTableModel;

// Draws the report on the printer's pages: on each, the heading's lines, the table's headings, as
// many rows as the page holds and the page's number, each row the report's line of text; the
// totals end the last page. False when the printer could not be drawn on, as when its file cannot
// be written.
bool printVariance(QPrinter& printer, const QStringList& heading, const VarianceTableModel& table);
