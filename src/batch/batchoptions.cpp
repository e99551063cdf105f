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
        {QStringLiteral("receive-stocktake"), Command::ReceiveStocktake},
        {QStringLiteral("receive-orders"), Command::ReceiveOrders},
        {QStringLiteral("receive-goods"), Command::ReceiveGoods},
        {QStringLiteral("scanner-port"), Command::ScannerPort},
        {QStringLiteral("scanner-test"), Command::ScannerTest},
        {QStringLiteral("scanner-devices"), Command::ScannerDevices},
        {QStringLiteral("forget"), Command::Forget},
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
        case Command::ScannerDevices:
        case Command::UploadStocktake:
        case Command::UploadOrders:
        case Command::UploadGoods:
        case Command::ReceiveStocktake:
        case Command::ReceiveOrders:
        case Command::ReceiveGoods:
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

bool checks(Command command) {
    return command == Command::CheckStocktake || command == Command::CheckOrders ||
           command == Command::CheckGoods;
}

bool goods(Command command) {
    return command == Command::ImportGoods || command == Command::CheckGoods ||
           command == Command::UploadGoods;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The command line as it is read: the arguments, where reading has got to, and the first mistake.
struct Reader {
    const QStringList& args;
    qsizetype index = 0;
    BatchOptions& options;
    QString mistake;

    const QString& option() const { return args[index]; }
    QString commandName() const { return args.first(); }

    // The option's value, moving onto it; empty with the mistake said when there is none.
    QString value() {
        if (index + 1 >= args.size() || args[index + 1].isEmpty()) {
            mistake = option() + QStringLiteral(" needs a value");
            return QString();
        }
        return args[++index];
    }

    // The option's value as a number; the mistake names what the number is of.
    std::optional<qint64> number(const char* whatOf) {
        const QString name = option();
        const QString text = value();
        bool ok = false;
        const qint64 read = text.toLongLong(&ok);
        if (!mistake.isEmpty() || ok) {
            return ok ? std::optional<qint64>(read) : std::nullopt;
        }
        mistake = QStringLiteral("%1 takes %2, not %3").arg(name, QLatin1String(whatOf), quoted(text));
        return std::nullopt;
    }

    bool notAnOption() {
        mistake = QStringLiteral("%1 is not an option of %2").arg(quoted(option()), commandName());
        return false;
    }
};

// Reads an option of the import runs and the variance report; false when it is not one this
// command takes, or its value is wrong.
bool readRunOption(Reader& reader) {
    BatchOptions& options = reader.options;
    const QString& option = reader.option();
    const bool loads = imports(options.command);
    const bool variance = options.command == Command::Variance;
    if (option == QLatin1String("--undo-unfinished") && loads) {
        options.undoUnfinished = true;
    } else if (option == QLatin1String("--resume") && loads) {
        options.resume = true;
    } else if (option == QLatin1String("--again") && loads) {
        options.again = true;
    } else if (option == QLatin1String("--if-new") && loads) {
        options.ifNew = true;
    } else if (option == QLatin1String("--load-anyway") && (loads || checks(options.command))) {
        options.loadAnyway = true;
    } else if (option == QLatin1String("--csv") && variance) {
        options.csvFile = reader.value();
    } else if (option == QLatin1String("--run") && variance) {
        options.run = reader.number("a run's number");
    } else {
        return reader.notAnOption();
    }
    return reader.mistake.isEmpty();
}

// Reads a server option of register-shop-db.
bool readServerOption(Reader& reader) {
    BatchOptions& options = reader.options;
    options.server = options.server.value_or(platform::ServerAddress());
    const QString name = reader.option();
    if (!QStringList{"--server", "--port", "--database", "--user"}.contains(name)) {
        return reader.notAnOption();
    }
    if (!platform::readServerOption(reader.args, reader.index, *options.server)) {
        const bool hasValue =
            reader.index + 1 < reader.args.size() && !reader.args[reader.index + 1].isEmpty();
        reader.mistake = hasValue ? QStringLiteral("--port takes a port number from 1 to 65535, not %1")
                                        .arg(quoted(reader.args[reader.index + 1]))
                                  : name + QStringLiteral(" needs a value");
        return false;
    }
    return true;
}

// Reads one option (and its value); false when it is not one this command takes.
bool readOption(Reader& reader) {
    BatchOptions& options = reader.options;
    const QString& option = reader.option();
    const bool forGoods = goods(options.command);
    if (option == QLatin1String("--yes")) {
        options.yes = true;
    } else if (option == QLatin1String("--verbose")) {
        options.verbose = true;
    } else if (option == QLatin1String("--send") && options.command == Command::ExportItems) {
        options.send = true;
    } else if (option == QLatin1String("--no-check") && options.command == Command::RegisterShopDb) {
        options.noCheck = true;
    } else if (option == QLatin1String("--apply-to-all") && forGoods) {
        options.applyToAll = true;
    } else if (option == QLatin1String("--order-no") && forGoods) {
        options.orderNo = reader.value();
    } else if (option == QLatin1String("--supplier") && forGoods) {
        const std::optional<qint64> id = reader.number("a supplier's number");
        options.supplierId = id ? std::optional<qint32>(static_cast<qint32>(*id)) : std::nullopt;
    } else if (options.command == Command::RegisterShopDb) {
        return readServerOption(reader);
    } else {
        return readRunOption(reader);
    }
    return reader.mistake.isEmpty();
}

// What a command is missing or has too much of, once its arguments are read; empty when nothing.
QString argumentMistake(const BatchOptions& options, const QString& name, bool havePath) {
    if (options.command == Command::RegisterShopDb && options.server) {
        if (havePath) {
            return QStringLiteral("register-shop-db takes a database file or --server, not both");
        }
        if (!platform::namesServer(*options.server)) {
            return QStringLiteral("register-shop-db --server needs --server, --database and --user");
        }
        return QString();
    }
    if (takesPath(options) && !havePath) {
        switch (options.command) {
            case Command::RegisterShopDb:
                return QStringLiteral("register-shop-db needs the database file, or --server");
            case Command::Undo:
                return QStringLiteral("undo needs the number of the run to undo");
            case Command::ScannerPort:
                return QStringLiteral("scanner-port needs the port (COM1 or COM2) and its device");
            case Command::Forget:
                return QStringLiteral(
                    "forget needs the name of the handheld to forget: scanner-devices lists them");
            default:
                return name + QStringLiteral(" needs the upload file");
        }
    }
    if (options.command == Command::ScannerPort && options.device.isEmpty()) {
        return QStringLiteral("scanner-port needs the port (COM1 or COM2) and its device");
    }
    return QString();
}

// The options' combinations that the dialog or the run questions cannot answer; empty when none.
QString combinationMistake(const BatchOptions& options) {
    // OK cannot be pressed before a supplier is confirmed, and the apply-to-all question comes only with OK.
    if (options.orderNo && !options.supplierId) {
        return QStringLiteral(
            "--order-no needs --supplier: the order number is typed once a supplier is confirmed");
    }
    if (options.applyToAll && !options.orderNo) {
        return QStringLiteral("--apply-to-all needs --order-no");
    }
    if (options.undoUnfinished && options.resume) {
        return QStringLiteral("--undo-unfinished and --resume cannot go together");
    }
    if (options.again && options.ifNew) {
        return QStringLiteral("--again and --if-new cannot go together");
    }
    return QString();
}

}  // namespace

