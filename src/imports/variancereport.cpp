#include "imports/variancereport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "imports/numerictext.h"

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

}  // namespace

qint64 valueInCents(const ItemVariance& item) {
    // Millionths of a cent first, so that a value a binary double cannot hold (311.675) is still the
    // half cent it is; std::llround then takes a half away from zero.
    const double hundredths = std::round(item.value() * 1e8) / 1e6;
    return std::llround(hundredths);
}

VarianceReport varianceReport(ImportRuns& runs, const ImportRun& run) {
    VarianceReport report{run, runs.Variance(run.id)};
    std::stable_sort(
        report.items.begin(), report.items.end(), [](const ItemVariance& a, const ItemVariance& b) {
            const qint64 sizeA = std::llabs(valueInCents(a)), sizeB = std::llabs(valueInCents(b));
            return sizeA != sizeB ? sizeA > sizeB : a.stockId < b.stockId;
        });
    for (const ItemVariance& item : report.items) {
        report.onHand += item.onHand;
        report.counted += item.counted;
        report.difference += item.difference();
        report.valueCents += valueInCents(item);
    }
    return report;
}

QStringList varianceText(const VarianceReport& report) {
    const auto row = [](const QString& id, const QString& barcode, const QString& description,
                        const QString& onHand, const QString& counted, const QString& difference,
                        const QString& value) {
        return QStringLiteral("%1  %2  %3  %4  %5  %6  %7")
            .arg(id, 8)
            .arg(barcode, -14)
            .arg(description.left(30), -30)
            .arg(onHand, 10)
            .arg(counted, 11)
            .arg(difference, 10)
            .arg(value, 12);
    };
    QStringList lines{QStringLiteral("Variance of stocktake run %1 (%2, %3 UTC)")
                          .arg(report.run.id)
                          .arg(report.run.fileName, report.run.startedAt),
                      row(QStringLiteral("stock id"), QStringLiteral("barcode"),
                          QStringLiteral("description"), QStringLiteral("on hand"), QStringLiteral("counted"),
                          QStringLiteral("difference"), QStringLiteral("value"))};
    for (const ItemVariance& item : report.items) {
        lines << row(QString::number(item.stockId), item.barcode, item.description,
                     generalNumber(item.onHand), countedText(item), generalNumber(item.difference()),
                     moneyText(valueInCents(item)));
    }
    lines << row(QString(), QString(), QStringLiteral("Totals (%1 items)").arg(report.items.size()),
                 generalNumber(report.onHand), generalNumber(report.counted),
                 generalNumber(report.difference), moneyText(report.valueCents));
    return lines;
}

QByteArray varianceCsv(const VarianceReport& report) {
    QStringList rows{QStringLiteral("stock_id,barcode,description,on_hand,counted,difference,value,status")};
    for (const ItemVariance& item : report.items) {
        rows << QStringList{QString::number(item.stockId),
                            csvText(item.barcode),
                            csvText(item.description),
                            generalNumber(item.onHand),
                            generalNumber(item.counted),
                            generalNumber(item.difference()),
                            moneyText(valueInCents(item)),
                            item.wasCounted ? QStringLiteral("counted") : QStringLiteral("not counted")}
                    .join(QLatin1Char(','));
    }
    return rows.join(QLatin1String("\r\n")).toUtf8() + "\r\n";
}
