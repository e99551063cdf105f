#include "platform/preparedstatement.h"

#include <utility>

#include "platform/columnvalue.h"
#include "platform/odbccalls.h"

namespace platform {

namespace {

bool isWhole(const QMetaType& type) {
    switch (type.id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Bool:
            return true;
        default:
            return false;
    }
}

}  // namespace

PreparedStatement::PreparedStatement(const QSqlDatabase& connection) {
    SQLHDBC dbc = odbc::connectionHandle(connection);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement_))) {
        failure_ = odbc::diagnosis(SQL_HANDLE_DBC, dbc);
        throw odbc::error(SQL_HANDLE_DBC, dbc);
    }
}

void PreparedStatement::prepare(const QString& sql) {
    QString text = sql;
    check(SQLPrepareW(statement_, odbc::wide(text), SQLINTEGER(text.size())));
}

PreparedStatement::PreparedStatement(PreparedStatement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)),
      parameters_(std::move(other.parameters_)),
      columns_(std::move(other.columns_)),
      described_(other.described_),
      failure_(std::move(other.failure_)) {}

PreparedStatement::~PreparedStatement() {
    if (statement_ != nullptr) {
        SQLFreeHandle(SQL_HANDLE_STMT, statement_);
    }
}

void PreparedStatement::execute(std::initializer_list<QVariant> values) {
    // The places hold their values until the next run: the driver reads them while it executes.
    if (parameters_.size() != values.size()) {
        parameters_.assign(values.size(), Parameter());
    }
    SQLUSMALLINT place = 0;
    for (const QVariant& value : values) {
        bind(place + 1, value, parameters_[place]);
        ++place;
    }
    const SQLRETURN result = SQLExecute(statement_);
    if (result != SQL_NO_DATA) {
        check(result);
    }
}

// Each value goes in as its own type, as Qt's driver would pass it: a whole number as an integer
// of its width, a decimal number as a double, anything else as UTF-16 text.
void PreparedStatement::bind(SQLUSMALLINT place, const QVariant& value, Parameter& parameter) {
    const QMetaType type = value.metaType();
    // A null text is a null as much as a null variant is; asked before the text is handed over,
    // which makes a null text an empty one.
    const bool null = value.isNull() || (type.id() == QMetaType::QString && value.toString().isNull());
    Binding binding;
    if (isWhole(type)) {
        parameter.whole = value.toLongLong();
        const bool narrow = type.id() == QMetaType::Int || type.id() == QMetaType::Short;
        binding = {.cType = SQL_C_SBIGINT,
                   .sqlType = SQLSMALLINT(narrow ? SQL_INTEGER : SQL_BIGINT),
                   .size = 1,
                   .data = &parameter.whole};
    } else if (type.id() == QMetaType::Double || type.id() == QMetaType::Float) {
        parameter.decimal = value.toDouble();
        binding = {.cType = SQL_C_DOUBLE, .sqlType = SQL_DOUBLE, .size = 1, .data = &parameter.decimal};
    } else {
        parameter.text = value.toString();
        binding = {.cType = SQL_C_WCHAR,
                   .sqlType = SQL_WVARCHAR,
                   .size = SQLULEN(std::max<qsizetype>(parameter.text.size(), 1)),
                   .data = odbc::wide(parameter.text),
                   .bytes = parameter.text.size() * SQLLEN{sizeof(SQLWCHAR)}};
    }
    parameter.indicator = null ? SQL_NULL_DATA : binding.bytes;
    // A number's place keeps its buffer from run to run: it is bound once, and each run only puts
    // the new value in it.
    if (parameter.bound == binding) {
        return;
    }
    check(SQLBindParameter(statement_, place, SQL_PARAM_INPUT, binding.cType, binding.sqlType, binding.size,
                           0, binding.data, binding.bytes, &parameter.indicator));
    parameter.bound = binding;
}

bool PreparedStatement::fetch() {
    const SQLRETURN result = SQLFetch(statement_);
    if (result == SQL_NO_DATA) {
        return false;
    }
    check(result);
    return true;
}

int PreparedStatement::columnCount() {
    describe();
    return int(columns_.size());
}

QString PreparedStatement::columnName(int column) {
    describe();
    return columns_.at(std::size_t(column)).name;
}

QVariant PreparedStatement::value(int column) {
    describe();
    try {
        return readColumnValue(statement_, SQLUSMALLINT(column + 1), columns_.at(std::size_t(column)).type);
    } catch (const ProgramError&) {
        failure_ = odbc::diagnosis(SQL_HANDLE_STMT, statement_);
        throw;
    }
}

qint64 PreparedStatement::rowsAffected() {
    SQLLEN rows = 0;
    check(SQLRowCount(statement_, &rows));
    return rows;
}

void PreparedStatement::closeRows() {
    SQLFreeStmt(statement_, SQL_CLOSE);
}

// The columns are learnt once, from the first run's result: every run of a statement has the same.
void PreparedStatement::describe() {
    if (described_) {
        return;
    }
    try {
        columns_ = describeResult(statement_);
    } catch (const ProgramError&) {
        failure_ = odbc::diagnosis(SQL_HANDLE_STMT, statement_);
        throw;
    }
    described_ = true;
}

void PreparedStatement::check(SQLRETURN result) {
    if (!SQL_SUCCEEDED(result)) {
        fail();
    }
}

void PreparedStatement::fail() {
    failure_ = odbc::diagnosis(SQL_HANDLE_STMT, statement_);
    throw odbc::error(SQL_HANDLE_STMT, statement_);
}

}  // namespace platform
