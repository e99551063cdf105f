#include "shopdata/shopstatement.h"

#include <QSqlError>

#include "outside/programerror.h"

ShopStatement::ShopStatement(const QSqlDatabase& connection, const QString& sql) : query_(connection) {
    query_.setForwardOnly(true);
    if (!query_.prepare(sql)) {
        fail();
    }
}

void ShopStatement::run(std::initializer_list<QVariant> values) {
    int place = 0;
    for (const QVariant& value : values) {
        query_.bindValue(place++, value);
    }
    if (!query_.exec()) {
        fail();
    }
}

std::optional<QSqlRecord> ShopStatement::firstRow(std::initializer_list<QVariant> values) {
    run(values);
    std::optional<QSqlRecord> row;
    if (query_.next()) {
        row = query_.record();
    } else if (query_.lastError().isValid()) {
        fail();
    }
    // Releasing the rows at once keeps no read snapshot open between the program's calls.
    query_.finish();
    return row;
}

QVariant ShopStatement::scalar(std::initializer_list<QVariant> values) {
    const std::optional<QSqlRecord> row = firstRow(values);
    return row ? row->value(0) : QVariant();
}

void ShopStatement::fail() const {
    throw ProgramError(errnum::DatabaseError, query_.lastError().text());
}
