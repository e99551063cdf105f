#include "platform/recordset.h"

#include <iterator>

#include "platform/boundblock.h"
#include "platform/columnvalue.h"
#include "platform/odbccalls.h"

namespace platform {

namespace {

void check(SQLRETURN result, SQLHSTMT statement) {
    if (!SQL_SUCCEEDED(result)) {
        throw odbc::error(SQL_HANDLE_STMT, statement);
    }
}

// Runs `execute` with the PostgreSQL driver reading the select's rows a block at a time through a
// server-side cursor, and then restores the connection as it was: a recordset is read from its
// first row to its last, and a read of the whole stock table then takes the memory of one block,
// where the driver would otherwise fetch every row before the first. The single-row lookups of
// the shop's other statements keep the connection's plain reads, one round trip each. A driver
// that does not know the setting refuses it and reads as it always does.
template <typename Execute>
SQLRETURN executeInBlocks(SQLHDBC dbc, Execute execute) {
    constexpr SQLINTEGER kReadThroughCursor = 65539;  // the PostgreSQL driver's "use declare/fetch"
    SQLULEN before = 0;
    const bool known =
        SQL_SUCCEEDED(SQLGetConnectAttr(dbc, kReadThroughCursor, &before, 0, nullptr)) &&
        SQL_SUCCEEDED(SQLSetConnectAttr(dbc, kReadThroughCursor, reinterpret_cast<SQLPOINTER>(1), 0));
    const SQLRETURN result = execute();
    if (known) {
        SQLSetConnectAttr(dbc, kReadThroughCursor, reinterpret_cast<SQLPOINTER>(before), 0);
    }
    return result;
}

}  // namespace

Recordset::Recordset() = default;

Recordset::~Recordset() {
    close();
}

void Recordset::open(const QString& sql, const QSqlDatabase& connection, const QStringList& read) {
    close();
    SQLHDBC dbc = odbc::connectionHandle(connection);
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement))) {
        throw odbc::error(SQL_HANDLE_DBC, dbc);
    }
    statement_ = statement;
    QString text = sql;
    const SQLRETURN result = executeInBlocks(
        dbc, [&] { return SQLExecDirectW(statement, odbc::wide(text), SQLINTEGER(text.size())); });
    if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA) {
        const ProgramError error = odbc::error(SQL_HANDLE_STMT, statement);
        close();
        throw error;
    }
    const std::vector<ResultColumn> described = describeResult(statement_);
    std::vector<bool> fetched;
    for (const ResultColumn& column : described) {
        const bool wanted = read.isEmpty() || read.contains(column.name, Qt::CaseInsensitive);
        columns_.append({column.name, column.type, column.size, wanted});
        fetched.push_back(wanted);
    }
    block_ = BoundBlock::bindTo(statement_, described, fetched, narrowTextReader(connection));
    SQLUINTEGER getData = 0;
    anyOrder_ = SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_GETDATA_EXTENSIONS, &getData, sizeof getData, nullptr)) &&
                (getData & SQL_GD_ANY_ORDER) != 0 && (getData & SQL_GD_ANY_COLUMN) != 0;
    moveNext();
}

void Recordset::moveNext() {
    values_.clear();
    texts_.clear();
    eof_ = true;
    if (statement_ == nullptr || columns_.isEmpty()) {
        return;
    }
    if (block_) {
        eof_ = !block_->next();
        return;
    }
    const SQLRETURN result = SQLFetch(statement_);
    if (result != SQL_NO_DATA) {
        check(result, statement_);
        eof_ = false;
    }
}

QVariant Recordset::field(const QString& name) const {
    return valueAt(eof_ ? -1 : columnIndex(name));
}

void Recordset::checkRow(qsizetype index) const {
    if (eof_ || index < 0 || index >= columns_.size()) {
        throw itemNotFoundError();
    }
}

QVariant Recordset::valueAt(qsizetype index) const {
    checkRow(index);
    if (block_) {
        return block_->value(std::size_t(index));
    }
    if (values_.isEmpty()) {
        values_.resize(columns_.size());
    }
    // A driver that reads a row's columns only in order has the ones before read too.
    for (qsizetype column = anyOrder_ ? index : 0; column <= index; ++column) {
        if (!values_[column]) {
            values_[column] = readColumn(column);
        }
    }
    return *values_[index];
}

qint64 Recordset::wholeAt(qsizetype column) const {
    checkRow(column);
    return block_ ? block_->whole(std::size_t(column)) : valueAt(column).toLongLong();
}

double Recordset::numberAt(qsizetype column) const {
    checkRow(column);
    return block_ ? block_->number(std::size_t(column)) : valueAt(column).toDouble();
}

QStringView Recordset::textAt(qsizetype column) const {
    checkRow(column);
    if (block_) {
        if (const std::optional<QStringView> text = block_->text(std::size_t(column))) {
            return *text;
        }
    }
    if (texts_.isEmpty()) {
        texts_.resize(columns_.size());
    }
    if (!texts_[column]) {
        texts_[column] = valueAt(column).toString();
    }
    return *texts_[column];
}

// Names are matched as a recordset matches them, in any case (a server may report "barcode" for
// BarCode). A reader asks for the same few names on every row, so each name is matched once.
qsizetype Recordset::columnIndex(const QString& name) const {
    for (const auto& [asked, index] : asked_) {
        if (asked == name) {
            return index;
        }
    }
    qsizetype index = 0;
    while (index < columns_.size() &&
           (!columns_[index].read || columns_[index].name.compare(name, Qt::CaseInsensitive) != 0)) {
        ++index;
    }
    asked_.append({name, index < columns_.size() ? index : -1});
    return asked_.last().second;
}

QVariant Recordset::readColumn(qsizetype index) const {
    return readColumnValue(statement_, static_cast<SQLUSMALLINT>(index + 1), columns_[index].type);
}

void Recordset::close() {
    block_.reset();
    if (statement_ != nullptr) {
        SQLFreeHandle(SQL_HANDLE_STMT, statement_);
        statement_ = nullptr;
    }
    columns_.clear();
    asked_.clear();
    values_.clear();
    texts_.clear();
    eof_ = true;
}

}  // namespace platform
