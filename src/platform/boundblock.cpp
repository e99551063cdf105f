#include "platform/boundblock.h"

#include <algorithm>
#include <cstring>

#include "platform/odbccalls.h"

namespace platform {

namespace {

constexpr SQLULEN kRowsPerBlock = 256;
// A text column longer than this is read one value at a time, in pieces.
constexpr SQLULEN kLongestBoundText = 4000;
// Room for a text column's values beyond its declared length: a file's engine does not hold a
// text to the length its column declares.
constexpr SQLULEN kLeastTextRoom = 255;

void check(SQLRETURN result, SQLHSTMT statement) {
    if (!SQL_SUCCEEDED(result)) {
        throw odbc::error(SQL_HANDLE_STMT, statement);
    }
}

// The C type and the bytes a value takes for a column; C type 0 when it cannot be bound.
std::pair<SQLSMALLINT, SQLLEN> boundShape(const BoundBlock::Column& column) {
    switch (column.sqlType) {
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
        case SQL_BIT:
            return {SQL_C_SBIGINT, SQLLEN{sizeof(SQLBIGINT)}};
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return {SQL_C_DOUBLE, SQLLEN{sizeof(SQLDOUBLE)}};
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
            if (column.size > 0 && column.size <= kLongestBoundText) {
                // A terminating NUL follows the text.
                return {SQL_C_WCHAR, SQLLEN((std::max(column.size, kLeastTextRoom) + 1) * sizeof(SQLWCHAR))};
            }
            return {0, 0};
        default:
            return {0, 0};
    }
}

template <typename Number>
Number copied(const char* bytes) {
    Number number;
    std::memcpy(&number, bytes, sizeof number);
    return number;
}

}  // namespace

std::unique_ptr<BoundBlock> BoundBlock::bindTo(SQLHSTMT statement, const std::vector<Column>& columns) {
    std::unique_ptr<BoundBlock> block(new BoundBlock(statement, columns));
    for (const Column& column : columns) {
        const auto [cType, width] = boundShape(column);
        if (cType == 0) {
            return nullptr;
        }
        block->arrays_.push_back(
            {cType, width, std::vector<char>(width * kRowsPerBlock), std::vector<SQLLEN>(kRowsPerBlock)});
    }
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRowsPerBlock), 0),
          statement);
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROWS_FETCHED_PTR, &block->fetched_, 0), statement);
    for (std::size_t index = 0; index < block->arrays_.size(); ++index) {
        Array& array = block->arrays_[index];
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
    const SQLLEN indicator = array.indicators[row_];
    if (indicator == SQL_NULL_DATA) {
        return QVariant();
    }
    const char* value = array.values.data() + row_ * array.width;
    switch (array.cType) {
        case SQL_C_SBIGINT:
            return QVariant(qlonglong(copied<SQLBIGINT>(value)));
        case SQL_C_DOUBLE:
            return QVariant(copied<SQLDOUBLE>(value));
        default:
            if (indicator == SQL_NO_TOTAL || indicator > array.width - SQLLEN{sizeof(SQLWCHAR)}) {
                throw ProgramError(errnum::DatabaseError,
                                   QStringLiteral("A value of the column %1 is longer than %2 characters")
                                       .arg(columns_[column].name)
                                       .arg(array.width / SQLLEN{sizeof(SQLWCHAR)} - 1));
            }
            return odbc::fromWide(reinterpret_cast<const SQLWCHAR*>(value),
                                  indicator / SQLLEN{sizeof(SQLWCHAR)});
    }
}

}  // namespace platform
