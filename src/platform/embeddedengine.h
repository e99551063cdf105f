#pragma once

// The SQLite engine that the embedded shop database's ODBC driver runs inside this program.
namespace platform {

// Sets the engine up for a program that uses each connection from one thread only: no lock
// around every call and every allocation, which the item export's hundred thousand rows feel.
// It takes effect before the engine's first use in the process; after that the engine keeps
// the settings it started with, which are slower but equally correct.
void tuneEmbeddedEngine();

}  // namespace platform
