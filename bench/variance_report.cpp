// Times the variance report of a stocktake that counted every item of the shop, with its
// spreadsheet, through rmstockhand-batch, and measures its peak memory, against the floor: the
// engine's own command line running the report's query and writing its rows.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <optional>

#include "benchtools.h"

namespace {

struct Options {
    int items;
    int pairs;
    std::optional<bench::Server> server;
};

Options parse(const QStringList& args) {
    return {bench::intOption(args, "--items", 100000), qMax(1, bench::intOption(args, "--pairs", 5)),
            bench::serverOption(args)};
}

// A count of every item, a few units either side of what the demo shop holds, so that most items
// have a difference to report.
void writeStockFile(const QString& path, int items) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::exit(1);
    }
    file.write("NXSTV100,1\r\n");
    for (int id = 1; id <= items; ++id) {
        file.write(QByteArray::number(id) + ',' + QByteArray::number(9310000000000LL + id * 10LL) + ',' +
                   QByteArray::number(id % 20 + id % 7 - 3) + "\r\n");
    }
}

// The report's query of the stocktake run 1, as the program's shop sends it: the items with their
// counts, the largest value of difference in whole cents first, then by stock id.
QString varianceQuery() {
    const auto rounded = [](const QString& number) {
        return QStringLiteral("(floor(%1) + case when %1 - floor(%1) >= 0.5 then 1 else 0 end)").arg(number);
    };
    const QString items = QStringLiteral(
        "select s.stock_id as stock_id, s.BarCode as barcode, s.Description as description, "
        "s.QtyOnHand as on_hand, s.Price as price, c.counted as counted, "
        "abs((coalesce(c.counted, 0) - s.QtyOnHand) * s.Price) * 100000000.0 as scaled from stock s "
        "left join (select stock_id, sum(quantity) as counted from stocktake_counts where run_id = 1 "
        "group by stock_id) c on c.stock_id = s.stock_id where c.counted is not null or s.QtyOnHand <> 0");
    const QString cents = QStringLiteral("select i.*, %1 / 1000000.0 as cents from (%2) i")
                              .arg(rounded(QStringLiteral("i.scaled")), items);
    return QStringLiteral(
               "select stock_id, barcode, description, on_hand, price, counted from (%1) v "
               "order by %2 desc, stock_id")
        .arg(cents, rounded(QStringLiteral("v.cents")));
}

qint64 lineCount(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    std::printf("Variance report: %d items, every one counted, %s\n", options.items,
                options.server ? "on a PostgreSQL server" : "in an SQLite file");
    bench::BenchShop shop(options.items, options.server);
    const QString stockFile = shop.path(QStringLiteral("Stock.dat"));
    writeStockFile(stockFile, options.items);
    shop.runTool(QStringLiteral("rmstockhand-batch"), {QStringLiteral("import-stocktake"), stockFile});

    const QString csv = shop.path(QStringLiteral("variance.csv"));
    const QString messages = shop.path(QStringLiteral("messages.txt"));
    const QString floorRows = shop.path(QStringLiteral("floor.txt"));
    const bench::PairedRuns runs = bench::pairRuns(
        [&] {
            return shop.runBatch({QStringLiteral("variance"), QStringLiteral("--csv"), csv}, messages);
        },
        [&] { return shop.runFloorQueryOnShop(varianceQuery(), floorRows); }, options.pairs);
    bench::printPaired("Variance report with its spreadsheet:", shop.floorName(), options.items, runs);
    long floorPeakKb = 0;
    for (const bench::Run& run : runs.floor) {
        floorPeakKb = qMax(floorPeakKb, run.peakKb);
    }
    const QByteArray floorMemory = QByteArray(shop.floorName()) + " floor peak memory";
    bench::printFigure(floorMemory.constData(), static_cast<double>(floorPeakKb) / 1024.0, "MB");
    bench::printFigure("peak memory allowed", 32, "MB");
    bench::printFigure("spreadsheet item rows", static_cast<double>(lineCount(csv) - 1), "");
    bench::printFigure("floor rows", static_cast<double>(lineCount(floorRows)), "");
    return 0;
}
