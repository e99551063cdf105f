#pragma once

#include <QString>
#include <QStringList>

// The ODBC data sources of the user's configuration, through the unixODBC installer API. The
// ODBCINI environment variable, when set, names the configuration file to use instead.
namespace platform {

// Registers (or re-registers) a user data source for a shop database file; false when the
// installer refused.
bool registerDataSource(const QString& name, const QString& databasePath);

// Every user and system data source, each as its name, a tab and its driver's description.
QStringList dataSources();

// Where a Windows path of the program's texts lands here: "C:\winapps\RM.mdb" becomes RM.mdb in
// the program's folder; any other path is returned as it stands.
QString localDatabasePath(const QString& windowsPath, const QString& appPath);

}  // namespace platform
