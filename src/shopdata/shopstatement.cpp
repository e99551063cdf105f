#include "shopdata/shopstatement.h"

#include <QSqlError>

#include "outside/programerror.h"
#include "shopdata/shopbackend.h"

ShopStatement::ShopStatement(const QSqlDatabase& connection, const QString& sql, const ShopBackend& backend)
    : query_(connection), backend_(backend) {
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
    if (atFirstRow()) {
        row = query_.record();
    }
    release();
    return row;
}

// Reading values by position spares building a named record for every lookup of the export.
std::optional<QVariantList> ShopStatement::firstValues(std::initializer_list<QVariant> values) {
    run(values);
    std::optional<QVariantList> row;
    if (atFirstRow()) {
        row = currentValues();
    }
    release();
    return row;
}

QList<QVariantList> ShopStatement::allValues(std::initializer_list<QVariant> values) {
    run(values);
    QList<QVariantList> rows;
    for (bool more = atFirstRow(); more; more = query_.next()) {
        rows.append(currentValues());
    }
    if (query_.lastError().isValid()) {
        failReading();
    }
    query_.finish();
    return rows;
}

QVariant ShopStatement::scalar(std::initializer_list<QVariant> values) {
    const std::optional<QVariantList> row = firstValues(values);
    return row ? row->value(0) : QVariant();
}

bool ShopStatement::atFirstRow() {
    if (query_.next()) {
        return true;
    }
    if (query_.lastError().isValid()) {
        failReading();
    }
    return false;
}

void ShopStatement::failReading() {
    const QString text = query_.lastError().text();
    const bool lasting = backend_.cannotTakeWrites(platform::lastDiagnosis(query_));
    query_.finish();
    throw ProgramError(errnum::DatabaseError, text, lasting);
}

QVariantList ShopStatement::currentValues() {
    if (columns_ < 0) {
        columns_ = query_.record().count();
    }
    QVariantList row;
    for (int column = 0; column < columns_; ++column) {
        row.append(query_.value(column));
    }
    return row;
}

// Releasing the rows at once keeps no read snapshot open between the program's calls. The driver
// of a shop database file, stepping through rows, loses every second run of a statement whose rows
// were dropped before the last one was read: so the rest are read first.
void ShopStatement::release() {
    while (query_.next()) {
    }
    query_.finish();
}

void ShopStatement::fail() const {
    throw ProgramError(errnum::DatabaseError, query_.lastError().text(),
                       backend_.cannotTakeWrites(platform::lastDiagnosis(query_)));
}