std::variant<BatchOptions, QString> parseBatchOptions(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return QStringLiteral("no command given");
    }
    if (!commandsByName().contains(arguments.first())) {
        return QStringLiteral("%1 is not a command").arg(quoted(arguments.first()));
    }
    BatchOptions options;
    options.command = commandsByName().value(arguments.first());
    Reader reader{arguments, 1, options, QString()};
    bool havePath = false;
    for (; reader.index < arguments.size(); ++reader.index) {
        const QString& argument = arguments[reader.index];
        if (argument.startsWith(QLatin1String("--"))) {
            if (!readOption(reader)) {
                return reader.mistake;
            }
        } else if (!havePath && takesPath(options)) {
            options.path = argument;
            havePath = true;
        } else if (options.command == Command::ScannerPort && options.device.isEmpty()) {
            options.device = argument;
        } else {
            return QStringLiteral("%1 is one argument too many for %2")
                .arg(quoted(argument), arguments.first());
        }
    }
    if (options.command == Command::ScannerTest && !havePath) {
        options.path = QStringLiteral("COM1");
        havePath = true;
    }
    QString mistake = argumentMistake(options, arguments.first(), havePath);
    if (mistake.isEmpty()) {
        mistake = combinationMistake(options);
    }
    if (mistake.isEmpty() && options.command == Command::Undo) {
        bool ok = false;
        options.run = options.path.toLongLong(&ok);
        mistake =
            ok ? QString() : QStringLiteral("undo takes a run's number, not %1").arg(quoted(options.path));
    }
    if (!mistake.isEmpty()) {
        return mistake;
    }
    return options;
}

