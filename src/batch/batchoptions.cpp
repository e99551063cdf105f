#include "batch/batchoptions.h"

#include <QMap>

#include "platform/serveroptions.h"

namespace {

using Command = BatchOptions::Command;

const QMap<QString, Command>& commandsByName() {
    static const QMap<QString, Command> commands{
        {QStringLiteral("register-shop-db"), Command::RegisterShopDb},
        {QStringLiteral("import-stocktake"), Command::ImportStocktake},
        {QStringLiteral("import-orders"), Command::ImportOrders},
        {QStringLiteral("import-goods"), Command::ImportGoods},
        {QStringLiteral("export-items"), Command::ExportItems},
        {QStringLiteral("check-stocktake"), Command::CheckStocktake},
        {QStringLiteral("check-orders"), Command::CheckOrders},
        {QStringLiteral("check-goods"), Command::CheckGoods},
        {QStringLiteral("runs"), Command::Runs},
        {QStringLiteral("undo"), Command::Undo},
        {QStringLiteral("variance"), Command::Variance},
        {QStringLiteral("upload-stocktake"), Command::UploadStocktake},
        {QStringLiteral("upload-orders"), Command::UploadOrders},
        {QStringLiteral("upload-goods"), Command::UploadGoods},
        {QStringLiteral("scanner-port"), Command::ScannerPort},
        {QStringLiteral("scanner-test"), Command::ScannerTest},
        {QStringLiteral("--help"), Command::Help},
        {QStringLiteral("--version"), Command::Version},
    };
    return commands;
}

bool takesPath(const BatchOptions& options) {
    switch (options.command) {
        case Command::ExportItems:
        case Command::Runs:
        case Command::Variance:
        case Command::Help:
        case Command::Version:
        case Command::UploadStocktake:
        case Command::UploadOrders:
        case Command::UploadGoods:
            return false;
        default:
            return !options.server;
    }
}

bool imports(Command command) {
    return command == Command::ImportStocktake || command == Command::ImportOrders ||
           command == Command::ImportGoods || command == Command::UploadStocktake ||
           command == Command::UploadOrders || command == Command::UploadGoods;
}

// Reads an option of the import runs (the answers about an earlier import, the variance report's
// run and file); false when it is not one this command takes.
bool readRunOption(const QStringList& args, qsizetype& index, BatchOptions& options) {
    const QString& option = args[index];
    const bool hasValue = index + 1 < args.size();
    const bool variance = options.command == Command::Variance;
    if (option == QLatin1String("--undo-unfinished") && imports(options.command)) {
        options.undoUnfinished = true;
    } else if (option == QLatin1String("--resume") && imports(options.command)) {
        options.resume = true;
    } else if (option == QLatin1String("--again") && imports(options.command)) {
        options.again = true;
    } else if (option == QLatin1String("--csv") && variance && hasValue) {
        options.csvFile = args[++index];
    } else if (option == QLatin1String("--run") && variance && hasValue) {
        bool ok = false;
        options.run = args[++index].toLongLong(&ok);
        return ok;
    } else {
        return false;
    }
    return true;
}

// Reads one option (and its value) at `index`; false when it is not one this command takes.
bool readOption(const QStringList& args, qsizetype& index, BatchOptions& options) {
    const QString& option = args[index];
    const bool goods = options.command == Command::ImportGoods || options.command == Command::CheckGoods ||
                       options.command == Command::UploadGoods;
    const bool hasValue = index + 1 < args.size();
    if (option == QLatin1String("--yes")) {
        options.yes = true;
    } else if (option == QLatin1String("--verbose")) {
        options.verbose = true;
    } else if (option == QLatin1String("--send") && options.command == Command::ExportItems) {
        options.send = true;
    } else if (option == QLatin1String("--apply-to-all") && goods) {
        options.applyToAll = true;
    } else if (option == QLatin1String("--order-no") && goods && hasValue) {
        options.orderNo = args[++index];
    } else if (option == QLatin1String("--supplier") && goods && hasValue) {
        bool ok = false;
        options.supplierId = args[++index].toInt(&ok);
        return ok;
    } else if (options.command == Command::RegisterShopDb) {
        options.server = options.server.value_or(platform::ServerAddress());
        return platform::readServerOption(args, index, *options.server);
    } else {
        return readRunOption(args, index, options);
    }
    return true;
}

}  // namespace

