#include "platform/boundblock.h"

#include <locale.h>
#include <algorithm>
#include <charconv>
#include <cstdint>
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

// The digits from `at` on, added to `number`: gives where they stop.
const char* addDigits(const char* at, const char* end, std::uint64_t& number) {
    for (; at != end && static_cast<unsigned char>(*at - '0') < 10; ++at) {
        number = number * 10 + static_cast<std::uint64_t>(*at - '0');
    }
    return at;
}

// A number's text in the plain form that the engines write, "-12" or "1.95", read the quick way;
// nothing for any other. Its fifteen digits at most make a whole number below 2^53, and its point
// divides by a power of ten of at most 10^15: both are exact as doubles, so the one division rounds
// as the exact decimal does, and the value is the one a full reading gives.
template <typename Number>
std::optional<Number> plainNumber(const char* begin, const char* end) {
    constexpr std::ptrdiff_t kMostDigits = 15;
    static constexpr double kPowersOfTen[kMostDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = begin != end && *begin == '-';
    const char* const first = begin + (negative ? 1 : 0);
    std::uint64_t digits = 0;
    const char* at = addDigits(first, end, digits);
    std::ptrdiff_t count = at - first;
    std::ptrdiff_t decimals = 0;
    if constexpr (std::is_floating_point_v<Number>) {
        if (at != end && *at == '.') {
            const char* const point = at + 1;
            at = addDigits(point, end, digits);
            decimals = at - point;
            count += decimals;
        }
    }
    if (at != end || count == 0 || count > kMostDigits) {
        return std::nullopt;
    }
    if constexpr (std::is_floating_point_v<Number>) {
        const double value = double(digits) / kPowersOfTen[decimals];
        return negative ? -value : value;
    } else {
        const auto value = static_cast<Number>(digits);
        return negative ? -value : value;
    }
}

}  // namespace

// Whole and decimal numbers are fetched as their text and read here: the drivers read a number's
// text through the locale's decimal point, which costs them more than the fetch itself.
std::optional<BoundBlock::Array> BoundBlock::arrayFor(const ResultColumn& column, bool narrowText) {
    switch (column.type) {
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            return Array{.kind = Kind::Whole, .cType = SQL_C_CHAR, .width = kNumberTextRoom};
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return Array{.kind = Kind::Decimal, .cType = SQL_C_CHAR, .width = kNumberTextRoom};
        case SQL_BIT:
            return Array{.kind = Kind::Bit, .cType = SQL_C_SBIGINT, .width = sizeof(SQLBIGINT)};
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return Array{.kind = Kind::Double, .cType = SQL_C_DOUBLE, .width = sizeof(SQLDOUBLE)};
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
            if (column.size > 0 && column.size <= kLongestBoundText) {
                const auto room = SQLLEN(std::max(column.size, kLeastTextRoom));
                // A terminating NUL follows the text. Narrow, a character of one UTF-16 unit takes
                // up to three bytes, and one of two units four.
                return narrowText ? Array{.kind = Kind::Narrow,
                                          .cType = SQL_C_CHAR,
                                          .width = room * 3 + 1,
                                          .room = room}
                                  : Array{.kind = Kind::Text,
                                          .cType = SQL_C_WCHAR,
                                          .width = SQLLEN((room + 1) * sizeof(SQLWCHAR)),
                                          .room = room};
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::unique_ptr<BoundBlock> BoundBlock::bindTo(SQLHSTMT statement, const std::vector<ResultColumn>& columns,
                                               const std::vector<bool>& fetched,
                                               NarrowTextReader narrowText) {
    std::unique_ptr<BoundBlock> block(new BoundBlock(statement, columns, narrowText));
    for (std::size_t index = 0; index < columns.size(); ++index) {
        std::optional<Array> array =
            fetched[index] ? arrayFor(columns[index], narrowText != nullptr) : Array{.kind = Kind::Unfetched};
        if (!array) {
            return nullptr;
        }
        array->values.resize(array->width * kRowsPerBlock);
        array->indicators.resize(kRowsPerBlock);
        // A narrow text reads into no more units than it has bytes.
        if (array->kind == Kind::Narrow) {
            array->read.resize(array->width);
        }
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
        case Kind::Narrow:
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
    if (array.kind != Kind::Text && array.kind != Kind::Narrow) {
        return std::nullopt;
    }
    if (isNull(array)) {
        return QStringView();
    }
    if (array.kind == Kind::Narrow) {
        return narrowText(column);
    }
    const SQLLEN length = checkedLength(column, SQLLEN{sizeof(SQLWCHAR)});
    return QStringView(reinterpret_cast<const char16_t*>(bytes(array)), length / SQLLEN{sizeof(SQLWCHAR)});
}

QStringView BoundBlock::narrowText(std::size_t column) const {
    Array& array = arrays_[column];
    const qsizetype units = narrowText_(bytes(array), checkedLength(column, 1), array.read.data());
    if (units > array.room) {
        refuseTooLong(column);
    }
    return QStringView(array.read.data(), units);
}

SQLLEN BoundBlock::checkedLength(std::size_t column, SQLLEN unit) const {
    const Array& array = arrays_[column];
    const SQLLEN length = array.indicators[row_];
    if (length == SQL_NO_TOTAL || length > array.width - unit) {
        refuseTooLong(column);
    }
    return length;
}

void BoundBlock::refuseTooLong(std::size_t column) const {
    const Array& array = arrays_[column];
    throw ProgramError(errnum::DatabaseError,
                       QStringLiteral("A value of the column %1 is longer than %2 characters")
                           .arg(columns_[column].name)
                           .arg(array.room > 0 ? array.room : array.width - 1));
}

// A number's text as the engine wrote it is read in full at once. Anything else (a file's engine
// keeps whatever text a row gives a number column) reads as the drivers read it: the number that
// the text begins with after any blanks, 0 when it begins with none, the largest or an infinity
// when it is too large.
template <typename Number>
Number BoundBlock::read(std::size_t column) const {
    const char* const begin = bytes(arrays_[column]);
    const char* const end = begin + checkedLength(column, 1);
    if (const std::optional<Number> plain = plainNumber<Number>(begin, end)) {
        return *plain;
    }
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
