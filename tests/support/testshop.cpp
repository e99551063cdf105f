#include "testshop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>

#include "platform/connection.h"
#include "platform/programerror.h"
#include "testengine.h"

namespace {

// The variables a test shop points at its own folder.
constexpr const char* kVariables[] = {"ODBCINI", "RMSTOCKHAND_HOME"};

// Runs one statement on the test server's maintenance database.
void administer(const QString& sql) {
    const QString name = QStringLiteral("test server");
    try {
        const QSqlDatabase server = platform::openConnection(
            platform::connectionString(platform::serverDataSource(*testServer())), name);
        QSqlQuery query(server);
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
    } catch (const ProgramError& error) {
        ADD_FAILURE() << "cannot reach the test server: " << error.description().toStdString();
    }
    platform::closeConnection(name);
}

}  // namespace

TestShop::TestShop() : oldCurrent_(QDir::currentPath()) {
    for (const char* name : kVariables) {
        oldEnvironment_.append(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    // No data source of the user's can leak in, and nothing a test registers can leak out; the
    // test program's own system configuration (see testmain.cpp) holds no data source either.
    qputenv("ODBCINI", odbcIni().toLocal8Bit());
    qputenv("RMSTOCKHAND_HOME", folder().toLocal8Bit());
    QDir::setCurrent(folder());
}

TestShop::~TestShop() {
    if (database_) {
        administer(QStringLiteral("drop database if exists %1 with (force)").arg(database_->database));
    }
    QDir::setCurrent(oldCurrent_);
    for (qsizetype i = 0; i < oldEnvironment_.size(); ++i) {
        if (oldEnvironment_[i]) {
            qputenv(kVariables[i], *oldEnvironment_[i]);
        } else {
            qunsetenv(kVariables[i]);
        }
    }
}

QStringList TestShop::demoShopPlace(TestEngine engine) {
    if (engine == TestEngine::Sqlite) {
        return {folder() + QStringLiteral("/shop.mdb")};
    }
    if (!database_) {
        database_ = newServerDatabase();
    }
    return {QStringLiteral("--server"),   database_->host,
            QStringLiteral("--port"),     QString::number(database_->port),
            QStringLiteral("--database"), database_->database,
            QStringLiteral("--user"),     database_->user};
}

void TestShop::makeDemoShop(int items, TestEngine engine) {
    QProcess maker;
    maker.start(QStringLiteral(RM_BIN_DIR "/rmstockhand-demo-db"),
                demoShopPlace(engine) + QStringList{QStringLiteral("--items"), QString::number(items)});
    ASSERT_TRUE(maker.waitForFinished(120000)) << "demo shop maker did not finish";
    ASSERT_EQ(maker.exitCode(), 0) << maker.readAllStandardError().toStdString();
}

void TestShop::registerDemoShop(int items) {
    makeDemoShop(items);
    ASSERT_TRUE(platform::registerDataSource(QStringLiteral("MYOBRM"), dataSource()));
}

platform::DataSource TestShop::dataSource(TestEngine engine) {
    const QStringList place = demoShopPlace(engine);
    return engine == TestEngine::Sqlite ? platform::fileDataSource(place.first())
                                        : platform::serverDataSource(*database_);
}

platform::ServerAddress TestShop::newServerDatabase() {
    static int count = 0;
    platform::ServerAddress database = *testServer();
    database.database = QStringLiteral("rmtest_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
    administer(QStringLiteral("create database ") + database.database);
    return database;
}
