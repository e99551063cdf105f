#include "benchtools.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "shopdata/runledger.h"

namespace bench {

namespace {

void redirect(const QString& file, int fd, int flags) {
    if (file.isEmpty()) {
        return;
    }
    const int opened = ::open(QFile::encodeName(file).constData(), flags, 0644);
    if (opened < 0) {
        std::perror("open");
        std::_Exit(127);
    }
    ::dup2(opened, fd);
    ::close(opened);
}

double megabytes(const Run& run) {
    return static_cast<double>(run.peakKb) / 1024.0;
}

[[noreturn]] void fail(const QString& what) {
    std::fprintf(stderr, "benchmark stopped: %s\n", qPrintable(what));
    std::exit(1);
}

}  // namespace

int intOption(const QStringList& args, const char* name, int fallback) {
    const qsizetype at = args.indexOf(QLatin1String(name));
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

QString binFolder() {
    return QCoreApplication::applicationDirPath();
}

Run measure(const QStringList& command, const QString& stdinFile, const QString& stdoutFile,
            const QString& stderrFile) {
    std::vector<QByteArray> args;
    for (const QString& arg : command) {
        args.push_back(QFile::encodeName(arg));
    }
    std::vector<char*> argv;
    for (QByteArray& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        redirect(stdinFile, STDIN_FILENO, O_RDONLY);
        redirect(stdoutFile, STDOUT_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
        redirect(stderrFile, STDERR_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
        ::execv(argv[0], argv.data());
        std::perror("exec");
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return Run{elapsed.count(), seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss,
               WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

BenchShop::BenchShop(int items, std::optional<Server> server) : server_(std::move(server)) {
    if (!dir_.isValid()) {
        fail(QStringLiteral("no temporary folder"));
    }
    qputenv("RMSTOCKHAND_HOME", folder().toLocal8Bit());
    qputenv("ODBCINI", path(QStringLiteral("odbc.ini")).toLocal8Bit());
    QDir::setCurrent(folder());
    QStringList place{path(QStringLiteral("shop.mdb"))};
    if (server_) {
        static int count = 0;
        database_ = QStringLiteral("rmbench_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
        administer(QStringLiteral("postgres"), QStringLiteral("create database ") + database_);
        place = QStringList{QStringLiteral("--server"),   server_->host,
                            QStringLiteral("--port"),     QString::number(server_->port),
                            QStringLiteral("--database"), database_,
                            QStringLiteral("--user"),     server_->user};
    }
    runTool(QStringLiteral("rmstockhand-demo-db"),
            place + QStringList{QStringLiteral("--items"), QString::number(items)});
    runTool(QStringLiteral("rmstockhand-batch"), QStringList{QStringLiteral("register-shop-db")} + place);
}

BenchShop::~BenchShop() {
    if (server_) {
        for (const QString& database :
             {database_ + QStringLiteral("_floor"), database_ + QStringLiteral("_program"), database_}) {
            administer(QStringLiteral("postgres"), QStringLiteral("drop database if exists ") + database);
        }
    }
}

QStringList BenchShop::psql(const QString& database) const {
    return {QStringLiteral("/usr/bin/psql"),
            QStringLiteral("-X"),
            QStringLiteral("-q"),
            QStringLiteral("-h"),
            server_->host,
            QStringLiteral("-p"),
            QString::number(server_->port),
            QStringLiteral("-U"),
            server_->user,
            QStringLiteral("-d"),
            database};
}

void BenchShop::administer(const QString& database, const QString& sql) const {
    const Run run = measure(psql(database) + QStringList{QStringLiteral("-c"), sql}, QString(),
                            QStringLiteral("/dev/null"));
    if (run.exitCode != 0) {
        fail(QStringLiteral("psql could not run: ") + sql);
    }
}

QString BenchShop::freshCopy(const QString& suffix) const {
    if (server_) {
        const QString copy = database_ + QLatin1Char('_') + suffix;
        administer(QStringLiteral("postgres"), QStringLiteral("drop database if exists ") + copy);
        administer(QStringLiteral("postgres"),
                   QStringLiteral("create database %1 template %2").arg(copy, database_));
        return copy;
    }
    const QString copy = path(suffix + QStringLiteral(".mdb"));
    QFile::remove(copy);
    if (!QFile::copy(path(QStringLiteral("shop.mdb")), copy)) {
        fail(QStringLiteral("cannot copy the shop database"));
    }
    return copy;
}

Run BenchShop::runFloorScript(const QString& script) const {
    if (server_) {
        return measure(psql(floorCopy()) + QStringList{QStringLiteral("-f"), script}, QString(),
                       QStringLiteral("/dev/null"));
    }
    return measure({QStringLiteral("/usr/bin/sqlite3"), floorCopy()}, script, QStringLiteral("/dev/null"));
}

Run BenchShop::runFloorQuery(const QString& query, const QString& outputFile) const {
    return floorQuery(floorCopy(), query, outputFile);
}

Run BenchShop::runFloorQueryOnShop(const QString& query, const QString& outputFile) const {
    return floorQuery(server_ ? database_ : path(QStringLiteral("shop.mdb")), query, outputFile);
}

Run BenchShop::floorQuery(const QString& database, const QString& query, const QString& outputFile) const {
    if (server_) {
        return measure(psql(database) + QStringList{QStringLiteral("-A"), QStringLiteral("-t"),
                                                    QStringLiteral("-c"), query},
                       QString(), outputFile);
    }
    return measure({QStringLiteral("/usr/bin/sqlite3"), QStringLiteral("-newline"), QStringLiteral("\r\n"),
                    database, query},
                   QString(), outputFile);
}

std::optional<Server> serverOption(const QStringList& args) {
    const qsizetype at = args.indexOf(QLatin1String("--server"));
    if (at < 0 || at + 1 >= args.size()) {
        return std::nullopt;
    }
    Server server;
    server.host = args[at + 1];
    server.port = intOption(args, "--port", server.port);
    const qsizetype user = args.indexOf(QLatin1String("--user"));
    if (user >= 0 && user + 1 < args.size()) {
        server.user = args[user + 1];
    }
    return server;
}

Run BenchShop::runBatch(const QStringList& arguments, const QString& stderrFile) const {
    return measure(QStringList{binFolder() + QStringLiteral("/rmstockhand-batch")} + arguments, QString(),
                   QStringLiteral("/dev/null"), stderrFile);
}

void BenchShop::runTool(const QString& tool, const QStringList& arguments) const {
    const Run run = measure(QStringList{binFolder() + QLatin1Char('/') + tool} + arguments, QString(),
                            QStringLiteral("/dev/null"));
    if (run.exitCode != 0) {
        fail(tool + QStringLiteral(" failed with exit code ") + QString::number(run.exitCode));
    }
}

QByteArray itemFile(int count) {
    QByteArray bytes;
    for (int i = 1; i <= count; ++i) {
        bytes += QByteArray::number(i % 100000).leftJustified(5) +
                 QByteArray::number(9300000000000LL + i).leftJustified(15) +
                 ("Item " + QByteArray::number(i)).leftJustified(40) + QByteArray("1.95").leftJustified(9) +
                 "1    \r\n";
    }
    return bytes;
}

QByteArray stocktakeUpload(int lines) {
    QByteArray stock = "NXSTV100\r\n";
    for (int i = 1; i <= lines; ++i) {
        stock += QByteArray::number(i) + ',' + QByteArray::number(9300000000000LL + i) + ",3\r\n";
    }
    return stock;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        fail(QStringLiteral("cannot write ") + path);
    }
}

void writeStocktakeFile(const QString& path, int items) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(QStringLiteral("cannot write ") + path);
    }
    file.write("NXSTV100,1\r\n");
    for (int id = 1; id <= items; ++id) {
        file.write(QByteArray::number(id) + ',' + QByteArray::number(9310000000000LL + id * 10LL) + ',' +
                   QByteArray::number(id % 20 + id % 7 - 3) + "\r\n");
    }
}

QString varianceQuery() {
    return varianceSql(1);
}

void printFigure(const char* name, double value, const char* unit) {
    std::printf("  %-34s %12.2f %s\n", name, value, unit);
}

void printMemoryRun(const char* what, qint64 count, const Run& run) {
    std::printf("Memory: %lld %s\n", static_cast<long long>(count), what);
    printFigure("rmstockhand-batch time", run.seconds, "s");
    printFigure("rmstockhand-batch peak memory", megabytes(run), "MB");
}

void printComparison(const char* what, const char* floorName, qint64 count, const Run& program,
                     const Run& floor) {
    std::printf("%s\n", what);
    printFigure("rmstockhand-batch time", program.seconds, "s");
    printFigure("rmstockhand-batch rate", static_cast<double>(count) / program.seconds, "per second");
    printFigure("rmstockhand-batch peak memory", megabytes(program), "MB");
    const QByteArray floorTime = QByteArray(floorName) + " floor time";
    const QByteArray floorRate = QByteArray(floorName) + " floor rate";
    printFigure(floorTime.constData(), floor.seconds, "s");
    printFigure(floorRate.constData(), static_cast<double>(count) / floor.seconds, "per second");
    printFigure("ratio to the floor", program.seconds / floor.seconds, "x");
    if (program.exitCode != 0) {
        std::printf("  rmstockhand-batch exit code %d\n", program.exitCode);
    }
    std::fflush(stdout);
}

void printBesideImport(const char* what, qint64 count, const Run& run, const Run& import) {
    std::printf("%s\n", what);
    printFigure("time", run.seconds, "s");
    printFigure("rate", static_cast<double>(count) / run.seconds, "per second");
    printFigure("peak memory", megabytes(run), "MB");
    printFigure("ratio to the import", run.seconds / import.seconds, "x");
    if (run.exitCode != 0 && run.exitCode != 3) {
        std::printf("  exit code %d\n", run.exitCode);
    }
    std::fflush(stdout);
}

Run BenchShop::runBatchOnFreshShop(const QStringList& arguments, const QString& stderrFile) const {
    const QString copy = freshCopy(QStringLiteral("program"));
    const QStringList place = server_
                                  ? QStringList{QStringLiteral("--server"),   server_->host,
                                                QStringLiteral("--port"),     QString::number(server_->port),
                                                QStringLiteral("--database"), copy,
                                                QStringLiteral("--user"),     server_->user}
                                  : QStringList{copy};
    runTool(QStringLiteral("rmstockhand-batch"), QStringList{QStringLiteral("register-shop-db")} + place);
    return runBatch(arguments, stderrFile);
}

namespace {

QList<double> sortedRatios(const PairedRuns& runs, bool cpu) {
    QList<double> ratios;
    for (qsizetype pair = 0; pair < runs.program.size(); ++pair) {
        ratios << (cpu ? runs.program[pair].cpuSeconds / runs.floor[pair].cpuSeconds
                       : runs.program[pair].seconds / runs.floor[pair].seconds);
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios;
}

}  // namespace

double PairedRuns::medianRatio(bool cpu) const {
    const QList<double> ratios = sortedRatios(*this, cpu);
    const qsizetype middle = ratios.size() / 2;
    return ratios.size() % 2 == 1 ? ratios[middle] : (ratios[middle - 1] + ratios[middle]) / 2;
}

double PairedRuns::lowestRatio() const {
    return sortedRatios(*this, false).first();
}

double PairedRuns::highestRatio() const {
    return sortedRatios(*this, false).last();
}

Run PairedRuns::medianProgram() const {
    const double median = sortedRatios(*this, false)[program.size() / 2];
    Run chosen = program.first();
    long peakKb = 0;
    for (qsizetype pair = 0; pair < program.size(); ++pair) {
        peakKb = std::max(peakKb, program[pair].peakKb);
        if (program[pair].seconds / floor[pair].seconds == median) {
            chosen = program[pair];
        }
    }
    chosen.peakKb = peakKb;
    return chosen;
}

PairedRuns pairRuns(const std::function<Run()>& program, const std::function<Run()>& floor, int pairs) {
    PairedRuns runs;
    for (int pair = 0; pair < std::max(pairs, 1); ++pair) {
        runs.program << program();
        runs.floor << floor();
    }
    return runs;
}

void printPaired(const char* what, const char* floorName, qint64 count, const PairedRuns& runs) {
    const Run program = runs.medianProgram();
    std::printf("%s (%lld pairs, program then floor in turn)\n", what,
                static_cast<long long>(runs.program.size()));
    printFigure("rmstockhand-batch time", program.seconds, "s");
    printFigure("rmstockhand-batch rate", static_cast<double>(count) / program.seconds, "per second");
    printFigure("rmstockhand-batch peak memory", megabytes(program), "MB");
    const QByteArray floorRatio = QByteArray("median ratio to ") + floorName + ", wall time";
    const QByteArray floorCpuRatio = QByteArray("median ratio to ") + floorName + ", CPU time";
    printFigure(floorRatio.constData(), runs.medianRatio(false), "x");
    printFigure(floorCpuRatio.constData(), runs.medianRatio(true), "x");
    printFigure("lowest pair's ratio, wall time", runs.lowestRatio(), "x");
    printFigure("highest pair's ratio, wall time", runs.highestRatio(), "x");
    for (const Run& run : runs.program) {
        if (run.exitCode != 0) {
            std::printf("  rmstockhand-batch exit code %d\n", run.exitCode);
            break;
        }
    }
    std::fflush(stdout);
}

qint64 lineCount(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
}

}  // namespace bench
