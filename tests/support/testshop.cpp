#include "testshop.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "platform/odbcregistry.h"

namespace {

// The variables a test shop points at its own folder.
constexpr const char* kVariables[] = {"ODBCINI", "ODBCSYSINI", "RMSTOCKHAND_HOME"};

}  // namespace

TestShop::TestShop() : oldCurrent_(QDir::currentPath()) {
    for (const char* name : kVariables) {
        oldEnvironment_.append(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    // The drivers stay known, but no data source of the machine's or the user's can leak in,
    // and nothing a test registers can leak out.
    QFile::copy(QStringLiteral("/etc/odbcinst.ini"), folder() + QStringLiteral("/odbcinst.ini"));
    qputenv("ODBCINI", odbcIni().toLocal8Bit());
    qputenv("ODBCSYSINI", folder().toLocal8Bit());
    qputenv("RMSTOCKHAND_HOME", folder().toLocal8Bit());
    QDir::setCurrent(folder());
}

TestShop::~TestShop() {
    QDir::setCurrent(oldCurrent_);
    for (qsizetype i = 0; i < oldEnvironment_.size(); ++i) {
        if (oldEnvironment_[i]) {
            qputenv(kVariables[i], *oldEnvironment_[i]);
        } else {
            qunsetenv(kVariables[i]);
        }
    }
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
