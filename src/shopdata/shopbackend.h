#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <functional>

#include "platform/connection.h"

// What differs between the database engines a shop database can live in: how a connection is
// readied, the few statements the engines spell differently, and the column types of the schema.
// Everything else the program sends is SQL that every engine takes alike.
class ShopBackend {
public:
    // The kinds of column the shop database's tables are made of.
    enum class ColumnType {
        Integer,
        // A whole-number key that the engine numbers itself when a row gives none.
        AutoKey,
        // A double-precision number.
        Real,
        // Text; of at most the column's length when it has one.
        Text,
        // When the row was written: a UTC time stamp as text, "YYYY-MM-DD HH:MM:SS".
        UtcTime,
    };

    virtual ~ShopBackend() = default;

    // Readies a newly opened connection for the program's writes and lock waits; raises
    // ProgramError when the engine refuses.
    virtual void prepareConnection(const QSqlDatabase& connection) const = 0;
    // The column's type in a CREATE TABLE statement, with the clauses that the type brings.
    virtual QString columnType(ColumnType type, int length) const = 0;
    // The larger of two whole-number expressions.
    virtual QString greatest(const QString& first, const QString& second) const = 0;
    // A select of the automatic key that the connection's last insert gave its row.
    virtual QString lastInsertedKey() const = 0;
    // True when a failure says the database cannot take writes for now (read-only, full, locked
    // beyond the wait, out of reach), so that the next record would fail the same way.
    virtual bool cannotTakeWrites(const platform::DriverDiagnosis& failure) const = 0;
    // Runs a select without "?" places and hands the values of each row by column to `each` as
    // the rows come, so that a long result is never held whole; raises ProgramError on failure.
    virtual void eachRow(const QSqlDatabase& connection, const QString& select,
                         const std::function<void(const QVariantList&)>& each) const;
};

// The backend of the engine behind an open connection, chosen by the name its driver reports;
// raises ProgramError for an engine that the program does not know.
const ShopBackend& shopBackend(const QSqlDatabase& connection);

// Sets up, once per process and before its first connection, what an engine needs set for the
// whole process.
void prepareShopEngines();
