#include "platform/connection.h"

#include <QHash>
#include <QSqlError>
#include <QSqlResult>

#include "platform/odbccalls.h"
#include "platform/programerror.h"

namespace platform {

namespace {

ProgramError databaseError(const QSqlError& error) {
    return ProgramError(errnum::DatabaseError, error.text());
}

// Qt's ODBC driver takes a bare data source name; "dsn=" stays the program's own spelling.
QString dataSourceName(const QString& connectionString) {
    const QString prefix = QStringLiteral("dsn=");
    return connectionString.startsWith(prefix, Qt::CaseInsensitive) ? connectionString.mid(prefix.size())
                                                                    : connectionString;
}

// The connections that fetch texts narrow, by name, with their readings.
QHash<QString, NarrowTextReader>& narrowTextReaders() {
    static QHash<QString, NarrowTextReader> readers;
    return readers;
}

}  // namespace

QSqlDatabase openConnection(const QString& connectionString, const QString& connectionName) {
    if (QSqlDatabase::contains(connectionName)) {
        closeConnection(connectionName);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName);
    db.setDatabaseName(dataSourceName(connectionString));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw databaseError(error);
    }
    return db;
}

void closeConnection(const QString& connectionName) {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    narrowTextReaders().remove(connectionName);
}

void setNarrowTextReader(const QSqlDatabase& connection, NarrowTextReader reader) {
    narrowTextReaders().insert(connection.connectionName(), reader);
}

NarrowTextReader narrowTextReader(const QSqlDatabase& connection) {
    return narrowTextReaders().value(connection.connectionName());
}

DriverDiagnosis lastDiagnosis(const QSqlQuery& query) {
    const QVariant handle = query.result() != nullptr ? query.result()->handle() : QVariant();
    return handle.metaType() == QMetaType::fromType<SQLHANDLE>()
               ? odbc::diagnosis(SQL_HANDLE_STMT, *static_cast<const SQLHANDLE*>(handle.constData()))
               : DriverDiagnosis();
}

DriverDiagnosis lastDiagnosis(const QSqlDatabase& connection) {
    try {
        return odbc::diagnosis(SQL_HANDLE_DBC, odbc::connectionHandle(connection));
    } catch (const ProgramError&) {
        return {};
    }
}

QString databaseProduct(const QSqlDatabase& connection) {
    SQLHDBC dbc = odbc::connectionHandle(connection);
    SQLWCHAR name[128] = {};
    SQLSMALLINT bytes = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(dbc, SQL_DBMS_NAME, name, sizeof name, &bytes))) {
        throw odbc::error(SQL_HANDLE_DBC, dbc);
    }
    return odbc::fromWide(name, qMin<qsizetype>(bytes / qsizetype{sizeof(SQLWCHAR)}, std::size(name) - 1));
}

}  // namespace platform
