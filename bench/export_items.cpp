// Times the item file export through rmstockhand-batch against the floor: the engine's own command
// line, sqlite3 or psql, writing the same fixed-width records from the same database.
#include <QCoreApplication>
#include <cstdio>
#include <optional>

#include "benchtools.h"

namespace {

struct Options {
    int items;
    int memoryItems;
    int runs;
    std::optional<bench::Server> server;
};

Options parse(const QStringList& args) {
    return {bench::intOption(args, "--items", 100000), bench::intOption(args, "--memory-items", 1000000),
            qMax(1, bench::intOption(args, "--runs", 5)), bench::serverOption(args)};
}

const QStringList kExport{QStringLiteral("export-items")};

// One query writing the five fields at their widths, in each engine's own functions.
bench::Run runFloor(const bench::BenchShop& shop) {
    const QString query =
        shop.onServer()
            ? QStringLiteral(
                  "select rpad(stock_id::text, 5) || rpad(BarCode, 15) || rpad(Description, 40) || "
                  "rpad(to_char(Price, 'FM999999990.00'), 9) || rpad(QtyFactor::text, 5) "
                  "from stock order by stock_id")
            : QStringLiteral(
                  "select printf('%-5.5s%-15.15s%-40.40s%-9.9s%-5.5s', stock_id, BarCode, Description, "
                  "printf('%.2f', Price), QtyFactor) from stock order by stock_id;");
    return shop.runFloorQuery(query, shop.path(QStringLiteral("floor.dat")));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    std::printf("Item file export: %d items, quickest of %d runs each, %s\n", options.items, options.runs,
                options.server ? "on a PostgreSQL server" : "in an SQLite file");
    {
        bench::BenchShop shop(options.items, options.server);
        const QString messages = shop.path(QStringLiteral("messages.txt"));
        const bench::Run floor = bench::quickest([&] { return runFloor(shop); }, options.runs);
        const bench::Run program =
            bench::quickest([&] { return shop.runBatch(kExport, messages); }, options.runs);
        bench::printComparison("Export of every item:", shop.floorName(), options.items, program, floor);
    }
    if (options.memoryItems > 0) {
        bench::BenchShop large(options.memoryItems, options.server);
        const bench::Run run = large.runBatch(kExport, large.path(QStringLiteral("messages.txt")));
        bench::printMemoryRun("items", options.memoryItems, run);
    }
    return 0;
}
