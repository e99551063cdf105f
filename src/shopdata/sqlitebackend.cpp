#include "shopdata/sqlitebackend.h"

#include <sqlite3.h>

#include <QSqlError>
#include <QSqlQuery>
#include <mutex>

#include "platform/programerror.h"
#include "shopdata/sqlitetext.h"

namespace {

ProgramError databaseError(const QString& text) {
    return ProgramError(errnum::DatabaseError, text);
}

// Runs a PRAGMA (fixed text, never the user's) and gives its answer in lower case.
QString pragma(const QSqlDatabase& connection, const QString& sql) {
    QSqlQuery query(connection);
    if (!query.exec(sql)) {
        throw databaseError(query.lastError().text());
    }
    return query.next() ? query.value(0).toString().toLower() : QString();
}

// Counts are written one transaction at a time while the shop's own software may be reading the
// same file: the write-ahead log lets both go on, and NORMAL sync spares a disk flush per count.
void useWriteAheadLog(const QSqlDatabase& connection) {
    if (pragma(connection, QStringLiteral("PRAGMA journal_mode")) != QLatin1String("wal") &&
        pragma(connection, QStringLiteral("PRAGMA journal_mode=WAL")) != QLatin1String("wal")) {
        throw databaseError(QStringLiteral("The shop database cannot use a write-ahead log"));
    }
    pragma(connection, QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (pragma(connection, QStringLiteral("PRAGMA synchronous")) != QLatin1String("1")) {
        throw databaseError(QStringLiteral("The shop database cannot use NORMAL synchronous writes"));
    }
}

// The SQLite driver retries a statement that finds the database locked until the data source's
// Timeout has passed, and each try also waits in the connection's busy handler, which the driver
// sets to that same Timeout: twice the wait in all. A short handler wait keeps the whole wait near
// the Timeout, after which the write fails with "database is locked".
void limitLockWaits(const QSqlDatabase& connection) {
    pragma(connection, QStringLiteral("PRAGMA busy_timeout=50"));
}

}  // namespace

void SqliteBackend::prepareConnection(const QSqlDatabase& connection) const {
    useWriteAheadLog(connection);
    limitLockWaits(connection);
    // The driver hands a text over in the file's own bytes for a fraction of what its conversion
    // to UTF-16 costs: the item export reads two texts of every item.
    platform::setNarrowTextReader(connection, readSqliteText);
}

QString SqliteBackend::columnType(ColumnType type, int length) const {
    switch (type) {
        case ColumnType::Integer:
            return QStringLiteral("integer");
        case ColumnType::AutoKey:
            return QStringLiteral("integer primary key");
        case ColumnType::Real:
            return QStringLiteral("real");
        case ColumnType::Text:
            // The driver reports a declared length, and readers size their buffers by it rather
            // than by its 64 KiB for an unsized text.
            return length > 0 ? QStringLiteral("varchar(%1)").arg(length) : QStringLiteral("text");
        case ColumnType::UtcTime:
            return QStringLiteral("text default current_timestamp");
    }
    return QString();
}

QString SqliteBackend::greatest(const QString& first, const QString& second) const {
    return QStringLiteral("max(%1, %2)").arg(first, second);
}

QString SqliteBackend::lastInsertedKey() const {
    return QStringLiteral("select last_insert_rowid()");
}

void SqliteBackend::prepareEngine() {
    static std::once_flag prepared;
    // Both settings are refused (SQLITE_MISUSE) once the engine has started; that costs speed only.
    std::call_once(prepared, [] {
        sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    });
}

// The driver gives SQLite's own result code as its error number.
bool SqliteBackend::cannotTakeWrites(const platform::DriverDiagnosis& failure) const {
    switch (failure.nativeError & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_READONLY:
        case SQLITE_IOERR:
        case SQLITE_CORRUPT:
        case SQLITE_FULL:
        case SQLITE_CANTOPEN:
        case SQLITE_NOTADB:
            return true;
        default:
            return false;
    }
}