std::optional<BatchOptions> parseBatchOptions(const QStringList& arguments) {
    if (arguments.isEmpty() || !commandsByName().contains(arguments.first())) {
        return std::nullopt;
    }
    BatchOptions options;
    options.command = commandsByName().value(arguments.first());
    bool havePath = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QLatin1String("--"))) {
            if (!readOption(arguments, i, options)) {
                return std::nullopt;
            }
        } else if (!havePath) {
            options.path = arguments[i];
            havePath = true;
        } else if (options.command == Command::ScannerPort && options.device.isEmpty()) {
            options.device = arguments[i];
        } else {
            return std::nullopt;
        }
    }
    // OK cannot be pressed before a supplier is confirmed, and the apply-to-all question comes only with OK.
    const bool answersFollowTheDialog =
        (!options.orderNo || options.supplierId) && (!options.applyToAll || options.orderNo);
    // An unfinished import is either undone or carried on.
    const bool oneWayOn = !(options.undoUnfinished && options.resume);
    // The port to test is COM1 unless named; a port's device must be named.
    const bool portArguments = options.command != Command::ScannerPort || !options.device.isEmpty();
    if (options.command == Command::ScannerTest && !havePath) {
        options.path = QStringLiteral("COM1");
        havePath = true;
    }
    bool runNumber = true;
    if (options.command == Command::Undo) {
        options.run = options.path.toLongLong(&runNumber);
    }
    if (!runNumber || !portArguments || takesPath(options) != havePath ||
        (options.server && !platform::namesServer(*options.server)) || !answersFollowTheDialog || !oneWayOn) {
        return std::nullopt;
    }
    return options;
}

QString batchUsage() {
    return QStringLiteral(
        "usage: rmstockhand-batch COMMAND [--yes] [--verbose]\n"
        "       rmstockhand-batch --help | --version\n"
        "  register-shop-db PATH      register the file PATH as the shop database \"MYOBRM\"\n"
        "  register-shop-db --server HOST [--port N] --database NAME --user USER\n"
        "                             register a database on a database server as \"MYOBRM\"\n"
        "  import-stocktake FILE      import a stocktake upload (Stock.dat)\n"
        "  import-orders FILE         import a purchase order upload (Orders.dat)\n"
        "  import-goods FILE [--supplier ID] [--order-no TEXT] [--apply-to-all]\n"
        "                             import a goods-received upload (Goods.dat)\n"
        "                             each import also takes --undo-unfinished, --resume, --again\n"
        "  export-items [--send]      write rmItems.dat, and with --send send it to the scanner\n"
        "  upload-stocktake, upload-orders, upload-goods [the import's options]\n"
        "                             receive the upload from the scanner into the program's folder,\n"
        "                             as the window's upload buttons do, then import it\n"
        "  scanner-port COM1|COM2 DEVICE\n"
        "                             the serial device (or folder) the scanner's port is on\n"
        "  scanner-test [COM1|COM2]   can the port be opened, and does the scanner answer?\n"
        "  runs                       list the imports the shop database keeps a record of\n"
        "  undo RUN                   take back everything an import run wrote\n"
        "  variance [--run RUN] [--csv FILE]\n"
        "                             a stocktake run's counts beside the stock on hand (the latest\n"
        "                             ended stocktake run that counted, unless told), also as a\n"
        "                             spreadsheet file of the item rows\n"
        "  check-stocktake FILE, check-orders FILE, check-goods FILE [the import-goods options]\n"
        "                             say what importing FILE would do, record by record, writing\n"
        "                             nothing; exit 3 when some record would not load cleanly\n"
        "The goods import answers the order details dialog as a person would: --supplier picks that\n"
        "supplier and confirms it, --order-no types the number and presses OK (after --supplier),\n"
        "--apply-to-all answers Yes to applying it to all blank order numbers (with --order-no);\n"
        "without --order-no the dialog is closed without OK. Each command answers the question that\n"
        "starts its button's work; every other question is answered No unless --yes is given.\n"
        "An import that finds the last import of its kind stopped part of the way loads nothing\n"
        "unless --undo-unfinished (undo that import first) or --resume (carry the same file on from\n"
        "where it stopped) is given; one of a file already loaded loads nothing unless --again.\n"
        "Messages go to standard error, one line each; --verbose adds what Qt and the database\n"
        "drivers report on the way.\n");
}
