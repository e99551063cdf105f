#include "runswindow/variancepages.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include "imports/variancereport.h"
#include "runswindow/variancetablemodel.h"

namespace {

// The fixed-width font, as large as lets a line of `chars` characters fit the page's width, and no
// larger than 10 points.
QFont lineFont(QPrinter& printer, qreal pageWidth, qsizetype chars) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(10);
    const qreal width = QFontMetricsF(font, &printer).horizontalAdvance(QString(chars, QLatin1Char('M')));
    font.setPointSizeF(qMin(10.0, 10.0 * pageWidth / width));
    return font;
}

void drawLines(QPainter& painter, const QStringList& lines, qreal lineHeight) {
    const qreal ascent = QFontMetricsF(painter.font(), painter.device()).ascent();
    for (qsizetype line = 0; line < lines.size(); ++line) {
        painter.drawText(QPointF(0, ascent + static_cast<qreal>(line) * lineHeight), lines[line]);
    }
}

}  // namespace

bool printVariance(QPrinter& printer, const QStringList& heading, const VarianceTableModel& table) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QString headings = varianceLine(varianceHeadings());
    painter.setFont(lineFont(printer, page.width(), headings.size()));
    const qreal lineHeight = QFontMetricsF(painter.font(), &printer).lineSpacing();
    // Besides the rows: the heading, a blank line and the table's headings; a blank line and the
    // page number.
    const auto framing = heading.size() + 4;
    const qsizetype perPage =
        qMax<qsizetype>(1, static_cast<qsizetype>(page.height() / lineHeight) - framing);
    const QList<QStringList>& items = table.items();
    const qsizetype rows = items.size() + 1, pages = (rows + perPage - 1) / perPage;
    for (qsizetype first = 0; first < rows; first += perPage) {
        if (first > 0) {
            printer.newPage();
        }
        QStringList lines = heading;
        lines << QString() << headings;
        for (qsizetype row = first; row < qMin(rows, first + perPage); ++row) {
            lines << varianceLine(row < items.size() ? items[row] : table.totals());
        }
        lines << QString() << QStringLiteral("Page %1 of %2").arg(first / perPage + 1).arg(pages);
        drawLines(painter, lines, lineHeight);
    }
    return painter.end();
}
