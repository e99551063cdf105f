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

// Reads a text that a driver handed back narrow into UTF-16 at `out`, which has room for `size`
// units; gives the units written.
using NarrowTextReader = qsizetype (*)(const char* bytes, qsizetype size, char16_t* out);

// Marks a connection whose driver hands a text back narrow in its engine's own bytes whatever the
// locale, for less than its conversion to UTF-16 costs, with a reading that gives the very
// characters that conversion gives. The recordsets on the connection then fetch texts narrow.
void setNarrowTextReader(const QSqlDatabase& connection, NarrowTextReader reader);
// The connection's reading of narrow text; nothing for a connection that fetches texts as UTF-16.
NarrowTextReader narrowTextReader(const QSqlDatabase& connection);

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
