#pragma once

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <optional>

#include "platform/preparedstatement.h"

class ShopBackend;

// One SQL statement of the shop database, prepared once on the shop's connection and run again
// and again with new values in its "?" places. Failures raise ProgramError with the driver's text,
// lasting when the backend says the database cannot take writes for now.
class ShopStatement {
public:
    ShopStatement(const QSqlDatabase& connection, const QString& sql, const ShopBackend& backend);

    // Runs the statement with these values in its "?" places, in order.
    void run(std::initializer_list<QVariant> values);
    // Runs a select and gives its first row with its values, or nothing when it has no rows.
    std::optional<QSqlRecord> firstRow(std::initializer_list<QVariant> values);
    // Runs a select and gives the values of its first row by column, or nothing when it has no rows.
    std::optional<QVariantList> firstValues(std::initializer_list<QVariant> values);
    // Runs a select and gives the values of every row by column.
    QList<QVariantList> allValues(std::initializer_list<QVariant> values);
    // Runs a select and hands the values of each row by column to `each` as the row is read, so
    // that no more than one row is held at a time.
    void eachValues(std::initializer_list<QVariant> values,
                    const std::function<void(const QVariantList&)>& each);
    // Runs a select and gives the first column of its first row; null when it has no rows.
    QVariant scalar(std::initializer_list<QVariant> values);
    // How many rows the last insert, update or delete changed.
    int rowsAffected();

private:
    // Runs `step` on the statement, giving a failure the backend's judgement of whether it lasts.
    template <typename Step>
    auto judged(Step step);
    // The values of the current row, by column.
    QVariantList currentValues();
    // Lets go of the rows of the select just run, keeping no read snapshot open between calls.
    void release();

    const ShopBackend& backend_;
    platform::PreparedStatement statement_;
};
