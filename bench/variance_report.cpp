// Times the variance report of a stocktake that counted every item of the shop, with its
// spreadsheet, through rmstockhand-batch, and measures its peak memory, against the floor: the
// engine's own command line running the report's query and writing its rows.
#include <QCoreApplication>
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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    std::printf("Variance report: %d items, every one counted, %s\n", options.items,
                options.server ? "on a PostgreSQL server" : "in an SQLite file");
    bench::BenchShop shop(options.items, options.server);
    const QString stockFile = shop.path(QStringLiteral("Stock.dat"));
    bench::writeStocktakeFile(stockFile, options.items);
    shop.runTool(QStringLiteral("rmstockhand-batch"), {QStringLiteral("import-stocktake"), stockFile});

    const QString csv = shop.path(QStringLiteral("variance.csv"));
    const QString messages = shop.path(QStringLiteral("messages.txt"));
    const QString floorRows = shop.path(QStringLiteral("floor.txt"));
    const bench::PairedRuns runs = bench::pairRuns(
        [&] {
            return shop.runBatch({QStringLiteral("variance"), QStringLiteral("--csv"), csv}, messages);
        },
        [&] { return shop.runFloorQueryOnShop(bench::varianceQuery(), floorRows); }, options.pairs);
    bench::printPaired("Variance report with its spreadsheet:", shop.floorName(), options.items, runs);
    long floorPeakKb = 0;
    for (const bench::Run& run : runs.floor) {
        floorPeakKb = qMax(floorPeakKb, run.peakKb);
    }
    const QByteArray floorMemory = QByteArray(shop.floorName()) + " floor peak memory";
    bench::printFigure(floorMemory.constData(), static_cast<double>(floorPeakKb) / 1024.0, "MB");
    bench::printFigure("peak memory allowed", 32, "MB");
    bench::printFigure("spreadsheet item rows", static_cast<double>(bench::lineCount(csv) - 1), "");
    bench::printFigure("floor rows", static_cast<double>(bench::lineCount(floorRows)), "");
    return 0;
}
