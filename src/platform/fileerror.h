#pragma once

#include <QFile>
#include <QFileDevice>

#include "platform/programerror.h"

namespace platform {

// The error the program reports for a failed file operation: the number its messages have always
// given such a failure, and the system's own description. A write that put down only part of its
// bytes without the system giving a reason ran out of room: "Disk full" (61).
ProgramError fileError(const QFileDevice& file);

// Opens a file of the program's that must be a plain file: a pipe, a device or a folder of that
// name is refused with "Path/File access error" (75) before anything waits on it or reads it
// without end. Other failures raise fileError.
void openPlainFile(QFile& file, QIODevice::OpenMode mode);

// Raises "Path/File access error" (75) when something other than a plain file has this name.
void refuseSpecialFile(const QString& path);

}  // namespace platform
