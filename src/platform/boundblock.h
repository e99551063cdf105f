#pragma once

#include <sql.h>

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace platform {

// A block of a result's rows fetched at once into arrays bound to its columns: one driver call a
// block rather than one a value. It serves results whose columns are all numbers or texts of a
// declared, moderate length (the stock table's), where a whole table is read row after row.
class BoundBlock {
public:
    // What a result's column is, as the driver describes it.
    struct Column {
        QString name;
        SQLSMALLINT sqlType;
        SQLULEN size;
    };

    // A block for these columns, bound to the executed statement; nothing when a column cannot be
    // bound (a long or unsized text, bytes, a date), so that the values are read one at a time.
    static std::unique_ptr<BoundBlock> bindTo(SQLHSTMT statement, const std::vector<Column>& columns);

    // Moves to the next row, fetching the next block when this one is used up; false at the end.
    // Raises ProgramError when the driver fails.
    bool next();
    // A value of the current row; null stays a null QVariant. A text longer than its buffer raises
    // ProgramError rather than come back cut.
    QVariant value(std::size_t column) const;

private:
    // How one column's values are held: the C type, the bytes a value takes, the column's arrays.
    struct Array {
        SQLSMALLINT cType;
        SQLLEN width;
        std::vector<char> values;
        std::vector<SQLLEN> indicators;
    };

    BoundBlock(SQLHSTMT statement, std::vector<Column> columns)
        : statement_(statement), columns_(std::move(columns)) {}

    SQLHSTMT statement_;
    std::vector<Column> columns_;
    std::vector<Array> arrays_;
    // The rows the last fetch filled, and the current one among them.
    SQLULEN fetched_ = 0;
    SQLULEN row_ = 0;
};

}  // namespace platform
