#pragma once

#include <QStringList>

#include "platform/odbcregistry.h"

// The command-line options that name a shop database on a PostgreSQL server:
// --server HOST [--port N] --database NAME --user USER.
namespace platform {

// Reads the server option at `index` (and its value, moving `index` onto it) into `server`;
// false when it is not one of them, or its value is missing or wrong.
bool readServerOption(const QStringList& arguments, qsizetype& index, ServerAddress& server);

// True when the options named a server whole: its host, database and user.
bool namesServer(const ServerAddress& server);

// How the options are written, for a usage text.
inline const char* serverOptionsUsage() {
    return "--server HOST [--port N] --database NAME --user USER";
}

}  // namespace platform
