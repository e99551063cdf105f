#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Database connections through Qt SQL's ODBC driver.
namespace platform {

// Opens a connection by the program's connection string ("dsn=" + the data source name), or by a
// full ODBC connection string ("DRIVER=..."), under a connection name of the caller's; raises
// ProgramError when it cannot be opened.
QSqlDatabase openConnection(const QString& connectionString, const QString& connectionName);

// Closes and forgets a connection opened by openConnection.
void closeConnection(const QString& connectionName);

// The database engine behind an open connection, as its driver names it ("SQLite", "PostgreSQL").
QString databaseProduct(const QSqlDatabase& connection);

// What the driver said of the last failure of a query or a connection: its SQLSTATE and its own
// error number; empty when it said nothing.
struct DriverDiagnosis {
    QString state;
    int nativeError = 0;
};
DriverDiagnosis lastDiagnosis(const QSqlQuery& query);
DriverDiagnosis lastDiagnosis(const QSqlDatabase& connection);

}  // namespace platform
