#include "platform/odbcregistry.h"

#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

#include <QDir>

namespace platform {

namespace {

// The SQLite ODBC driver stands where the Access driver stands on Windows.
constexpr const char* kDriver = "SQLite3";
constexpr const char* kIniFile = "odbc.ini";

bool writeAttribute(const QByteArray& dsn, const char* key, const QByteArray& value) {
    return SQLWritePrivateProfileString(dsn.constData(), key, value.constData(), kIniFile);
}

}  // namespace

bool registerDataSource(const QString& name, const QString& databasePath) {
    // SQLConfigDataSource fails through the SQLite driver's setup library, so the entry is written
    // directly: these two calls honour ODBCINI as the driver manager does.
    const QByteArray dsn = name.toLocal8Bit();
    bool ok = SQLWriteDSNToIni(dsn.constData(), kDriver);
    ok = ok && writeAttribute(dsn, "Database", QDir::toNativeSeparators(databasePath).toLocal8Bit());
    // Wait up to five seconds for a database that another program holds locked.
    ok = ok && writeAttribute(dsn, "Timeout", "5000");
    // Each write is its own transaction, committed to the write-ahead log without a disk flush.
    ok = ok && writeAttribute(dsn, "JournalMode", "WAL");
    ok = ok && writeAttribute(dsn, "SyncPragma", "NORMAL");
    // Rows are read one at a time rather than the whole result first, so a query over the whole
    // stock table takes no more memory than one row.
    ok = ok && writeAttribute(dsn, "StepAPI", "1");
    return ok;
}

QStringList dataSources() {
    QStringList entries;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        return entries;
    }
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1];
    SQLCHAR description[512];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDataSources(env, direction, name, sizeof name, &nameLength, description,
                                        sizeof description, &descriptionLength))) {
        entries << QString::fromLocal8Bit(reinterpret_cast<const char*>(name)) + QLatin1Char('\t') +
                       QString::fromLocal8Bit(reinterpret_cast<const char*>(description));
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return entries;
}

QString localDatabasePath(const QString& windowsPath, const QString& appPath) {
    if (windowsPath.compare(QLatin1String("C:\\winapps\\RM.mdb"), Qt::CaseInsensitive) == 0) {
        return appPath + QLatin1String("/RM.mdb");
    }
    return windowsPath;
}

}  // namespace platform
