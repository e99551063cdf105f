#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// The ODBC data sources of the user's configuration, through the unixODBC installer API. The
// ODBCINI environment variable, when set, names the configuration file to use instead.
namespace platform {

// Where a shop database lives and the ODBC driver that reaches it: the driver's name and the
// attributes of a data source or connection string, in the order they are written.
struct DataSource {
    QString driver;
    QList<std::pair<QString, QString>> attributes;
};

// A database on a PostgreSQL server. A host that starts with "/" is the folder of the server's
// Unix socket. The password is never part of it: the server's own password file or PGPASSWORD
// supplies it.
struct ServerAddress {
    QString host;
    int port = 5432;
    QString database;
    QString user;
};

// A database file, reached through the SQLite ODBC driver. A file that is not there is an error,
// never an empty database made in its place, unless `createWhenMissing`.
DataSource fileDataSource(const QString& databasePath, bool createWhenMissing = false);

// A shop database on a PostgreSQL server, reached through its Unicode ODBC driver.
DataSource serverDataSource(const ServerAddress& server);

// Registers (or re-registers) a user data source, replacing whatever it was before; false when
// the installer refused, or when a value holds a control character such as a line break, which
// would end the entry early.
bool registerDataSource(const QString& name, const DataSource& source);

// The ODBC connection string that reaches the data source's database without registering it;
// empty when a value holds a ";", which would end it early.
QString connectionString(const DataSource& source);

// Every user and system data source, each as its name, a tab and its driver's description.
QStringList dataSources();

// Where a Windows path of the program's texts lands here: "C:\winapps\RM.mdb" becomes RM.mdb in
// the program's folder; any other path is returned as it stands.
QString localDatabasePath(const QString& windowsPath, const QString& appPath);

}  // namespace platform
