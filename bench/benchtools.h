#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// What the benchmarks share: a private shop folder, running a program with its time and peak
// memory measured, and printing figures.
namespace bench {

// One measured run of a program.
struct Run {
    double seconds = 0;
    long peakKb = 0;
    int exitCode = -1;
};

// A private program folder and ODBC configuration for one benchmark, holding a demo shop of
// `items` items registered as the shop database.
class BenchShop {
public:
    explicit BenchShop(int items);

    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return folder() + QLatin1Char('/') + name; }
    // A copy of the demo shop for the sqlite3 command line to work on.
    QString floorCopy() const;
    // Runs rmstockhand-batch with these arguments, measured, its messages going to `stderrFile`.
    Run runBatch(const QStringList& arguments, const QString& stderrFile) const;
    // Runs a program from the bin folder, unmeasured; stops the benchmark when it fails.
    void runTool(const QString& tool, const QStringList& arguments) const;

private:
    QTemporaryDir dir_;
};

// Runs a program and measures it; stdin and stdout may be redirected to files ("" keeps them).
Run measure(const QStringList& command, const QString& stdinFile, const QString& stdoutFile,
            const QString& stderrFile = QString());

// The quickest of `runs` runs of `run` (its peak memory the largest of them): on a shared machine
// the quickest run is the one least disturbed by other work.
Run quickest(const std::function<Run()>& run, int runs);

// The whole number after the option `name` on the command line, or `fallback` without one.
int intOption(const QStringList& args, const char* name, int fallback);

// The bin folder beside this benchmark, where the program and its tools are.
QString binFolder();

// Prints one figure line: name, value and unit.
void printFigure(const char* name, double value, const char* unit);

// Prints the time and peak memory of one run of the program over `count` items or records.
void printMemoryRun(const char* what, qint64 count, const Run& run);

// Prints how a run of the program compares with the floor's run of the same work.
void printComparison(const char* what, qint64 count, const Run& program, const Run& floor);

}  // namespace bench
