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

Run quickest(const std::function<Run()>& run, int runs) {
    Run best = run();
    for (int i = 1; i < runs; ++i) {
        const Run next = run();
        const long peakKb = std::max(best.peakKb, next.peakKb);
        if (next.seconds < best.seconds) {
            best = next;
        }
        best.peakKb = peakKb;
    }
    return best;
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
    return Run{elapsed.count(), usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

BenchShop::BenchShop(int items) {
    if (!dir_.isValid()) {
        fail(QStringLiteral("no temporary folder"));
    }
    qputenv("RMSTOCKHAND_HOME", folder().toLocal8Bit());
    qputenv("ODBCINI", path(QStringLiteral("odbc.ini")).toLocal8Bit());
    QDir::setCurrent(folder());
    runTool(QStringLiteral("rmstockhand-demo-db"),
            {path(QStringLiteral("shop.mdb")), QStringLiteral("--items"), QString::number(items)});
    runTool(QStringLiteral("rmstockhand-batch"),
            {QStringLiteral("register-shop-db"), path(QStringLiteral("shop.mdb"))});
}

QString BenchShop::floorCopy() const {
    const QString copy = path(QStringLiteral("floor.mdb"));
    QFile::remove(copy);
    if (!QFile::copy(path(QStringLiteral("shop.mdb")), copy)) {
        fail(QStringLiteral("cannot copy the shop database"));
    }
    return copy;
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

void printFigure(const char* name, double value, const char* unit) {
    std::printf("  %-34s %12.2f %s\n", name, value, unit);
}

void printMemoryRun(const char* what, qint64 count, const Run& run) {
    std::printf("Memory: %lld %s\n", static_cast<long long>(count), what);
    printFigure("rmstockhand-batch time", run.seconds, "s");
    printFigure("rmstockhand-batch peak memory", megabytes(run), "MB");
}

void printComparison(const char* what, qint64 count, const Run& program, const Run& floor) {
    std::printf("%s\n", what);
    printFigure("rmstockhand-batch time", program.seconds, "s");
    printFigure("rmstockhand-batch rate", static_cast<double>(count) / program.seconds, "per second");
    printFigure("rmstockhand-batch peak memory", megabytes(program), "MB");
    printFigure("sqlite3 floor time", floor.seconds, "s");
    printFigure("sqlite3 floor rate", static_cast<double>(count) / floor.seconds, "per second");
    printFigure("ratio to the floor", program.seconds / floor.seconds, "x");
    if (program.exitCode != 0) {
        std::printf("  rmstockhand-batch exit code %d\n", program.exitCode);
    }
    std::fflush(stdout);
}

}  // namespace bench
