#include "platform/recordset.h"

#include <QSqlDriver>
#include <QStringList>

#include <sql.h>
#include <sqlext.h>

#include "outside/programerror.h"

namespace platform {

namespace {

// The ODBC connection handle under a connection of Qt's ODBC driver.
SQLHDBC connectionHandle(const QSqlDatabase& connection) {
    const QVariant handle = connection.isOpen() ? connection.driver()->handle() : QVariant();
    if (handle.metaType() != QMetaType::fromType<SQLHANDLE>()) {
        throw ProgramError(errnum::DatabaseError, QStringLiteral("The connection is not open."));
    }
    return *static_cast<const SQLHANDLE*>(handle.constData());
}

// The driver's messages about the last call on a handle, as one error.
ProgramError odbcError(SQLSMALLINT handleType, SQLHANDLE handle) {
    QStringList messages;
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER nativeError = 0;
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1; SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, record, state, &nativeError,
                                                             message, sizeof message, &length));
         ++record) {
        messages << QString::fromUtf8(reinterpret_cast<const char*>(message));
    }
    return ProgramError(errnum::DatabaseError, messages.isEmpty() ? QStringLiteral("ODBC call failed.")
                                                                  : messages.join(QLatin1Char(' ')));
}

void check(SQLRETURN result, SQLHSTMT statement) {
    if (!SQL_SUCCEEDED(result)) {
        throw odbcError(SQL_HANDLE_STMT, statement);
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
// `toValue`; null stays null. Nearly every value fits one piece and is made straight from it.
template <typename ToValue>
QVariant readPieces(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT cType, ToValue toValue) {
    // Text pieces end in a terminating NUL that is not part of the value.
    constexpr SQLLEN kPiece = 1024;
    const SQLLEN room = cType == SQL_C_CHAR ? kPiece - 1 : kPiece;
    QByteArray longer;
    char piece[kPiece];
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

}  // namespace

void Recordset::open(const QString& sql, const QSqlDatabase& connection) {
    close();
    SQLHDBC dbc = connectionHandle(connection);
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement))) {
        throw odbcError(SQL_HANDLE_DBC, dbc);
    }
    statement_ = statement;
    QByteArray text = sql.toUtf8();
    const SQLRETURN result = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
    if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA) {
        const ProgramError error = odbcError(SQL_HANDLE_STMT, statement);
        close();
        throw error;
    }
    describeColumns();
    moveNext();
}

void Recordset::describeColumns() {
    SQLSMALLINT count = 0;
    check(SQLNumResultCols(statement_, &count), statement_);
    for (SQLUSMALLINT number = 1; number <= count; ++number) {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        check(SQLDescribeCol(statement_, number, name, sizeof name, &nameLength, &type, &size, &digits,
                             &nullable),
              statement_);
        columns_.append({QString::fromUtf8(reinterpret_cast<const char*>(name)), type});
    }
}

void Recordset::moveNext() {
    values_.clear();
    eof_ = true;
    if (statement_ == nullptr || columns_.isEmpty()) {
        return;
    }
    const SQLRETURN result = SQLFetch(statement_);
    if (result != SQL_NO_DATA) {
        check(result, statement_);
        eof_ = false;
    }
}

QVariant Recordset::field(const QString& name) const {
    const qsizetype index = eof_ ? -1 : columnIndex(name);
    if (index < 0) {
        throw ProgramError(errnum::ItemNotFound,
                           QStringLiteral("Item cannot be found in the collection "
                                          "corresponding to the requested name or ordinal."));
    }
    // ODBC drivers need not read a row's columns out of order, so the ones before are read too.
    while (values_.size() <= index) {
        values_.append(readColumn(values_.size()));
    }
    return values_[index];
}

qsizetype Recordset::columnIndex(const QString& name) const {
    // Names are matched as a recordset matches them, in any case; the exact spelling is tried
    // first because it is far quicker and is what the program's own queries use.
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name == name) {
            return i;
        }
    }
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

QVariant Recordset::readColumn(qsizetype index) const {
    const auto number = static_cast<SQLUSMALLINT>(index + 1);
    switch (columns_[index].type) {
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
        case SQL_BIT:
            return readNumber<SQLBIGINT, qlonglong>(statement_, number, SQL_C_SBIGINT);
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return readNumber<SQLDOUBLE, double>(statement_, number, SQL_C_DOUBLE);
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            return readPieces(statement_, number, SQL_C_BINARY,
                              [](QByteArrayView bytes) { return QVariant(bytes.toByteArray()); });
        default:
            return readPieces(statement_, number, SQL_C_CHAR,
                              [](QByteArrayView text) { return QVariant(QString::fromUtf8(text)); });
    }
}

void Recordset::close() {
    if (statement_ != nullptr) {
        SQLFreeHandle(SQL_HANDLE_STMT, statement_);
        statement_ = nullptr;
    }
    columns_.clear();
    values_.clear();
    eof_ = true;
}

}  // namespace platform
