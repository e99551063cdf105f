#include "platform/connection.h"

#include <QSqlError>
#include <QSqlRecord>

#include "outside/programerror.h"

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
}

void Recordset::open(const QString& sql, const QSqlDatabase& connection) {
    query_.emplace(connection);
    query_->setForwardOnly(true);
    if (!query_->exec(sql)) {
        const QSqlError error = query_->lastError();
        close();
        throw databaseError(error);
    }
    columns_ = query_->record();
    moveNext();
}

void Recordset::moveNext() {
    eof_ = !query_ || !query_->next();
    if (eof_ && query_ && query_->lastError().isValid()) {
        throw databaseError(query_->lastError());
    }
}

QVariant Recordset::field(const QString& name) const {
    const int index = query_ && !eof_ ? columns_.indexOf(name) : -1;
    if (index < 0) {
        throw ProgramError(errnum::ItemNotFound,
                           QStringLiteral("Item cannot be found in the collection "
                                          "corresponding to the requested name or ordinal."));
    }
    return query_->value(index);
}

void Recordset::close() {
    query_.reset();
    columns_.clear();
    eof_ = true;
}

}  // namespace platform
