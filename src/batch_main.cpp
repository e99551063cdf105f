// rmstockhand-batch: the program's commands without a screen, for imports on a schedule.
#include <QCoreApplication>
#include <cstdio>

#include "batch/batchoptions.h"
#include "batch/batchrun.h"
#include "shopdata/shopdatabase.h"
#include "stringtools/stringtools.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::optional<BatchOptions> options = parseBatchOptions(QCoreApplication::arguments().mid(1));
    if (!options) {
        std::fputs(batchUsage().toLocal8Bit().constData(), stderr);
        return 2;
    }
    StringTools tools;
    ShopDatabase shop;
    return runBatch(*options, tools, shop);
}
