#include "demoshop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/connection.h"
#include "platform/programerror.h"
#include "shopdata/shopbackend.h"
#include "shopdata/shopschema.h"

namespace demoshop {

namespace {

struct Supplier {
    int id;
    const char* name;
};

struct Order {
    int id;
    int supplierId;
    const char* date;
};

constexpr Supplier kSuppliers[] = {{1, "Alpha Wholesale"}, {2, "Beta Distributors"}, {3, "Gamma Foods"}};
constexpr Order kOrders[] = {
    {101, 3, "2024-03-04"}, {102, 3, "2024-03-11"}, {103, 3, "2024-03-18"}, {201, 2, "2024-03-06"}};
constexpr long kNextOrderNo = 1001;
// Items go in by statements of this many rows: few statements, none of them large.
constexpr long kItemsPerStatement = 500;

const QString kConnectionName = QStringLiteral("demo shop");

// The helpers below give the database's own reason; the callers add which database it was.
void exec(const QSqlDatabase& connection, const QString& sql) {
    QSqlQuery query(connection);
    if (!query.exec(sql)) {
        throw std::runtime_error(query.lastError().text().toStdString());
    }
}

// One row of the stock table as SQL values; every text is the maker's own, never quoted.
QString itemValues(long item) {
    return QStringLiteral("(%1, '%2', 'Demo item %1', %3, %4.95, %5, %6)")
        .arg(item)
        .arg(QString::fromStdString(demoBarcode(item)))
        .arg(1 + item % 3)
        .arg(item % 100)
        .arg(item % 20)
        .arg(item % 10 == 0 ? 12 : 1);
}

void insertItems(const QSqlDatabase& connection, long items) {
    for (long first = 1; first <= items; first += kItemsPerStatement) {
        QStringList rows;
        for (long item = first; item <= std::min(items, first + kItemsPerStatement - 1); ++item) {
            rows << itemValues(item);
        }
        exec(connection,
             QStringLiteral("insert into stock (stock_id, BarCode, Description, Supplier_id, Price, "
                            "QtyOnHand, QtyFactor) values ") +
                 rows.join(QLatin1Char(',')));
    }
}

void insertSuppliersAndOrders(const QSqlDatabase& connection) {
    for (const Supplier& supplier : kSuppliers) {
        exec(connection, QStringLiteral("insert into supplier (Supplier_id, Supplier) values (%1, '%2')")
                             .arg(supplier.id)
                             .arg(QLatin1String(supplier.name)));
    }
    for (const Order& order : kOrders) {
        exec(connection,
             QStringLiteral("insert into orders (order_id, supplier_id, order_date, status, from_scanner) "
                            "values (%1, %2, '%3', 1, 0)")
                 .arg(order.id)
                 .arg(order.supplierId)
                 .arg(QLatin1String(order.date)));
    }
    exec(connection,
         QStringLiteral("insert into counters (name, value) values ('next_order_no', %1)").arg(kNextOrderNo));
}

// The shop tables made anew and filled, in one transaction on the engine's own terms.
void fill(const QSqlDatabase& connection, long items) {
    const ShopBackend& backend = shopBackend(connection);
    backend.prepareConnection(connection);
    if (!QSqlDatabase(connection).transaction()) {
        throw std::runtime_error(connection.lastError().text().toStdString());
    }
    try {
        for (const QString& statement : dropShopSchemaStatements() + shopSchemaStatements(backend)) {
            exec(connection, statement);
        }
        insertSuppliersAndOrders(connection);
        insertItems(connection, items);
    } catch (const std::runtime_error&) {
        QSqlDatabase(connection).rollback();
        throw;
    }
    if (!QSqlDatabase(connection).commit()) {
        throw std::runtime_error(connection.lastError().text().toStdString());
    }
}

// The one-line reason that the maker gives: a server's message may run over several lines.
std::runtime_error cannotWrite(const QString& name, const QString& reason) {
    return std::runtime_error("cannot write " + name.toStdString() + ": " +
                              reason.simplified().toStdString());
}

// Fills the database that the data source reaches; `name` says which one, for the message.
void fillDataSource(const platform::DataSource& source, const QString& name, long items) {
    const QString connectionString = platform::connectionString(source);
    try {
        if (connectionString.isEmpty()) {
            throw std::runtime_error("the name holds a \";\", which a connection string cannot hold");
        }
        {
            const QSqlDatabase connection = platform::openConnection(connectionString, kConnectionName);
            fill(connection, items);
        }
        platform::closeConnection(kConnectionName);
    } catch (const ProgramError& error) {
        platform::closeConnection(kConnectionName);
        throw cannotWrite(name, error.description());
    } catch (const std::runtime_error& error) {
        platform::closeConnection(kConnectionName);
        throw cannotWrite(name, QString::fromStdString(error.what()));
    }
}

void removeIfThere(const QString& path) {
    QFile file(path);
    if (file.exists() && !file.remove()) {
        throw std::runtime_error("cannot replace " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
}

}  // namespace

char eanCheckDigit(const std::string& twelveDigits) {
    int sum = 0;
    for (std::size_t i = 0; i < twelveDigits.size(); ++i) {
        sum += (twelveDigits[i] - '0') * (i % 2 == 0 ? 1 : 3);
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string demoBarcode(long item) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "931%09ld", item);
    std::string barcode(digits);
    barcode += eanCheckDigit(barcode);
    return barcode;
}

// The file is built whole under a temporary name and only then takes the place of the old one,
// so an interrupted run never leaves half a shop behind.
void writeDemoShopFile(const QString& path, long items) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        throw std::runtime_error("cannot write " + path.toStdString() + ": the folder " +
                                 folder.toStdString() + " cannot be made");
    }
    const QString building = path + QStringLiteral(".new");
    for (const QString& leftover :
         {building, building + QStringLiteral("-wal"), building + QStringLiteral("-shm")}) {
        removeIfThere(leftover);
    }
    try {
        fillDataSource(platform::fileDataSource(building, true), path, items);
    } catch (const std::runtime_error&) {
        QFile::remove(building);
        throw;
    }
    // A log or shared-memory file left by the old database must not be read against the new one.
    removeIfThere(path + QStringLiteral("-wal"));
    removeIfThere(path + QStringLiteral("-shm"));
    if (std::rename(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) != 0) {
        const std::string reason = std::strerror(errno);
        QFile::remove(building);
        throw std::runtime_error("cannot replace " + path.toStdString() + ": " + reason);
    }
}

void writeDemoShopOnServer(const platform::ServerAddress& server, long items) {
    fillDataSource(platform::serverDataSource(server), server.database + QStringLiteral(" on ") + server.host,
                   items);
}

}  // namespace demoshop
