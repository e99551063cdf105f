#pragma once

#include <optional>

#include "platform/odbcregistry.h"

// The database engine that a test program's shop databases live in. RMSTOCKHAND_TEST_BACKEND
// names it ("postgres"; SQLite otherwise); RMSTOCKHAND_TEST_PG names the throw-away PostgreSQL
// server that script/test starts, as "SOCKET_FOLDER PORT".
enum class TestEngine { Sqlite, Postgres };

TestEngine testEngine();

// The throw-away server's maintenance database, as its superuser; nothing when none was started.
std::optional<platform::ServerAddress> testServer();
