#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include "platform/odbcregistry.h"
#include "testengine.h"

// A private program folder and ODBC configuration for one test: ODBCINI points into a fresh
// temporary folder, which also serves as the program's folder and the current directory.
// Its shop database lives in the test program's engine: a file in that folder, or a database of
// its own on the test server, dropped again at the end.
class TestShop {
public:
    TestShop();
    ~TestShop();
    TestShop(const TestShop&) = delete;
    TestShop& operator=(const TestShop&) = delete;

    QString folder() const { return dir_.path(); }
    QString odbcIni() const { return folder() + QStringLiteral("/odbc.ini"); }

    // Where the demo maker writes this test's shop database in an engine, the test program's
    // unless told: its file, or its server options. The same options register it in the batch.
    QStringList demoShopPlace(TestEngine engine = testEngine());
    // Makes a demo shop database with `items` items in the engine, with the demo maker.
    void makeDemoShop(int items, TestEngine engine = testEngine());
    // Makes a demo shop database in the test program's engine and registers it as "MYOBRM".
    void registerDemoShop(int items = 200);
    // The data source of this test's shop database in an engine.
    platform::DataSource dataSource(TestEngine engine = testEngine());

private:
    // A new empty database on the test server, for this test alone.
    platform::ServerAddress newServerDatabase();

    QTemporaryDir dir_;
    QList<std::optional<QByteArray>> oldEnvironment_;
    QString oldCurrent_;
    std::optional<platform::ServerAddress> database_;
};
