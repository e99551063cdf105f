#pragma once

#include "platform/scannersettings.h"
#include "scannerlink.h"
#include "transfercommand.h"

// The two transfers with a handheld's browser. The utility serves the handheld page on the shop's
// network while the transfer runs, and only then, shown in its window when `face` is windowed, else told on
// standard output (the page's address and the pairing code) and standard error. A transfer ends
// when a paired handheld has taken the item file whole or sent the upload asked for, when no
// handheld calls within the link-up time, or on the user's word (Cancel, or a stop signal); each
// end but the first raises scanner::Failure with the reason, and a receive that fails leaves the
// target file as it was.

// Offers the item file `command` names to the handheld page.
void sendOverWeb(const TransferCommand& command, const ScannerLink& link,
                 const platform::ScannerSettings& settings, const TransferFace& face);

// Waits for the upload `command` names from the handheld page and writes it to its file.
void receiveOverWeb(const TransferCommand& command, const ScannerLink& link,
                    const platform::ScannerSettings& settings, const TransferFace& face);
