#pragma once

#include "transfercommand.h"

// Does what `command` asks for over the link the user's settings and the environment choose for
// its port: a folder exchange, or the serial line, shown in the utility's window when `windowed`.
// Raises scanner::Failure with the reason when it does not end normally.
void runTransfer(const TransferCommand& command, bool windowed);
