#pragma once

#include <sql.h>

#include <QString>
#include <QVariant>
#include <vector>

namespace platform {

// The value of one column of the row a statement stands on, read with SQLGetData by the column's
// type: whole and decimal numbers as numbers, binary columns as bytes, anything else as text,
// which crosses the interface as UTF-16 whatever the locale. Null stays a null QVariant. Raises
// ProgramError when the driver fails.
QVariant readColumnValue(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT sqlType);

// What the driver says of one column of an executed statement's result.
struct ResultColumn {
    QString name;
    SQLSMALLINT type = 0;
    // The declared length of a text, in characters.
    SQLULEN size = 0;
};

// The columns of an executed statement's result, in order. Raises ProgramError when the driver fails.
std::vector<ResultColumn> describeResult(SQLHSTMT statement);

}  // namespace platform
