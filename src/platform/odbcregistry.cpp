#include "platform/odbcregistry.h"

#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

#include <QDir>
#include <algorithm>

namespace platform {

namespace {

constexpr const char* kIniFile = "odbc.ini";

// Keeps the installer to the user's own data sources while it lives: where the user's file cannot
// be written, it would otherwise write the machine's, for every account on it.
class UserDataSourcesOnly {
public:
    UserDataSourcesOnly() {
        SQLGetConfigMode(&previous_);
        SQLSetConfigMode(ODBC_USER_DSN);
    }
    ~UserDataSourcesOnly() { SQLSetConfigMode(previous_); }
    UserDataSourcesOnly(const UserDataSourcesOnly&) = delete;
    UserDataSourcesOnly& operator=(const UserDataSourcesOnly&) = delete;

private:
    UWORD previous_ = ODBC_BOTH_DSN;
};

// A control character (a line break above all) would end an entry of the configuration early.
bool holdsControlCharacter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

}  // namespace

DataSource fileDataSource(const QString& databasePath, bool createWhenMissing) {
    // The SQLite ODBC driver stands where the Access driver stands on Windows.
    return {QStringLiteral("SQLite3"),
            {{QStringLiteral("Database"), QDir::toNativeSeparators(databasePath)},
             // Wait up to five seconds for a database that another program holds locked.
             {QStringLiteral("Timeout"), QStringLiteral("5000")},
             // Each write is its own transaction, committed to the write-ahead log without a flush.
             {QStringLiteral("JournalMode"), QStringLiteral("WAL")},
             {QStringLiteral("SyncPragma"), QStringLiteral("NORMAL")},
             // Rows are read one at a time rather than the whole result first, so a query over the
             // whole stock table takes no more memory than one row.
             {QStringLiteral("StepAPI"), QStringLiteral("1")},
             {QStringLiteral("NoCreat"), createWhenMissing ? QStringLiteral("0") : QStringLiteral("1")}}};
}

DataSource serverDataSource(const ServerAddress& server) {
    return {QStringLiteral("PostgreSQL Unicode"),
            {{QStringLiteral("Servername"), server.host},
             {QStringLiteral("Port"), QString::number(server.port)},
             {QStringLiteral("Database"), server.database},
             {QStringLiteral("Username"), server.user},
             // The rows a block takes where a recordset reads through a cursor (see Recordset).
             {QStringLiteral("Fetch"), QStringLiteral("1000")},
             // An error undoes its whole transaction, as the program's own writes want: the driver
             // would otherwise put a savepoint before every statement to undo that one alone.
             {QStringLiteral("Protocol"), QStringLiteral("7.4-1")},
             // The system's driver entry may turn on a log file per connection; the program needs none.
             {QStringLiteral("CommLog"), QStringLiteral("0")},
             {QStringLiteral("Debug"), QStringLiteral("0")}}};
}

bool registerDataSource(const QString& name, const DataSource& source) {
    const auto valueBreaks = [](const auto& attribute) { return holdsControlCharacter(attribute.second); };
    if (holdsControlCharacter(name) ||
        std::any_of(source.attributes.cbegin(), source.attributes.cend(), valueBreaks)) {
        return false;
    }
    // SQLConfigDataSource fails through the drivers' setup libraries, so the entry is written
    // directly: these calls honour ODBCINI as the driver manager does. Writing the entry's driver
    // removes the old entry first, so no setting of another driver is left behind in it.
    const QByteArray dsn = name.toLocal8Bit();
    const UserDataSourcesOnly userOnly;
    bool ok = SQLWriteDSNToIni(dsn.constData(), source.driver.toLocal8Bit().constData());
    for (const auto& [key, value] : source.attributes) {
        ok = ok && SQLWritePrivateProfileString(dsn.constData(), key.toLocal8Bit().constData(),
                                                value.toLocal8Bit().constData(), kIniFile);
    }
    return ok;
}

QString connectionString(const DataSource& source) {
    QString text = QStringLiteral("DRIVER={") + source.driver + QLatin1Char('}');
    for (const auto& [key, value] : source.attributes) {
        if (value.contains(QLatin1Char(';'))) {
            return QString();
        }
        text += QLatin1Char(';') + key + QLatin1Char('=') + value;
    }
    return text;
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
