// Times the item file export through rmstockhand-batch against the floor: the engine's own command
// line, sqlite3 or psql, writing the same fixed-width records from the same database.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <optional>

#include "benchtools.h"

namespace {

struct Options {
    int items;
    int memoryItems;
    int pairs;
    std::optional<bench::Server> server;
};

Options parse(const QStringList& args) {
    return {bench::intOption(args, "--items", 100000), bench::intOption(args, "--memory-items", 1000000),
            qMax(1, bench::intOption(args, "--pairs", 9)), bench::serverOption(args)};
}

const QStringList kExport{QStringLiteral("export-items")};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One query writing the five fields at their widths, in each engine's own functions, byte for byte
// as the program writes them: a price below 1 without its leading zero, a whole quantity factor
// without a decimal point.
bench::Run runFloor(const bench::BenchShop& shop) {
    const QString query =
        shop.onServer()
            ? QStringLiteral(
                  "select rpad(stock_id::text, 5) || rpad(BarCode, 15) || rpad(Description, 40) || "
                  "rpad(to_char(Price, 'FM999999999.00'), 9) || rpad(QtyFactor::text, 5) || chr(13) "
                  "from stock order by stock_id")
            : QStringLiteral(
                  "select printf('%-5.5s%-15.15s%-40.40s%-9.9s%-5.5s', stock_id, BarCode, Description, "
                  "iif(printf('%.2f', Price) like '0.%', substr(printf('%.2f', Price), 2), "
                  "printf('%.2f', Price)), iif(QtyFactor = cast(QtyFactor as integer), "
                  "cast(QtyFactor as integer), QtyFactor)) from stock order by stock_id;");
    return shop.runFloorQuery(query, shop.path(QStringLiteral("floor.dat")));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    std::printf("Item file export: %d items, %s\n", options.items,
                options.server ? "on a PostgreSQL server" : "in an SQLite file");
    {
        bench::BenchShop shop(options.items, options.server);
        const QString messages = shop.path(QStringLiteral("messages.txt"));
        const bench::PairedRuns runs = bench::pairRuns([&] { return shop.runBatch(kExport, messages); },
                                                       [&] { return runFloor(shop); }, options.pairs);
        bench::printPaired("Export of every item:", shop.floorName(), options.items, runs);
        const bool same = readAll(shop.path(QStringLiteral("rmItems.dat"))) ==
                          readAll(shop.path(QStringLiteral("floor.dat")));
        std::printf("  the floor's records %s the item file's, byte for byte\n", same ? "are" : "are NOT");
    }
    if (options.memoryItems > 0) {
        bench::BenchShop large(options.memoryItems, options.server);
        const bench::Run run = large.runBatch(kExport, large.path(QStringLiteral("messages.txt")));
        bench::printMemoryRun("items", options.memoryItems, run);
    }
    return 0;
}
