#include "platform/boundblock.h"

#include <locale.h>
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "platform/odbccalls.h"

namespace platform {

namespace {

constexpr SQLULEN kRowsPerBlock = 256;
// A text column longer than this is read one value at a time, in pieces.
constexpr SQLULEN kLongestBoundText = 4000;
// Room for a text column's values beyond its declared length: a file's engine does not hold a
// text to the length its column declares.
constexpr SQLULEN kLeastTextRoom = 255;
// Room for a number's text, with its terminating NUL: a double's shortest form takes at most 24.
constexpr SQLLEN kNumberTextRoom = 64;

void check(SQLRETURN result, SQLHSTMT statement) {
    if (!SQL_SUCCEEDED(result)) {
        throw odbc::error(SQL_HANDLE_STMT, statement);
    }
}

}  // namespace

// Whole and decimal numbers are fetched as their text and read here: the drivers read a number's
// text through the locale's decimal point, which costs them more than the fetch itself.
std::optional<BoundBlock::Array> BoundBlock::arrayFor(const Column& column) {
    switch (column.sqlType) {
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            return Array{Kind::Whole, SQL_C_CHAR, kNumberTextRoom, {}, {}};
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return Array{Kind::Decimal, SQL_C_CHAR, kNumberTextRoom, {}, {}};
        case SQL_BIT:
            return Array{Kind::Bit, SQL_C_SBIGINT, SQLLEN{sizeof(SQLBIGINT)}, {}, {}};
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return Array{Kind::Double, SQL_C_DOUBLE, SQLLEN{sizeof(SQLDOUBLE)}, {}, {}};
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
            if (column.size > 0 && column.size <= kLongestBoundText) {
                // A terminating NUL follows the text.
                return Array{Kind::Text,
                             SQL_C_WCHAR,
                             SQLLEN((std::max(column.size, kLeastTextRoom) + 1) * sizeof(SQLWCHAR)),
                             {},
                             {}};
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::unique_ptr<BoundBlock> BoundBlock::bindTo(SQLHSTMT statement, const std::vector<Column>& columns) {
    std::unique_ptr<BoundBlock> block(new BoundBlock(statement, columns));
    for (const Column& column : columns) {
        std::optional<Array> array = column.fetched ? arrayFor(column) : Array{Kind::Unfetched, 0, 0, {}, {}};
        if (!array) {
            return nullptr;
        }
        array->values.resize(array->width * kRowsPerBlock);
        array->indicators.resize(kRowsPerBlock);
        block->arrays_.push_back(std::move(*array));
    }
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRowsPerBlock), 0),
          statement);
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROWS_FETCHED_PTR, &block->fetched_, 0), statement);
    for (std::size_t index = 0; index < block->arrays_.size(); ++index) {
        Array& array = block->arrays_[index];
        if (array.kind == Kind::Unfetched) {
            continue;
        }
        check(SQLBindCol(statement, SQLUSMALLINT(index + 1), array.cType, array.values.data(), array.width,
                         array.indicators.data()),
              statement);
    }
    return block;
}

bool BoundBlock::next() {
    if (++row_ < fetched_) {
        return true;
    }
    const SQLRETURN result = SQLFetch(statement_);
    if (result == SQL_NO_DATA) {
        fetched_ = 0;
        return false;
    }
    check(result, statement_);
    row_ = 0;
    return fetched_ > 0;
}

QVariant BoundBlock::value(std::size_t column) const {
    const Array& array = arrays_[column];
    if (isNull(array)) {
        return QVariant();
    }
    switch (array.kind) {
        case Kind::Whole:
        case Kind::Bit:
            return QVariant(qlonglong(whole(column)));
        case Kind::Decimal:
        case Kind::Double:
            return QVariant(number(column));
        case Kind::Unfetched:
            return QVariant();
        case Kind::Text:
            break;
    }
    return QVariant(text(column)->toString());
}

qint64 BoundBlock::whole(std::size_t column) const {
    const Array& array = arrays_[column];
    if (isNull(array)) {
        return 0;
    }
    switch (array.kind) {
        case Kind::Whole:
            return read<qint64>(column);
        case Kind::Bit:
            return copied<SQLBIGINT>(array);
        default:
            return value(column).toLongLong();
    }
}

double BoundBlock::number(std::size_t column) const {
    const Array& array = arrays_[column];
    if (isNull(array)) {
        return 0;
    }
    switch (array.kind) {
        case Kind::Decimal:
            return read<double>(column);
        case Kind::Double:
            return copied<SQLDOUBLE>(array);
        default:
            return value(column).toDouble();
    }
}

std::optional<QStringView> BoundBlock::text(std::size_t column) const {
    const Array& array = arrays_[column];
    if (array.kind != Kind::Text) {
        return std::nullopt;
    }
    if (isNull(array)) {
        return QStringView();
    }
    const SQLLEN length = checkedLength(column, SQLLEN{sizeof(SQLWCHAR)});
    return QStringView(reinterpret_cast<const char16_t*>(bytes(array)), length / SQLLEN{sizeof(SQLWCHAR)});
}

SQLLEN BoundBlock::checkedLength(std::size_t column, SQLLEN unit) const {
    const Array& array = arrays_[column];
    const SQLLEN length = array.indicators[row_];
    if (length == SQL_NO_TOTAL || length > array.width - unit) {
        throw ProgramError(errnum::DatabaseError,
                           QStringLiteral("A value of the column %1 is longer than %2 characters")
                               .arg(columns_[column].name)
                               .arg(array.width / unit - 1));
    }
    return length;
}

// A number's text as the engine wrote it is read in full at once. Anything else (a file's engine
// keeps whatever text a row gives a number column) reads as the drivers read it: the number that
// the text begins with after any blanks, 0 when it begins with none, the largest or an infinity
// when it is too large.
template <typename Number>
Number BoundBlock::read(std::size_t column) const {
    const char* const begin = bytes(arrays_[column]);
    const char* const end = begin + checkedLength(column, 1);
    Number number{};
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error == std::errc() && stop == end) {
        return number;
    }
    const std::string text(begin, end);
    if constexpr (std::is_integral_v<Number>) {
        return std::strtoll(text.c_str(), nullptr, 10);
    } else {
        static const locale_t plain = newlocale(LC_ALL_MASK, "C", locale_t{});
        return strtod_l(text.c_str(), nullptr, plain);
    }
}

}  // namespace platform
