#pragma once

#include <QFileDevice>

#include "outside/programerror.h"

namespace platform {

// The error the program reports for a failed file operation: the number its messages have always
// given such a failure, and the system's own description.
ProgramError fileError(const QFileDevice& file);

}  // namespace platform
