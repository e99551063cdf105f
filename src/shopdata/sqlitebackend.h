#pragma once

#include "shopdata/shopbackend.h"

// A shop database in an SQLite file. The SQLite ODBC driver runs the engine inside this program.
class SqliteBackend : public ShopBackend {
public:
    void prepareConnection(const QSqlDatabase& connection) const override;
    QString columnType(ColumnType type, int length) const override;
    QString greatest(const QString& first, const QString& second) const override;
    QString lastInsertedKey() const override;
    bool cannotTakeWrites(const platform::DriverDiagnosis& failure) const override;

    // Sets the engine up for a program that uses each connection from one thread only: no lock
    // around every call and every allocation, which the item export's hundred thousand rows feel.
    // It takes effect before the engine's first use in the process; after that the engine keeps
    // the settings it started with, which are slower but equally correct.
    static void prepareEngine();
};
