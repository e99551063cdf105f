#pragma once

#include "stopsignals.h"
#include "transfercommand.h"

// Does what `command` asks for over the link the user's settings and the environment choose for
// its port: a folder exchange, the serial line or the handheld page, shown in the utility's window
// when `windowed`; a stop signal on `stops` gives a transfer up as Cancel does. Raises
// scanner::Failure with the reason when it does not end normally.
void runTransfer(const TransferCommand& command, bool windowed, StopSignals& stops);
