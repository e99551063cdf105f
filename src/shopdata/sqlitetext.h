#pragma once

#include <QtGlobal>

// The SQLite driver's own reading of a file's text into UTF-16, for texts fetched narrow: the
// file keeps whatever bytes a program gave it, and the export must show every item as the driver
// shows it when it hands the text over as UTF-16.
//
// Reads `size` bytes into `out`, which has room for as many units; gives the units written.
qsizetype readSqliteText(const char* bytes, qsizetype size, char16_t* out);
