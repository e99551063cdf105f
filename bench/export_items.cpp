// Times the item file export through rmstockhand-batch against the floor: the sqlite3 command line
// writing the same fixed-width records from the same database.
#include <QCoreApplication>
#include <cstdio>

#include "benchtools.h"

namespace {

struct Options {
    int items;
    int memoryItems;
    int runs;
};

Options parse(const QStringList& args) {
    return {bench::intOption(args, "--items", 100000), bench::intOption(args, "--memory-items", 1000000),
            qMax(1, bench::intOption(args, "--runs", 5))};
}

const QStringList kExport{QStringLiteral("export-items")};

// One printf query writing the five fields at their widths, CR LF after each record.
bench::Run runFloor(const bench::BenchShop& shop) {
    const QString query = QStringLiteral(
        "select printf('%-5.5s%-15.15s%-40.40s%-9.9s%-5.5s', stock_id, BarCode, Description, "
        "printf('%.2f', Price), QtyFactor) from stock order by stock_id;");
    return bench::measure({QStringLiteral("/usr/bin/sqlite3"), QStringLiteral("-newline"),
                           QStringLiteral("\r\n"), shop.floorCopy(), query},
                          QString(), shop.path(QStringLiteral("floor.dat")));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    std::printf("Item file export: %d items, quickest of %d runs each\n", options.items, options.runs);
    {
        bench::BenchShop shop(options.items);
        const QString messages = shop.path(QStringLiteral("messages.txt"));
        const bench::Run floor = bench::quickest([&] { return runFloor(shop); }, options.runs);
        const bench::Run program =
            bench::quickest([&] { return shop.runBatch(kExport, messages); }, options.runs);
        bench::printComparison("Export of every item:", options.items, program, floor);
    }
    if (options.memoryItems > 0) {
        bench::BenchShop large(options.memoryItems);
        const bench::Run run = large.runBatch(kExport, large.path(QStringLiteral("messages.txt")));
        bench::printMemoryRun("items", options.memoryItems, run);
    }
    return 0;
}
