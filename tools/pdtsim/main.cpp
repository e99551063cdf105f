#include <QCommandLineParser>
#include <QCoreApplication>
#include <iostream>
#include <optional>

#include "memoryfiles.h"
#include "scannermemory.h"
#include "scansession.h"
#include "serveloop.h"

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

FaultPlan faultPlan(const QCommandLineParser& parser) {
    FaultPlan plan;
    plan.record = wholeOption(parser, QStringLiteral("fault-at"), 1);
    if (!parser.isSet(QStringLiteral("fault"))) {
        return plan;
    }
    const std::optional<FaultKind> kind = faultKindNamed(parser.value(QStringLiteral("fault")));
    if (!kind) {
        throw scanner::Failure(
            QStringLiteral("unknown fault '%1' (%2)")
                .arg(parser.value(QStringLiteral("fault")), faultKindNames().join(QStringLiteral(", "))));
    }
    plan.kind = *kind;
    return plan;
}

fileprotocol::LinkRules linkRules(const QCommandLineParser& parser) {
    fileprotocol::LinkRules rules;
    rules.serialNumbers = !parser.isSet(QStringLiteral("no-serial-numbers"));
    rules.blockCheck = !parser.isSet(QStringLiteral("no-block-check"));
    rules.retryInterval = fileprotocol::Millis(wholeOption(parser, QStringLiteral("retry-ms"), 1));
    rules.linkUpTime = fileprotocol::Millis(wholeOption(parser, QStringLiteral("link-up-ms"), 1));
    return rules;
}

ServeOptions serveOptions(const QCommandLineParser& parser) {
    ServeOptions options;
    options.device = parser.value(QStringLiteral("device"));
    options.link = parser.value(QStringLiteral("link"));
    if (!options.device.isEmpty() && !options.link.isEmpty()) {
        throw scanner::Failure(
            QStringLiteral("--link names a pseudo-terminal's slave: leave it out with --device"));
    }
    options.rules = linkRules(parser);
    options.offerAfter = fileprotocol::Millis(wholeOption(parser, QStringLiteral("offer-after"), 0));
    options.paceBaud =
        parser.isSet(QStringLiteral("pace")) ? wholeOption(parser, QStringLiteral("pace"), 1) : 0;
    options.fault = faultPlan(parser);
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
        throw scanner::Failure(QStringLiteral("give one command: stocktake, orders, goods, show or serve"));
    }
    if (commands.first() == QLatin1String("serve")) {
        serve(serveOptions(parser));
        return 0;
    }
    if (commands.first() == QLatin1String("show")) {
        std::cout << describeMemory().join(QLatin1Char('\n')).toStdString() << std::endl;
        return 0;
    }
    const scanner::UploadMode* mode = modeNamed(commands.first());
    if (mode == nullptr) {
        throw scanner::Failure(
            QStringLiteral("unknown command '%1' (stocktake, orders, goods, show or serve)")
                .arg(commands.first()));
    }
    scan(*mode, scanOptions(parser));
    return 0;
}

void addServeOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {QStringLiteral("link"), QStringLiteral("serve: link PATH to the pseudo-terminal's slave."),
         QStringLiteral("PATH")},
        {QStringLiteral("device"), QStringLiteral("serve: use the serial device DEV (9600 8N1) instead."),
         QStringLiteral("DEV")},
        {QStringLiteral("offer-after"),
         QStringLiteral("serve: quiet time before an upload is offered (300)."), QStringLiteral("MS"),
         QStringLiteral("300")},
        {QStringLiteral("retry-ms"), QStringLiteral("serve: wait for an answer before asking again (3000)."),
         QStringLiteral("N"), QStringLiteral("3000")},
        {QStringLiteral("link-up-ms"),
         QStringLiteral("serve: wait for the sender's first ENQ when receiving (60000)."),
         QStringLiteral("N"), QStringLiteral("60000")},
        {QStringLiteral("no-serial-numbers"), QStringLiteral("serve: blocks without serial numbers.")},
        {QStringLiteral("no-block-check"), QStringLiteral("serve: blocks without a check character.")},
        {QStringLiteral("pace"), QStringLiteral("serve: move bytes at the speed of a BAUD wire."),
         QStringLiteral("BAUD")},
        {QStringLiteral("fault"),
         QStringLiteral("serve: a line fault, once at record --fault-at: bad-bcc, lost-ack, repeat, "
                        "nak-always (from that record on), silent (never writes), eot or hangup."),
         QStringLiteral("KIND")},
        {QStringLiteral("fault-at"), QStringLiteral("serve: the record the fault strikes, from 1 (1)."),
         QStringLiteral("N"), QStringLiteral("1")},
    });
}

}  // namespace

// The scanner simulator: scans the held items as a shop assistant would, leaving the upload for
// the transfer utility to receive, shows what the scanner holds, and plays the scanner on a
// serial line.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulates the scanner: 'stocktake', 'orders' and 'goods' make Stock.dat, Orders.dat and Goods.dat "
        "from the held item file; 'show' lists what the scanner holds; 'serve' is the scanner on a "
        "serial line (a new pseudo-terminal, or --device): it keeps each file the PC sends, and offers "
        "its uploads in turn whenever the line has been quiet, until SIGTERM or SIGINT. "
        "The scanner's memory is PDT_SIM_DIR, "
        "or the folder scanner-memory beside this program (in the user's data folder, "
        "~/.local/share/rmstockhand, when it is installed), which the transfer utility shares."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("stocktake, orders, goods, show or serve"));
    parser.addOption({QStringLiteral("records"), QStringLiteral("Records to scan (12)."), QStringLiteral("N"),
                      QStringLiteral("12")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the scans (1)."), QStringLiteral("S"),
                      QStringLiteral("1")});
    parser.addOption({QStringLiteral("order"),
                      QStringLiteral("Purchase order number typed in for goods (102)."), QStringLiteral("N"),
                      QStringLiteral("102")});
    addServeOptions(parser);
    parser.process(app);
    try {
        return run(parser);
    } catch (const scanner::Failure& failure) {
        std::cerr << "pdt-sim: " << failure.what() << std::endl;
        return 1;
    }
}
