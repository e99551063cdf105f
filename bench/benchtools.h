#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <optional>

// What the benchmarks share: a private shop folder, running a program with its time and peak
// memory measured, and printing figures. A shop lives in an SQLite file, or on a PostgreSQL server
// when the benchmark is given one; the floor is that engine's own command line doing the same
// database work: sqlite3 or psql.
namespace bench {

// A PostgreSQL server to hold the benchmark's shops: --server HOST (a host name, or the folder of
// its socket) [--port N] [--user USER], the user allowed to create databases.
struct Server {
    QString host;
    int port = 5432;
    QString user = QStringLiteral("postgres");
};

// One measured run of a program.
struct Run {
    double seconds = 0;
    // User and system time together.
    double cpuSeconds = 0;
    long peakKb = 0;
    int exitCode = -1;
};

// A private program folder and ODBC configuration for one benchmark, holding a demo shop of
// `items` items registered as the shop database: a file in the folder, or a database of its own on
// the server, dropped again at the end.
class BenchShop {
public:
    BenchShop(int items, std::optional<Server> server);
    ~BenchShop();
    BenchShop(const BenchShop&) = delete;
    BenchShop& operator=(const BenchShop&) = delete;

    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return folder() + QLatin1Char('/') + name; }
    bool onServer() const { return server_.has_value(); }
    // The floor's command line: "sqlite3" or "psql".
    const char* floorName() const { return onServer() ? "psql" : "sqlite3"; }
    // The floor running the SQL statements of a script file on a fresh copy of the demo shop.
    Run runFloorScript(const QString& script) const;
    // The floor writing the rows of one query on a fresh copy of the demo shop to a file: a CR LF
    // after each from sqlite3, an LF from psql (whose query ends its rows in the CR).
    Run runFloorQuery(const QString& query, const QString& outputFile) const;
    // The same on the shop as the program's runs left it.
    Run runFloorQueryOnShop(const QString& query, const QString& outputFile) const;
    // Runs rmstockhand-batch with these arguments, measured, its messages going to `stderrFile`.
    Run runBatch(const QStringList& arguments, const QString& stderrFile) const;
    // The same on a fresh copy of the demo shop, registered as the shop database in its place; the
    // copy stays registered after it.
    Run runBatchOnFreshShop(const QStringList& arguments, const QString& stderrFile) const;
    // Runs a program from the bin folder, unmeasured; stops the benchmark when it fails.
    void runTool(const QString& tool, const QStringList& arguments) const;

private:
    // A fresh copy of the demo shop, named after `suffix`: a file, or a database on the server.
    QString freshCopy(const QString& suffix) const;
    QString floorCopy() const { return freshCopy(QStringLiteral("floor")); }
    // Runs psql on a database of the server; stops the benchmark when it fails.
    void administer(const QString& database, const QString& sql) const;
    QStringList psql(const QString& database) const;
    // The floor writing the rows of one query on a database (a file, or one on the server) to a file.
    Run floorQuery(const QString& database, const QString& query, const QString& outputFile) const;

    QTemporaryDir dir_;
    std::optional<Server> server_;
    QString database_;
};

// The server named by the command line's --server, --port and --user, or none without --server.
std::optional<Server> serverOption(const QStringList& args);

// Runs a program and measures it; stdin and stdout may be redirected to files ("" keeps them).
Run measure(const QStringList& command, const QString& stdinFile, const QString& stdoutFile,
            const QString& stderrFile = QString());

// The whole number after the option `name` on the command line, or `fallback` without one.
int intOption(const QStringList& args, const char* name, int fallback);

// The bin folder beside this benchmark, where the program and its tools are.
QString binFolder();

// An item file of `count` records in the item layout, each with its own stock id and barcode.
QByteArray itemFile(int count);

// A stocktake upload of `lines` counts of 3, of the items of itemFile().
QByteArray stocktakeUpload(int lines);

// Writes `bytes` as the whole file at `path`; stops the benchmark when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);

// Writes a stocktake upload that counts every item of a demo shop of `items` items, a few units
// either side of what the shop holds, so that most items have a difference to report.
void writeStocktakeFile(const QString& path, int items);

// The variance report's query of the stocktake run 1, as the program's shop sends it: the items
// with their counts, the largest value of difference in whole cents first, then by stock id.
QString varianceQuery();

// Prints one figure line: name, value and unit.
void printFigure(const char* name, double value, const char* unit);

// Prints the time and peak memory of one run of the program over `count` items or records.
void printMemoryRun(const char* what, qint64 count, const Run& run);

// Runs of the program and of the floor over the same work taken in turn, program then floor, so
// that what else the machine does weighs on both alike; they compare pair by pair.
struct PairedRuns {
    QList<Run> program, floor;

    // The median, lowest and highest of the pairs' ratios of the program's time to the floor's.
    double medianRatio(bool cpu) const;
    double lowestRatio() const;
    double highestRatio() const;
    // The program's run of the median wall-time ratio, and the largest peak memory of its runs.
    Run medianProgram() const;
};

PairedRuns pairRuns(const std::function<Run()>& program, const std::function<Run()>& floor, int pairs);

// Prints how paired runs of the program compare with the floor's.
void printPaired(const char* what, const char* floorName, qint64 count, const PairedRuns& runs);

// Prints how a run of the program compares with the floor's run of the same work.
void printComparison(const char* what, const char* floorName, qint64 count, const Run& program,
                     const Run& floor);

// Prints how a run of another command over the same records compares with the import's run.
void printBesideImport(const char* what, qint64 count, const Run& run, const Run& import);

// The lines of the file at `path`; 0 when it cannot be read.
qint64 lineCount(const QString& path);

}  // namespace bench
