#pragma once

#include <sql.h>

#include <QString>
#include <QVariant>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/columnvalue.h"
#include "platform/connection.h"

namespace platform {

// A block of a result's rows fetched at once into arrays bound to its columns: one driver call a
// block rather than one a value. It serves results whose columns are all numbers or texts of a
// declared, moderate length (the stock table's), where a whole table is read row after row.
class BoundBlock {
public:
    // A block for the executed statement's columns, those marked in `fetched` bound; nothing when a
    // column to fetch cannot be bound (a long or unsized text, bytes, a date), so that the values
    // are read one at a time. A column not to be fetched is left unbound, and the driver leaves it
    // alone. Texts are fetched narrow and read with `narrowText` where the connection has one, else
    // as UTF-16.
    static std::unique_ptr<BoundBlock> bindTo(SQLHSTMT statement, const std::vector<ResultColumn>& columns,
                                              const std::vector<bool>& fetched,
                                              NarrowTextReader narrowText = nullptr);

    // Moves to the next row, fetching the next block when this one is used up; false at the end.
    // Raises ProgramError when the driver fails.
    bool next();
    // A value of the current row; null stays a null QVariant. A text longer than its buffer raises
    // ProgramError rather than come back cut.
    QVariant value(std::size_t column) const;
    // The current row's value straight from the bound arrays, with no variant made: a whole or a
    // decimal number (0 for null, converted as a variant converts when the column holds the other
    // kind or text), or a text column's characters (empty for null), valid until the block moves;
    // nothing for a column bound as a number.
    qint64 whole(std::size_t column) const;
    double number(std::size_t column) const;
    std::optional<QStringView> text(std::size_t column) const;

private:
    // What a column's values are and how they are fetched.
    enum class Kind {
        Whole,      // a whole number, fetched as its text
        Decimal,    // a floating-point number, fetched as its text
        Bit,        // a bit, fetched as a number
        Double,     // a fixed-point number, fetched as a double
        Text,       // a text, fetched as UTF-16
        Narrow,     // a text, fetched narrow and read into UTF-16 by the connection's reading
        Unfetched,  // a column not fetched at all
    };
    // How one column's values are held: what they are, the C type they are fetched as, the bytes a
    // value takes, and the column's arrays; for a text, the characters a value may have, and for a
    // narrow text, the current row's value read into UTF-16.
    struct Array {
        Kind kind;
        SQLSMALLINT cType = 0;
        SQLLEN width = 0;
        SQLLEN room = 0;
        std::vector<char> values{};
        std::vector<SQLLEN> indicators{};
        std::vector<char16_t> read{};
    };

    BoundBlock(SQLHSTMT statement, std::vector<ResultColumn> columns, NarrowTextReader narrowText)
        : statement_(statement), columns_(std::move(columns)), narrowText_(narrowText) {}

    // How a column is held; nothing when it cannot be bound.
    static std::optional<Array> arrayFor(const ResultColumn& column, bool narrowText);
    // Raises the ProgramError of a value longer than its column's room.
    [[noreturn]] void refuseTooLong(std::size_t column) const;
    const char* bytes(const Array& array) const { return array.values.data() + row_ * array.width; }
    bool isNull(const Array& array) const { return array.indicators[row_] == SQL_NULL_DATA; }
    template <typename Number>
    Number copied(const Array& array) const {
        Number number;
        std::memcpy(&number, bytes(array), sizeof number);
        return number;
    }
    // The byte length of the current row's value in a column, raising ProgramError when the value
    // was longer than its buffer: it is never taken cut.
    SQLLEN checkedLength(std::size_t column, SQLLEN unit) const;
    // The current row's narrow text in a column, read into UTF-16.
    QStringView narrowText(std::size_t column) const;
    // The number that the current row's text in a column holds.
    template <typename Number>
    Number read(std::size_t column) const;

    SQLHSTMT statement_;
    std::vector<ResultColumn> columns_;
    NarrowTextReader narrowText_;
    // Mutable for the narrow texts' reading, which a row's reader asks for as it reads.
    mutable std::vector<Array> arrays_;
    // The rows the last fetch filled, and the current one among them.
    SQLULEN fetched_ = 0;
    SQLULEN row_ = 0;
};

}  // namespace platform
