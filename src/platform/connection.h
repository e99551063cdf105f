#pragma once

#include <QSqlDatabase>
#include <QString>

// Database connections through Qt SQL's ODBC driver.
namespace platform {

// Opens a connection by the program's connection string ("dsn=" + the data source name) under
// a connection name of the caller's; raises ProgramError when it cannot be opened.
QSqlDatabase openConnection(const QString& connectionString, const QString& connectionName);

// Closes and forgets a connection opened by openConnection.
void closeConnection(const QString& connectionName);

}  // namespace platform
