#pragma once

#include <QString>

#include "fileprotocol.h"
#include "linefaults.h"

// How `pdt-sim serve` plays the scanner: on which line, by which rules, and with which fault.
struct ServeOptions {
    // A serial device to open; empty for a new pseudo-terminal pair.
    QString device;
    // Where to link the pseudo-terminal's slave name; empty for no link.
    QString link;
    fileprotocol::LinkRules rules;
    // How long the line stays quiet before the scanner offers an upload.
    fileprotocol::Millis offerAfter{300};
    // The wire's speed to model; 0 for none.
    int paceBaud = 0;
    FaultPlan fault;
};

// Plays the scanner on the line until SIGTERM or SIGINT, or until a hangup fault pulls the cable.
// Raises scanner::Failure when the line fails.
void serve(const ServeOptions& options);
