#pragma once

#include <QString>

namespace platform {

// The program's folder, where its own files go: RMSTOCKHAND_HOME when set, else the folder that
// holds the executable; without a trailing separator.
QString programFolder();

}  // namespace platform
