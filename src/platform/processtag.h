#pragma once

#include <QString>

namespace platform {

// This process as other processes can find it again: the machine's name, the process id and the
// time it started, so that a later process with the same id is not taken for it.
QString thisProcessTag();

// True when the process of the tag is running now, on this machine; a process on another machine
// cannot be seen from here and counts as not running.
bool processRunning(const QString& tag);

}  // namespace platform
