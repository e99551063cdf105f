// Times the variance window over a stocktake that counted every item of the shop, from its opening
// until its table and chart are filled and shown, against the floor: the engine's own command line
// running the report's query and writing its rows.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

#include "batch/batchprompts.h"
#include "benchtools.h"
#include "runswindow/variancewindow.h"
#include "shopdata/shopdatabase.h"

namespace {

// Seconds from the window's opening until it is filled and painted.
double openWindow(Prompts& prompts, ShopDatabase& database, const ImportRun& run) {
    QElapsedTimer timer;
    timer.start();
    VarianceWindow window(prompts, database, run);
    window.show();
    QCoreApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int items = bench::intOption(args, "--items", 100000),
              pairs = qMax(1, bench::intOption(args, "--pairs", 3));
    const std::optional<bench::Server> server = bench::serverOption(args);
    std::printf("Variance window: %d items, every one counted, %s\n", items,
                server ? "on a PostgreSQL server" : "in an SQLite file");
    bench::BenchShop shop(items, server);
    const QString stockFile = shop.path(QStringLiteral("Stock.dat"));
    bench::writeStocktakeFile(stockFile, items);
    shop.runTool(QStringLiteral("rmstockhand-batch"), {QStringLiteral("import-stocktake"), stockFile});

    BatchPrompts prompts(false);
    ShopDatabase database;
    database.Connect();
    const ImportRun run = database.Runs().constLast();
    QList<double> window, floor;
    for (int pair = 0; pair < pairs; ++pair) {
        window << openWindow(prompts, database, run);
        floor << shop.runFloorQueryOnShop(bench::varianceQuery(), shop.path(QStringLiteral("floor.txt")))
                     .seconds;
    }
    const QByteArray floorTime = QByteArray(shop.floorName()) + " floor time, median";
    bench::printFigure("window filled and shown, median", median(window), "s");
    bench::printFigure("window, slowest", *std::max_element(window.cbegin(), window.cend()), "s");
    bench::printFigure(floorTime.constData(), median(floor), "s");
    bench::printFigure("ratio to the floor", median(window) / median(floor), "x");
    bench::printFigure("allowed", 2, "s");
    return 0;
}