QString batchUsage() {
    return QStringLiteral(
        "usage: rmstockhand-batch COMMAND [--yes] [--verbose]\n"
        "       rmstockhand-batch --help | --version\n"
        "  register-shop-db PATH      register the file PATH as the shop database \"MYOBRM\"\n"
        "  register-shop-db --server HOST [--port N] --database NAME --user USER\n"
        "                             register a database on a database server as \"MYOBRM\"; either\n"
        "                             is reached first, and must hold the shop's tables, unless\n"
        "                             --no-check is given\n"
        "  import-stocktake FILE      import a stocktake upload (Stock.dat)\n"
        "  import-orders FILE         import a purchase order upload (Orders.dat)\n"
        "  import-goods FILE [--supplier ID] [--order-no TEXT] [--apply-to-all]\n"
        "                             import a goods-received upload (Goods.dat)\n"
        "                             each import also takes --undo-unfinished, --resume, --again,\n"
        "                             --if-new and --load-anyway\n"
        "  export-items [--send]      write rmItems.dat, and with --send send it to the scanner\n"
        "  upload-stocktake, upload-orders, upload-goods [the import's options]\n"
        "                             receive the upload from the scanner into the program's folder,\n"
        "                             as the window's upload buttons do, then import it\n"
        "  receive-stocktake, receive-orders, receive-goods\n"
        "                             receive the upload into the program's folder, to check it first\n"
        "  scanner-port COM1|COM2 DEVICE\n"
        "                             the serial device (or folder) the scanner's port is on, or\n"
        "                             web: a handheld's browser, served the handheld page\n"
        "  scanner-test [COM1|COM2]   can the port be opened, and does the scanner answer?\n"
        "  scanner-devices            list the handhelds paired with the transfer utility's handheld\n"
        "                             page, and when each was last used\n"
        "  forget NAME                unpair the handheld NAME: it can neither take the item file nor\n"
        "                             send uploads until it pairs again\n"
        "  runs                       list the imports the shop database keeps a record of\n"
        "  undo RUN                   take back everything an import run wrote\n"
        "  variance [--run RUN] [--csv FILE]\n"
        "                             a stocktake run's counts beside the stock on hand (the latest\n"
        "                             ended stocktake run that counted, unless told), also as a\n"
        "                             spreadsheet file of the item rows\n"
        "  check-stocktake FILE, check-orders FILE, check-goods FILE [the import-goods options]\n"
        "                             say what importing FILE would do, record by record, writing\n"
        "                             nothing; exit 3 when some record would not load cleanly\n"
        "An upload whose first line is another kind's header, or that is not text, is refused before\n"
        "anything is written unless --load-anyway is given; a goods --supplier must be in the list.\n"
        "The goods import answers the order details dialog as a person would: --supplier picks that\n"
        "supplier and confirms it, --order-no types the number and presses OK (after --supplier),\n"
        "--apply-to-all answers Yes to applying it to all blank order numbers (with --order-no);\n"
        "without --order-no the dialog is closed without OK. Each command answers the question that\n"
        "starts its button's work; every other question is answered No unless --yes is given.\n"
        "An import that finds the last import of its kind stopped part of the way loads nothing\n"
        "unless --undo-unfinished (undo that import first) or --resume (carry the same file on from\n"
        "where it stopped) is given; one of a file already loaded loads nothing unless --again, and\n"
        "with --if-new that is no failure. An upload that is not there is nothing to import.\n"
        "Each import ends with a line of what became of its records. Listings, reports and the\n"
        "batch's own lines go to standard output; the messages the window shows in its boxes, and\n"
        "refusals, go to standard error, one line each; --verbose adds what Qt and the database\n"
        "drivers report on the way. Exit status: 0 done, 1 stopped or refused, 2 a wrong command\n"
        "line, 3 a check found records to look at, 4 an import left records neither written nor\n"
        "in the audit report.\n");
}
