#include "testshop.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "platform/odbcregistry.h"

TestShop::TestShop()
    : oldOdbcIni_(qgetenv("ODBCINI")), oldHome_(qgetenv("RMSTOCKHAND_HOME")), oldCurrent_(QDir::currentPath()) {
    qputenv("ODBCINI", odbcIni().toLocal8Bit());
    qputenv("RMSTOCKHAND_HOME", folder().toLocal8Bit());
    QDir::setCurrent(folder());
}

TestShop::~TestShop() {
    QDir::setCurrent(oldCurrent_);
    qputenv("ODBCINI", oldOdbcIni_);
    qputenv("RMSTOCKHAND_HOME", oldHome_);
}

QString TestShop::makeDemoDatabase(int items, const QString& name) const {
    const QString path = folder() + QLatin1Char('/') + name;
    QProcess maker;
    maker.start(QStringLiteral(RM_BIN_DIR "/rmstockhand-demo-db"),
                {path, QStringLiteral("--items"), QString::number(items)});
    EXPECT_TRUE(maker.waitForFinished(120000)) << "demo shop maker did not finish";
    EXPECT_EQ(maker.exitCode(), 0) << maker.readAllStandardError().toStdString();
    return path;
}

QString TestShop::registerDemoShop(int items) const {
    const QString path = makeDemoDatabase(items);
    EXPECT_TRUE(platform::registerDataSource(QStringLiteral("MYOBRM"), path));
    return path;
}
