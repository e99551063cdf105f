#pragma once

#include "shopdata/shopbackend.h"

// A shop database on a PostgreSQL server, shared with the tills and the office.
class PostgresBackend : public ShopBackend {
public:
    void prepareConnection(const QSqlDatabase& connection) const override;
    QString columnType(ColumnType type, int length) const override;
    QString greatest(const QString& first, const QString& second) const override;
    QString lastInsertedKey() const override;
    bool cannotTakeWrites(const platform::DriverDiagnosis& failure) const override;
    void eachRow(const QSqlDatabase& connection, const QString& select,
                 const std::function<void(const QVariantList&)>& each) const override;
};
