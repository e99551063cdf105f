#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <optional>

// Database connections and recordsets through Qt SQL's ODBC driver.
namespace platform {

// Opens a connection by the program's connection string ("dsn=" + the data source name) under
// a connection name of the caller's; raises ProgramError when it cannot be opened.
QSqlDatabase openConnection(const QString& connectionString, const QString& connectionName);

// Closes and forgets a connection opened by openConnection.
void closeConnection(const QString& connectionName);

// A forward-only, read-only recordset over one SQL text, read from the first row to the end,
// fields by name. Failures raise ProgramError with the driver's text.
class Recordset {
public:
    void open(const QString& sql, const QSqlDatabase& connection);
    bool eof() const { return eof_; }
    void moveNext();
    // The field's value in the current row; null stays a null QVariant.
    QVariant field(const QString& name) const;
    void close();

private:
    std::optional<QSqlQuery> query_;
    QSqlRecord columns_;
    bool eof_ = true;
};

}  // namespace platform
