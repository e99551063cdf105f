#pragma once

#include "fileprotocol.h"
#include "scannerlink.h"

// Checks that the scanner answers on `link`: up to three ENQs, `retryInterval` apart, and an EOT
// after its ACK so that it waits for no file. Says so on standard output; raises scanner::Failure
// when the port cannot be opened or the scanner does not answer. A folder link has nothing to ask:
// it only has to exist.
void testLink(const ScannerLink& link, fileprotocol::Millis retryInterval);
