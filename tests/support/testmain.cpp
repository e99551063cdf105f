#include <gmock/gmock.h>

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>

#include "testengine.h"

namespace {

// What ctest counts as a skipped test program.
constexpr int kSkipped = 77;

// The test program's system ODBC configuration: the machine's drivers, each without a log file of
// its own (the PostgreSQL driver's entry as Debian installs it writes one into /tmp for every
// connection), and no data source. The driver manager reads ODBCSYSINI once per process, so it
// is set once, before any ODBC call, and the programs a test starts inherit it.
bool useTestDrivers(const QTemporaryDir& folder) {
    QFile machine(QStringLiteral("/etc/odbcinst.ini"));
    QFile drivers(folder.filePath(QStringLiteral("odbcinst.ini")));
    if (!folder.isValid() || !machine.open(QIODevice::ReadOnly) || !drivers.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray text = machine.readAll().replace("CommLog=1", "CommLog=0");
    qputenv("ODBCSYSINI", QFile::encodeName(folder.path()));
    return drivers.write(text) == text.size();
}

}  // namespace

// Every test binary runs with a Qt application (offscreen in the tests' environment) and a fixed
// locale, so results never depend on the machine. A run on PostgreSQL needs the test server:
// without one it is skipped, except in continuous integration, where it must run.
int main(int argc, char** argv) {
    if (testEngine() == TestEngine::Postgres && !testServer()) {
        const bool required = qEnvironmentVariable("CI") == QLatin1String("true");
        std::fprintf(required ? stderr : stdout, "%s: no PostgreSQL test server (RMSTOCKHAND_TEST_PG)%s\n",
                     argv[0], required ? "" : ", skipped");
        return required ? 1 : kSkipped;
    }
    const QTemporaryDir drivers;
    if (!useTestDrivers(drivers)) {
        std::fprintf(stderr, "%s: cannot read the ODBC drivers of /etc/odbcinst.ini\n", argv[0]);
        return 1;
    }
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
