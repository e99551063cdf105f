#include "imports/variancereport.h"

#include <cmath>

#include "imports/numerictext.h"

qint64 valueInCents(const ItemVariance& item) {
    // Millionths of a cent first, so that a value a binary double cannot hold (311.675) is still the
    // half cent it is; std::llround then takes a half away from zero.
    const double hundredths = std::round(item.value() * 1e8) / 1e6;
    return std::llround(hundredths);
}

namespace {

QString moneyText(qint64 cents) {
    const qint64 whole = cents / 100, part = cents % 100;
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(whole < 0 ? -whole : whole)
        .arg(part < 0 ? -part : part, 2, 10, QLatin1Char('0'));
}

QString countedText(const ItemVariance& item) {
    return item.wasCounted ? generalNumber(item.counted) : QStringLiteral("not counted");
}

// A text field as a spreadsheet reads it back: quoted, with its quotes doubled.
QString csvText(const QString& text) {
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

// What the totals line adds up, item by item.
struct VarianceTotals {
    qint64 items = 0;
    double onHand = 0, counted = 0, difference = 0;
    qint64 valueCents = 0;

    void add(const ItemVariance& item) {
        ++items;
        onHand += item.onHand;
        counted += item.counted;
        difference += item.difference();
        valueCents += valueInCents(item);
    }
};

QStringList itemCells(const ItemVariance& item) {
    return {QString::number(item.stockId), item.barcode,      item.description,
            generalNumber(item.onHand),    countedText(item), generalNumber(item.difference()),
            moneyText(valueInCents(item))};
}

QByteArray csvRow(const ItemVariance& item) {
    return (QStringList{QString::number(item.stockId), csvText(item.barcode), csvText(item.description),
                        generalNumber(item.onHand), generalNumber(item.counted),
                        generalNumber(item.difference()), moneyText(valueInCents(item)),
                        item.wasCounted ? QStringLiteral("counted") : QStringLiteral("not counted")}
                .join(QLatin1Char(',')) +
            QLatin1String("\r\n"))
        .toUtf8();
}

void writeLine(const VarianceSinks& sinks, const QStringList& cells) {
    if (sinks.textLine) {
        sinks.textLine(varianceLine(cells));
    }
}

}  // namespace

QString varianceTitle(const ImportRun& run) {
    return QStringLiteral("Variance of stocktake run %1 (%2, %3 UTC)")
        .arg(run.id)
        .arg(run.fileName, run.startedAt);
}

QStringList varianceHeadings() {
    return {QStringLiteral("stock id"), QStringLiteral("barcode"), QStringLiteral("description"),
            QStringLiteral("on hand"),  QStringLiteral("counted"), QStringLiteral("difference"),
            QStringLiteral("value")};
}

QString varianceLine(const QStringList& cells) {
    return QStringLiteral("%1  %2  %3  %4  %5  %6  %7")
        .arg(cells[0], 8)
        .arg(cells[1], -14)
        .arg(cells[2].left(30), -30)
        .arg(cells[3], 10)
        .arg(cells[4], 11)
        .arg(cells[5], 10)
        .arg(cells[6], 12);
}

void writeVarianceReport(ImportRuns& runs, const ImportRun& run, const VarianceSinks& sinks) {
    if (sinks.textLine) {
        sinks.textLine(varianceTitle(run));
        sinks.textLine(varianceLine(varianceHeadings()));
    }
    if (sinks.csvRow) {
        sinks.csvRow(
            QByteArrayLiteral("stock_id,barcode,description,on_hand,counted,difference,value,status\r\n"));
    }
    VarianceTotals totals;
    runs.Variance(run.id, [&sinks, &totals](const ItemVariance& item) {
        totals.add(item);
        const QStringList cells = itemCells(item);
        if (sinks.itemCells) {
            sinks.itemCells(cells, item);
        }
        writeLine(sinks, cells);
        if (sinks.csvRow) {
            sinks.csvRow(csvRow(item));
        }
    });
    const QStringList totalsCells{QString(),
                                  QString(),
                                  QStringLiteral("Totals (%1 items)").arg(totals.items),
                                  generalNumber(totals.onHand),
                                  generalNumber(totals.counted),
                                  generalNumber(totals.difference),
                                  moneyText(totals.valueCents)};
    if (sinks.totalsCells) {
        sinks.totalsCells(totalsCells);
    }
    writeLine(sinks, totalsCells);
}
