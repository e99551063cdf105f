#pragma once

#include <QString>
#include <QTemporaryDir>
#include <optional>

// A private program folder and ODBC configuration for one test: ODBCINI and ODBCSYSINI point into
// a fresh temporary folder, which also serves as the program's folder and the current directory.
class TestShop {
public:
    TestShop();
    ~TestShop();
    TestShop(const TestShop&) = delete;
    TestShop& operator=(const TestShop&) = delete;

    QString folder() const { return dir_.path(); }
    QString odbcIni() const { return folder() + QStringLiteral("/odbc.ini"); }

    // Makes a demo shop database with the demo maker and returns its path.
    QString makeDemoDatabase(int items = 200, const QString& name = QStringLiteral("shop.mdb")) const;
    // Makes a demo shop database and registers it as the data source "MYOBRM".
    QString registerDemoShop(int items = 200) const;

private:
    QTemporaryDir dir_;
    QList<std::optional<QByteArray>> oldEnvironment_;
    QString oldCurrent_;
};
