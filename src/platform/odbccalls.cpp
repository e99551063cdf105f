#include "platform/odbccalls.h"

#include <QSqlDriver>
#include <QStringList>
#include <QVariant>

namespace platform::odbc {

SQLHDBC connectionHandle(const QSqlDatabase& connection) {
    const QVariant handle = connection.isOpen() ? connection.driver()->handle() : QVariant();
    if (handle.metaType() != QMetaType::fromType<SQLHANDLE>()) {
        throw ProgramError(errnum::DatabaseError, QStringLiteral("The connection is not open."));
    }
    return *static_cast<const SQLHANDLE*>(handle.constData());
}

ProgramError error(SQLSMALLINT handleType, SQLHANDLE handle) {
    QStringList messages;
    SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER nativeError = 0;
    SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1; SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, record, state, &nativeError,
                                                              message, SQL_MAX_MESSAGE_LENGTH, &length));
         ++record) {
        messages << fromWide(message, qMin<qsizetype>(length, SQL_MAX_MESSAGE_LENGTH - 1)).trimmed();
    }
    return ProgramError(errnum::DatabaseError, messages.isEmpty() ? QStringLiteral("ODBC call failed.")
                                                                  : messages.join(QLatin1Char(' ')));
}

DriverDiagnosis diagnosis(SQLSMALLINT handleType, SQLHANDLE handle) {
    SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER nativeError = 0;
    SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
    SQLSMALLINT length = 0;
    if (handle == nullptr || !SQL_SUCCEEDED(SQLGetDiagRecW(handleType, handle, 1, state, &nativeError,
                                                           message, SQL_MAX_MESSAGE_LENGTH, &length))) {
        return {};
    }
    return {odbc::fromWide(state, SQL_SQLSTATE_SIZE), int(nativeError)};
}

}  // namespace platform::odbc
