// Times a stocktake import through rmstockhand-batch against the floor: the same database work
// done by the engine's own command line, sqlite3 or psql.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <optional>

#include "benchtools.h"

namespace {

struct Options {
    int items;
    int records;
    int memoryRecords;
    int pairs;
    std::optional<bench::Server> server;
};

Options parse(const QStringList& args) {
    return {bench::intOption(args, "--items", 100000), bench::intOption(args, "--records", 50000),
            bench::intOption(args, "--memory-records", 1000000),
            qMax(1, bench::intOption(args, "--pairs", 5)), bench::serverOption(args)};
}

// The stock id of the n-th counted record: items spread over the whole table.
int stockIdOf(qint64 n, int items) {
    return 1 + static_cast<int>((n * 7919) % items);
}

// Every `unloadableEvery`-th record is unknown or deleted on the scanner (0: none).
void writeStockFile(const QString& path, qint64 records, int items, int unloadableEvery) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::exit(1);
    }
    file.write("NXSTV100,1\r\n");
    for (qint64 n = 0; n < records; ++n) {
        const int id = stockIdOf(n, items);
        const bool unloadable = unloadableEvery > 0 && n % unloadableEvery == 0;
        const bool deleted = unloadable && (n / unloadableEvery) % 2 == 0;
        const int written = unloadable && !deleted ? items + id : id;
        const QByteArray barcode =
            deleted ? QByteArray("NUXADEL") : QByteArray::number(9310000000000LL + id * 10LL);
        file.write(QByteArray::number(written) + ',' + barcode + ',' + QByteArray::number(1 + n % 5) +
                   "\r\n");
    }
}

// Per record one select of the item by its stock id and one insert of a count, each its own
// transaction; a file in WAL mode with synchronous=NORMAL, as the program keeps it.
void writeFloorScript(const QString& path, qint64 records, int items, bool onServer) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::exit(1);
    }
    if (!onServer) {
        file.write("PRAGMA journal_mode=WAL;\nPRAGMA synchronous=NORMAL;\n");
    }
    for (qint64 n = 0; n < records; ++n) {
        const QByteArray id = QByteArray::number(stockIdOf(n, items));
        file.write("SELECT stock_id, QtyFactor FROM stock WHERE stock_id=" + id + ";\n");
        file.write("INSERT INTO stocktake_counts (stock_id, quantity) VALUES (" + id + ", " +
                   QByteArray::number(1 + n % 5) + ");\n");
    }
}

bench::Run runFloor(const bench::BenchShop& shop, qint64 records, int items) {
    const QString script = shop.path(QStringLiteral("floor.sql"));
    writeFloorScript(script, records, items, shop.onServer());
    return shop.runFloorScript(script);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    std::printf("Stocktake import: %d items, %d records, %s\n", options.items, options.records,
                options.server ? "on a PostgreSQL server" : "in an SQLite file");
    bench::BenchShop shop(options.items, options.server);
    const QString stockFile = shop.path(QStringLiteral("Stock.dat"));
    const QString messages = shop.path(QStringLiteral("messages.txt"));
    const QStringList import{QStringLiteral("import-stocktake"), stockFile};

    // Each run of either side starts from a fresh copy of the demo shop; the check and the variance
    // report then run on the shop of the program's last run.
    writeStockFile(stockFile, options.records, options.items, 0);
    const bench::PairedRuns runs =
        bench::pairRuns([&] { return shop.runBatchOnFreshShop(import, messages); },
                        [&] { return runFloor(shop, options.records, options.items); }, options.pairs);
    bench::printPaired("All records known:", shop.floorName(), options.records, runs);
    const bench::Run imported = runs.medianProgram();
    const bench::Run floor = runs.floor.first();
    bench::printBesideImport("Check of the same file (writes nothing):", options.records,
                             shop.runBatch({QStringLiteral("check-stocktake"), stockFile}, messages),
                             imported);
    bench::printBesideImport("Variance report of that import (every item of the shop):", options.records,
                             shop.runBatch({QStringLiteral("variance")}, messages), imported);

    writeStockFile(stockFile, options.records, options.items, 33);
    const bench::Run withAudit = shop.runBatchOnFreshShop(import, messages);
    bench::printComparison("About 3% unloadable (unknown stock ids, deleted records):", shop.floorName(),
                           options.records, withAudit, floor);
    bench::printFigure("audit report lines",
                       static_cast<double>(bench::lineCount(shop.path("StockTakeAuditFile.rep"))), "");

    if (options.memoryRecords > 0) {
        writeStockFile(stockFile, options.memoryRecords, options.items, 0);
        const bench::Run large = shop.runBatch(import, messages);
        bench::printMemoryRun("records", options.memoryRecords, large);
    }
    return 0;
}
