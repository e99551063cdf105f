#include "shopdata/shopstatement.h"

#include <QSqlField>

#include "platform/programerror.h"
#include "shopdata/shopbackend.h"

template <typename Step>
auto ShopStatement::judged(Step step) {
    try {
        return step();
    } catch (const ProgramError& error) {
        throw ProgramError(error.number(), error.description(),
                           backend_.cannotTakeWrites(statement_.lastFailure()));
    }
}

ShopStatement::ShopStatement(const QSqlDatabase& connection, const QString& sql, const ShopBackend& backend)
    : backend_(backend), statement_(connection) {
    judged([&] { statement_.prepare(sql); });
}

void ShopStatement::run(std::initializer_list<QVariant> values) {
    judged([&] { statement_.execute(values); });
}

std::optional<QSqlRecord> ShopStatement::firstRow(std::initializer_list<QVariant> values) {
    run(values);
    std::optional<QSqlRecord> row;
    if (judged([&] { return statement_.fetch(); })) {
        const QVariantList rowValues = currentValues();
        row.emplace();
        for (int column = 0; column < rowValues.size(); ++column) {
            QSqlField field(statement_.columnName(column), rowValues[column].metaType());
            field.setValue(rowValues[column]);
            row->append(field);
        }
    }
    release();
    return row;
}

// Reading values by position spares building a named record for every lookup of an import.
std::optional<QVariantList> ShopStatement::firstValues(std::initializer_list<QVariant> values) {
    run(values);
    std::optional<QVariantList> row;
    if (judged([&] { return statement_.fetch(); })) {
        row = currentValues();
    }
    release();
    return row;
}

QList<QVariantList> ShopStatement::allValues(std::initializer_list<QVariant> values) {
    run(values);
    QList<QVariantList> rows;
    while (judged([&] { return statement_.fetch(); })) {
        rows.append(currentValues());
    }
    statement_.closeRows();
    return rows;
}

// When `each` fails on a row, the rows after it are let go of before its failure goes on.
void ShopStatement::eachValues(std::initializer_list<QVariant> values,
                               const std::function<void(const QVariantList&)>& each) {
    run(values);
    while (judged([&] { return statement_.fetch(); })) {
        const QVariantList row = currentValues();
        try {
            each(row);
        } catch (...) {
            release();
            throw;
        }
    }
    statement_.closeRows();
}

QVariant ShopStatement::scalar(std::initializer_list<QVariant> values) {
    const std::optional<QVariantList> row = firstValues(values);
    return row ? row->value(0) : QVariant();
}

int ShopStatement::rowsAffected() {
    return int(judged([&] { return statement_.rowsAffected(); }));
}

QVariantList ShopStatement::currentValues() {
    return judged([&] {
        QVariantList row;
        const int columns = statement_.columnCount();
        row.reserve(columns);
        for (int column = 0; column < columns; ++column) {
            row.append(statement_.value(column));
        }
        return row;
    });
}

// Releasing the rows at once keeps no read snapshot open between the program's calls. The driver
// of a shop database file, stepping through rows, loses every second run of a statement whose rows
// were dropped before the last one was read: so the rest are read first.
void ShopStatement::release() {
    judged([&] {
        while (statement_.fetch()) {
        }
    });
    statement_.closeRows();
}
