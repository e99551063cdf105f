#pragma once

#include <sql.h>

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <optional>
#include <vector>

#include "platform/columnvalue.h"
#include "platform/connection.h"

namespace platform {

// One SQL statement prepared on the ODBC handle of an open Qt SQL connection and run again and
// again with new values in its "?" places. The imports run a few statements once per record: on
// the handle itself a run costs the driver's work and little more, where Qt describes the result
// afresh and converts every value on every run. Failures raise ProgramError with the driver's
// text; lastFailure() then says what the driver said of it.
class PreparedStatement {
public:
    // A statement on the connection, to be prepared next.
    explicit PreparedStatement(const QSqlDatabase& connection);
    PreparedStatement(PreparedStatement&& other) noexcept;
    PreparedStatement& operator=(PreparedStatement&&) = delete;
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;
    ~PreparedStatement();

    void prepare(const QString& sql);
    // Runs the statement with these values in its "?" places, in order: whole numbers, decimal
    // numbers and texts, or nulls of those types.
    void execute(std::initializer_list<QVariant> values);
    // Moves to the next row of the select just run; false after the last.
    bool fetch();
    // The select's columns, and a value of the row it stands on.
    int columnCount();
    QString columnName(int column);
    QVariant value(int column);
    // How many rows the last insert, update or delete changed.
    qint64 rowsAffected();
    // Lets go of the rows of the select just run.
    void closeRows();
    const DriverDiagnosis& lastFailure() const { return failure_; }

private:
    // How a "?" place is bound: the value's C and SQL types, its size, buffer and byte length.
    struct Binding {
        SQLSMALLINT cType = 0;
        SQLSMALLINT sqlType = 0;
        SQLULEN size = 0;
        SQLPOINTER data = nullptr;
        SQLLEN bytes = 0;
        bool operator==(const Binding&) const = default;
    };
    // What one "?" place holds while the statement runs: the driver reads it from here.
    struct Parameter {
        SQLLEN indicator = 0;
        SQLBIGINT whole = 0;
        SQLDOUBLE decimal = 0;
        QString text;
        // How the place is bound now; a run whose value binds the same way binds nothing anew.
        std::optional<Binding> bound;
    };

    void bind(SQLUSMALLINT place, const QVariant& value, Parameter& parameter);
    void describe();
    void check(SQLRETURN result);
    [[noreturn]] void fail();

    SQLHSTMT statement_ = nullptr;
    std::vector<Parameter> parameters_;
    std::vector<ResultColumn> columns_;
    bool described_ = false;
    DriverDiagnosis failure_;
};

}  // namespace platform
