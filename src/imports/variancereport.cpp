#include "imports/variancereport.h"

#include <algorithm>
#include <cmath>

#include "imports/numerictext.h"

namespace {

QString moneyText(double value) {
    return QString::number(value, 'f', 2);
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

VarianceReport varianceReport(ImportRuns& runs, const ImportRun& run) {
    VarianceReport report{run, runs.Variance(run.id)};
    std::stable_sort(report.items.begin(), report.items.end(),
                     [](const ItemVariance& a, const ItemVariance& b) {
                         const double sizeA = std::fabs(a.value()), sizeB = std::fabs(b.value());
                         return sizeA != sizeB ? sizeA > sizeB : a.stockId < b.stockId;
                     });
    for (const ItemVariance& item : report.items) {
        report.onHand += item.onHand;
        report.counted += item.counted;
        report.difference += item.difference();
        report.value += item.value();
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
                     moneyText(item.value()));
    }
    lines << row(QString(), QString(), QStringLiteral("Totals (%1 items)").arg(report.items.size()),
                 generalNumber(report.onHand), generalNumber(report.counted),
                 generalNumber(report.difference), moneyText(report.value));
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
                            moneyText(item.value()),
                            item.wasCounted ? QStringLiteral("counted") : QStringLiteral("not counted")}
                    .join(QLatin1Char(','));
    }
    rows << QStringList{QString(),
                        QString(),
                        csvText(QStringLiteral("Totals")),
                        generalNumber(report.onHand),
                        generalNumber(report.counted),
                        generalNumber(report.difference),
                        moneyText(report.value),
                        QString()}
                .join(QLatin1Char(','));
    return rows.join(QLatin1String("\r\n")).toUtf8() + "\r\n";
}
