#pragma once

#include "fileprotocol.h"
#include "scannerlink.h"
#include "transfercommand.h"

// The two transfers over the serial line, shown in the utility's window when `face` is windowed,
// else told on standard error, and given up on a stop signal. Each checks what it can before it opens the
// line, and raises scanner::Failure with the reason when the transfer does not end normally; a failed receive
// leaves the target file as it was.

// Sends the file `command` names with the field widths it lists.
void sendOverLine(const TransferCommand& command, const ScannerLink& link,
                  const fileprotocol::LinkRules& rules, const TransferFace& face);

// Receives the upload `command` names and writes it to its file.
void receiveOverLine(const TransferCommand& command, const ScannerLink& link,
                     const fileprotocol::LinkRules& rules, const TransferFace& face);
