#include <QCommandLineParser>
#include <QCoreApplication>
#include <iostream>

#include "memoryfiles.h"
#include "scannermemory.h"
#include "scansession.h"

namespace {

const scanner::UploadMode* modeNamed(const QString& command) {
    for (const scanner::UploadMode& mode : scanner::kUploadModes) {
        if (command == QLatin1String(mode.command)) {
            return &mode;
        }
    }
    return nullptr;
}

int wholeOption(const QCommandLineParser& parser, const QString& name, int lowest) {
    bool isNumber = false;
    const int value = parser.value(name).toInt(&isNumber);
    if (!isNumber || value < lowest) {
        throw scanner::Failure(QStringLiteral("--%1 must be a whole number from %2").arg(name).arg(lowest));
    }
    return value;
}

ScanOptions scanOptions(const QCommandLineParser& parser) {
    ScanOptions options;
    options.records = wholeOption(parser, QStringLiteral("records"), 1);
    options.seed = static_cast<quint32>(wholeOption(parser, QStringLiteral("seed"), 0));
    options.orderNo = QByteArray::number(wholeOption(parser, QStringLiteral("order"), 1));
    return options;
}

void scan(const scanner::UploadMode& mode, const ScanOptions& options) {
    const QByteArray upload = scanUpload(mode, readHeldItems(), options);
    scanner::writeAtomically(scanner::memoryFile(QLatin1String(mode.fileName)), upload);
    std::cout << mode.fileName << " holds " << options.records << " records" << std::endl;
}

int run(const QCommandLineParser& parser) {
    const QStringList commands = parser.positionalArguments();
    if (commands.size() != 1) {
        throw scanner::Failure(QStringLiteral("give one command: stocktake, orders, goods or show"));
    }
    if (commands.first() == QLatin1String("show")) {
        std::cout << describeMemory().join(QLatin1Char('\n')).toStdString() << std::endl;
        return 0;
    }
    const scanner::UploadMode* mode = modeNamed(commands.first());
    if (mode == nullptr) {
        throw scanner::Failure(
            QStringLiteral("unknown command '%1' (stocktake, orders, goods or show)").arg(commands.first()));
    }
    scan(*mode, scanOptions(parser));
    return 0;
}

}  // namespace

// The scanner simulator: scans the held items as a shop assistant would, leaving the upload for
// the transfer utility to receive, and shows what the scanner holds.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulates the scanner: 'stocktake', 'orders' and 'goods' make Stock.dat, Orders.dat and Goods.dat "
        "from the held item file; 'show' lists what the scanner holds. The scanner's memory is PDT_SIM_DIR, "
        "or the folder scanner-memory beside this program (in the user's data folder, "
        "~/.local/share/rmstockhand, when it is installed), which the transfer utility shares."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("stocktake, orders, goods or show"));
    parser.addOption({QStringLiteral("records"), QStringLiteral("Records to scan (12)."), QStringLiteral("N"),
                      QStringLiteral("12")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the scans (1)."), QStringLiteral("S"),
                      QStringLiteral("1")});
    parser.addOption({QStringLiteral("order"),
                      QStringLiteral("Purchase order number typed in for goods (102)."), QStringLiteral("N"),
                      QStringLiteral("102")});
    parser.process(app);
    try {
        return run(parser);
    } catch (const scanner::Failure& failure) {
        std::cerr << "pdt-sim: " << failure.what() << std::endl;
        return 1;
    }
}
