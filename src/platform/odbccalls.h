#pragma once

#include <sql.h>
#include <sqlext.h>

#include <QSqlDatabase>
#include <QString>

#include "platform/connection.h"
#include "platform/programerror.h"

// What the platform's own ODBC calls share. Text crosses the ODBC interface as UTF-16 (the wide
// calls): a narrow call would have the driver convert through the process's locale, which a
// scheduled job often runs in as plain ASCII.
namespace platform::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide characters are UTF-16");

// The ODBC connection handle under an open connection of Qt's ODBC driver; raises ProgramError
// when the connection is not open.
SQLHDBC connectionHandle(const QSqlDatabase& connection);

// The driver's messages about the last call on a handle, as one error.
ProgramError error(SQLSMALLINT handleType, SQLHANDLE handle);

// What the driver said first about the last call on a handle; empty when it said nothing.
DriverDiagnosis diagnosis(SQLSMALLINT handleType, SQLHANDLE handle);

// Wide text as the wide calls take and give it.
inline SQLWCHAR* wide(QString& text) {
    return reinterpret_cast<SQLWCHAR*>(text.data());
}
inline QString fromWide(const SQLWCHAR* text, qsizetype length) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace platform::odbc
