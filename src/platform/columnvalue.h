#pragma once

#include <sql.h>

#include <QVariant>

namespace platform {

// The value of one column of the row a statement stands on, read with SQLGetData by the column's
// type: whole and decimal numbers as numbers, binary columns as bytes, anything else as text,
// which crosses the interface as UTF-16 whatever the locale. Null stays a null QVariant. Raises
// ProgramError when the driver fails.
QVariant readColumnValue(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT sqlType);

}  // namespace platform
