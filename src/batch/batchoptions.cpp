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
    };
    return commands;
}

bool takesPath(const BatchOptions& options) {
    return options.command != Command::ExportItems && !options.server;
}

// Reads one option (and its value) at `index`; false when it is not one this command takes.
bool readOption(const QStringList& args, qsizetype& index, BatchOptions& options) {
    const QString& option = args[index];
    const bool goods = options.command == Command::ImportGoods || options.command == Command::CheckGoods;
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
        return false;
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
        } else {
            return std::nullopt;
        }
    }
    // OK cannot be pressed before a supplier is confirmed, and the apply-to-all question comes only with OK.
    const bool answersFollowTheDialog =
        (!options.orderNo || options.supplierId) && (!options.applyToAll || options.orderNo);
    if (takesPath(options) != havePath || (options.server && !platform::namesServer(*options.server)) ||
        !answersFollowTheDialog) {
        return std::nullopt;
    }
    return options;
}

QString batchUsage() {
    return QStringLiteral(
        "usage: rmstockhand-batch COMMAND [--yes] [--verbose]\n"
        "  register-shop-db PATH      register the file PATH as the shop database \"MYOBRM\"\n"
        "  register-shop-db --server HOST [--port N] --database NAME --user USER\n"
        "                             register a database on a database server as \"MYOBRM\"\n"
        "  import-stocktake FILE      import a stocktake upload (Stock.dat)\n"
        "  import-orders FILE         import a purchase order upload (Orders.dat)\n"
        "  import-goods FILE [--supplier ID] [--order-no TEXT] [--apply-to-all]\n"
        "                             import a goods-received upload (Goods.dat)\n"
        "  export-items [--send]      write rmItems.dat, and with --send send it to the scanner\n"
        "  check-stocktake FILE, check-orders FILE, check-goods FILE [the import-goods options]\n"
        "                             say what importing FILE would do, record by record, writing\n"
        "                             nothing; exit 3 when some record would not load cleanly\n"
        "The goods import answers the order details dialog as a person would: --supplier picks that\n"
        "supplier and confirms it, --order-no types the number and presses OK (after --supplier),\n"
        "--apply-to-all answers Yes to applying it to all blank order numbers (with --order-no);\n"
        "without --order-no the dialog is closed without OK. Each command answers the question that\n"
        "starts its button's work; every other question is answered No unless --yes is given.\n"
        "Messages go to standard error, one line each; --verbose adds what Qt and the database\n"
        "drivers report on the way.\n");
}
