#include "transferrun.h"

#include "folderexchange.h"
#include "linetransfer.h"
#include "linktest.h"
#include "platform/scannersettings.h"
#include "scannerlink.h"
#include "webtransfer.h"

void runTransfer(const TransferCommand& command, bool windowed, StopSignals& stops) {
    const platform::ScannerSettings settings = platform::readScannerSettings(platform::scannerSettingsPath());
    const ScannerLink link = chooseLink(command.port, settings);
    const ScannerFolder folder{link.device, link.simulated};
    switch (command.direction) {
        case TransferCommand::Direction::Send:
            if (link.isWeb) {
                sendOverWeb(command, link, settings, {windowed, stops});
            } else if (link.isFolder) {
                sendItemFileToFolder(command.path, command.fieldWidths, folder);
            } else {
                sendOverLine(command, link, linkRules(settings), {windowed, stops});
            }
            return;
        case TransferCommand::Direction::Receive:
            if (link.isWeb) {
                receiveOverWeb(command, link, settings, {windowed, stops});
            } else if (link.isFolder) {
                receiveUploadFromFolder(command.path, folder);
            } else {
                receiveOverLine(command, link, linkRules(settings), {windowed, stops});
            }
            return;
        case TransferCommand::Direction::TestLink:
            testLink(link, linkRules(settings).retryInterval);
            return;
    }
}
