#pragma once

#include <QString>
#include <optional>

struct ModMain;

// The transfer utility's arguments: the item file from the program's folder when `send`, else a
// receive into `downloadPath` exactly as it stands. `port` is the digit "1" or "2".
QString transferArguments(bool send, const QString& port, const QString& appPath,
                          const QString& downloadPath);

// The one way to the scanner: prompts the user to ready the scanner (`sMode` names the mode),
// records the port and the download path in the settings, removes an old download file when the
// overwrite box is ticked, and runs the transfer utility until it ends. The direction is
// modMain.bDownloadItemFile. True once the utility has run, whatever its exit code.
bool fTransferPDTFile(ModMain& modMain, const QString& sMode);

// The same transfer, giving the utility's exit code once it has run (0 when the file moved whole),
// or nothing when it could not be run.
std::optional<int> transferPDTFile(ModMain& modMain, const QString& sMode);
