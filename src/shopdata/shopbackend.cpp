#include "shopdata/shopbackend.h"

#include "platform/connection.h"
#include "platform/programerror.h"
#include "shopdata/postgresbackend.h"
#include "shopdata/shopstatement.h"
#include "shopdata/sqlitebackend.h"

// The SQLite driver reads the rows of a select without "?" places one at a time.
void ShopBackend::eachRow(const QSqlDatabase& connection, const QString& select,
                          const std::function<void(const QVariantList&)>& each) const {
    ShopStatement(connection, select, *this).eachValues({}, each);
}

const ShopBackend& shopBackend(const QSqlDatabase& connection) {
    static const SqliteBackend sqlite;
    static const PostgresBackend postgres;
    const QString product = platform::databaseProduct(connection);
    if (product.startsWith(QLatin1String("SQLite"), Qt::CaseInsensitive)) {
        return sqlite;
    }
    if (product.startsWith(QLatin1String("PostgreSQL"), Qt::CaseInsensitive)) {
        return postgres;
    }
    throw ProgramError(errnum::DatabaseError,
                       QStringLiteral("The shop database's engine \"%1\" is not one that RM Stockhand "
                                      "can work with")
                           .arg(product));
}

void prepareShopEngines() {
    SqliteBackend::prepareEngine();
}
