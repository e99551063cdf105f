#include "platform/columnvalue.h"

#include <iterator>

#include "platform/odbccalls.h"

namespace platform {

namespace {

void check(SQLRETURN result, SQLHSTMT statement) {
    if (!SQL_SUCCEEDED(result)) {
        throw odbc::error(SQL_HANDLE_STMT, statement);
    }
}

// A number column's value; null stays a null QVariant.
template <typename Odbc, typename Value>
QVariant readNumber(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT cType) {
    Odbc value{};
    SQLLEN indicator = 0;
    check(SQLGetData(statement, number, cType, &value, sizeof value, &indicator), statement);
    return indicator == SQL_NULL_DATA ? QVariant() : QVariant(static_cast<Value>(value));
}

// A text or binary column, read piece by piece however long it is and made into a value by
// `toValue` from its bytes; null stays null. Nearly every value fits one piece and is made straight
// from it; a longer one is joined first, so a character split between two pieces survives.
template <typename ToValue>
QVariant readPieces(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT cType, ToValue toValue) {
    constexpr SQLLEN kPiece = 2048;
    // Text pieces end in a terminating NUL character that is not part of the value.
    const SQLLEN room = cType == SQL_C_WCHAR ? kPiece - SQLLEN{sizeof(SQLWCHAR)} : kPiece;
    QByteArray longer;
    alignas(SQLWCHAR) char piece[kPiece];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN result = SQLGetData(statement, number, cType, piece, kPiece, &indicator);
        if (result == SQL_NO_DATA) {
            break;
        }
        check(result, statement);
        if (indicator == SQL_NULL_DATA) {
            return QVariant();
        }
        const QByteArrayView read(piece, indicator == SQL_NO_TOTAL || indicator > room ? room : indicator);
        if (result == SQL_SUCCESS && longer.isEmpty()) {
            return toValue(read);
        }
        longer.append(read);
        if (result == SQL_SUCCESS) {
            break;
        }
    }
    return toValue(QByteArrayView(longer));
}

QVariant wideText(QByteArrayView bytes) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()),
                              bytes.size() / qsizetype{sizeof(char16_t)});
}

}  // namespace

QVariant readColumnValue(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT sqlType) {
    switch (sqlType) {
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
        case SQL_BIT:
            return readNumber<SQLBIGINT, qlonglong>(statement, number, SQL_C_SBIGINT);
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return readNumber<SQLDOUBLE, double>(statement, number, SQL_C_DOUBLE);
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            return readPieces(statement, number, SQL_C_BINARY,
                              [](QByteArrayView bytes) { return QVariant(bytes.toByteArray()); });
        default:
            return readPieces(statement, number, SQL_C_WCHAR, wideText);
    }
}

std::vector<ResultColumn> describeResult(SQLHSTMT statement) {
    SQLSMALLINT count = 0;
    check(SQLNumResultCols(statement, &count), statement);
    std::vector<ResultColumn> columns;
    for (SQLUSMALLINT number = 1; number <= count; ++number) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        check(SQLDescribeColW(statement, number, name, std::size(name), &nameLength, &type, &size, &digits,
                              &nullable),
              statement);
        columns.push_back(
            {odbc::fromWide(name, qMin<qsizetype>(nameLength, std::size(name) - 1)), type, size});
    }
    return columns;
}

}  // namespace platform
