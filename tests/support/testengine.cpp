#include "testengine.h"

#include <QStringList>

TestEngine testEngine() {
    return qEnvironmentVariable("RMSTOCKHAND_TEST_BACKEND") == QLatin1String("postgres")
               ? TestEngine::Postgres
               : TestEngine::Sqlite;
}

std::optional<platform::ServerAddress> testServer() {
    const QStringList where =
        qEnvironmentVariable("RMSTOCKHAND_TEST_PG").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool ok = false;
    const int port = where.value(1).toInt(&ok);
    if (where.size() != 2 || !ok) {
        return std::nullopt;
    }
    return platform::ServerAddress{where[0], port, QStringLiteral("postgres"), QStringLiteral("postgres")};
}
