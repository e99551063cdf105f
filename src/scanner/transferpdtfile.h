#pragma once

#include <QString>
#include <optional>

struct Program;

// The scanner's port as the main menu sets it: the port digit ("1" or "2"), and whether an old
// download file is removed before a transfer.
struct ScannerPort {
    QString digit;
    bool overwrite = false;
};

// One transfer: its direction (send the item file, or receive), the download path a receive
// writes to and every transfer records in the settings, and the port.
struct TransferRequest {
    bool send = false;
    QString downloadPath;
    ScannerPort port;
};

// The transfer utility's arguments: the item file from the program's folder when `send`, else a
// receive into `downloadPath` exactly as it stands. `port` is the digit "1" or "2".
QString transferArguments(bool send, const QString& port, const QString& appPath,
                          const QString& downloadPath);

// The one way to the scanner: prompts the user to ready the scanner (`sMode` names the mode),
// records the port and the download path in the settings, removes an old download file when the
// request asks, and runs the transfer utility until it ends. True once the utility has run,
// whatever its exit code.
bool fTransferPDTFile(Program& program, const QString& sMode, const TransferRequest& request);

// The same transfer, giving the utility's exit code once it has run (0 when the file moved whole),
// or nothing when it could not be run.
std::optional<int> transferPDTFile(Program& program, const QString& sMode, const TransferRequest& request);
