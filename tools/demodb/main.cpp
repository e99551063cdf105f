// rmstockhand-demo-db: writes a demo shop database for trying the program without a real shop,
// into a file or onto a PostgreSQL server.

#include <QCoreApplication>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "demoshop.h"
#include "platform/serveroptions.h"

namespace {

constexpr long kDefaultItems = 200;

struct Arguments {
    // The file to write; empty when the shop goes onto a server.
    QString path;
    platform::ServerAddress server;
    long items = kDefaultItems;
};

std::optional<long> itemCount(const QString& text) {
    bool ok = false;
    const long value = text.toLong(&ok);
    return ok && value >= 0 && value <= demoshop::kMaxItems ? std::optional(value) : std::nullopt;
}

std::optional<Arguments> parse(const QStringList& args) {
    Arguments arguments;
    bool serverOption = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--items") && i + 1 < args.size()) {
            const std::optional<long> items = itemCount(args[++i]);
            if (!items) {
                return std::nullopt;
            }
            arguments.items = *items;
        } else if (args[i].startsWith(QLatin1Char('-'))) {
            if (!platform::readServerOption(args, i, arguments.server)) {
                return std::nullopt;
            }
            serverOption = true;
        } else if (arguments.path.isEmpty() && !args[i].isEmpty()) {
            arguments.path = args[i];
        } else {
            return std::nullopt;
        }
    }
    const bool named = serverOption ? platform::namesServer(arguments.server) && arguments.path.isEmpty()
                                    : !arguments.path.isEmpty();
    return named ? std::optional(arguments) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::optional<Arguments> arguments = parse(QCoreApplication::arguments());
    if (!arguments) {
        std::fprintf(stderr,
                     "usage: rmstockhand-demo-db PATH [--items N]\n"
                     "       rmstockhand-demo-db %s [--items N]\n"
                     "Writes a demo shop database with N items (default %ld, at most %ld) at PATH,\n"
                     "replacing any file there, or into the database on a PostgreSQL server,\n"
                     "replacing the shop tables there.\n",
                     platform::serverOptionsUsage(), kDefaultItems, demoshop::kMaxItems);
        return 2;
    }
    try {
        if (arguments->path.isEmpty()) {
            demoshop::writeDemoShopOnServer(arguments->server, arguments->items);
        } else {
            demoshop::writeDemoShopFile(arguments->path, arguments->items);
        }
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "rmstockhand-demo-db: %s\n", error.what());
        return 1;
    }
    return 0;
}
