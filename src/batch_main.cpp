// rmstockhand-batch: the program's commands without a screen, for imports on a schedule.
#include <QCoreApplication>
#include <cstdio>

#include "batch/batchoptions.h"
#include "batch/batchrun.h"
#include "platform/stringtools.h"
#include "shopdata/shopdatabase.h"

namespace {

// Standard error carries the program's own messages, one line each: what Qt and the drivers say on
// the way (a driver's warning, the plugins Qt loads when asked to tell) is passed on only with
// --verbose.
void keepQuiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// The exit status of a wrong command line.
constexpr int kWrongCommandLine = 2;

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const std::variant<BatchOptions, QString> parsed = parseBatchOptions(arguments);
    const BatchOptions* options = std::get_if<BatchOptions>(&parsed);
    if (options == nullptr || !options->verbose) {
        qInstallMessageHandler(keepQuiet);
    }
    QCoreApplication app(argc, argv);
    if (options == nullptr) {
        const QString text =
            QStringLiteral("rmstockhand-batch: %1\nrmstockhand-batch --help shows how to use it\n")
                .arg(std::get<QString>(parsed));
        std::fputs(text.toLocal8Bit().constData(), stderr);
        return kWrongCommandLine;
    }
    StringTools tools;
    ShopDatabase shop;
    return runBatch(*options, tools, shop, shop);
}
