#pragma once

#include <QString>

#include "fileprotocol.h"
#include "platform/scannersettings.h"
#include "stopsignals.h"

// How a transfer reaches the scanner on a port, as the user's settings and the environment say.
struct ScannerLink {
    // "COM1" or "COM2".
    QString portName;
    // The serial device, or the folder that stands for the scanner's memory.
    QString device;
    bool isFolder = false;
    // True when the port is a handheld's browser, served the handheld page.
    bool isWeb = false;
    // True when the folder is the simulator's (PDT_SIM_DIR).
    bool simulated = false;

    // The port and its device for messages: "COM1 (/dev/ttyS0)".
    QString described() const;
};

// The link of port `portNumber` (1 or 2): the simulator's folder when PDT_SIM_DIR is set; else the
// port's device from `settings`: the handheld page for "web", a folder exchange when that is an
// existing folder, else a line.
ScannerLink chooseLink(int portNumber, const platform::ScannerSettings& settings);

// Where a transfer is shown, in the utility's window or on the console, and the stop signals that
// give it up.
struct TransferFace {
    bool windowed;
    StopSignals& stops;
};

// How the stations behave on the line, from `settings`.
fileprotocol::LinkRules linkRules(const platform::ScannerSettings& settings);
