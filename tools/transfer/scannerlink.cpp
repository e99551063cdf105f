#include "scannerlink.h"

#include <QDir>
#include <QFileInfo>

#include "scannermemory.h"

QString ScannerLink::described() const {
    return QStringLiteral("%1 (%2)").arg(portName, QDir::toNativeSeparators(device));
}

ScannerLink chooseLink(int portNumber, const platform::ScannerSettings& settings) {
    const QString portName = QStringLiteral("COM%1").arg(portNumber);
    if (!qEnvironmentVariable("PDT_SIM_DIR").isEmpty()) {
        return {portName, scanner::memoryFolder(), true, true};
    }
    const QString device = platform::portDevice(settings, portNumber);
    return {portName, device, QFileInfo(device).isDir(), false};
}

fileprotocol::LinkRules linkRules(const platform::ScannerSettings& settings) {
    fileprotocol::LinkRules rules;
    rules.serialNumbers = settings.serialNumbers;
    rules.blockCheck = settings.blockCheck;
    rules.retryInterval = fileprotocol::Millis(settings.retryIntervalMs);
    rules.linkUpTime = std::chrono::seconds(settings.linkUpSeconds);
    return rules;
}
