#include "scannerlink.h"

#include <QDir>
#include <QFileInfo>

#include "scannermemory.h"

QString ScannerLink::described() const {
    if (isWeb) {
        return QStringLiteral("%1 (a handheld's browser)").arg(portName);
    }
    return QStringLiteral("%1 (%2)").arg(portName, QDir::toNativeSeparators(device));
}

ScannerLink chooseLink(int portNumber, const platform::ScannerSettings& settings) {
    const QString portName = QStringLiteral("COM%1").arg(portNumber);
    if (!qEnvironmentVariable("PDT_SIM_DIR").isEmpty()) {
        return {portName, scanner::memoryFolder(), true, false, true};
    }
    const QString device = platform::portDevice(settings, portNumber);
    if (platform::isWebDevice(device)) {
        return {portName, device, false, true, false};
    }
    return {portName, device, QFileInfo(device).isDir(), false, false};
}

fileprotocol::LinkRules linkRules(const platform::ScannerSettings& settings) {
    fileprotocol::LinkRules rules;
    rules.serialNumbers = settings.serialNumbers;
    rules.blockCheck = settings.blockCheck;
    rules.retryInterval = fileprotocol::Millis(settings.retryIntervalMs);
    rules.linkUpTime = std::chrono::seconds(settings.linkUpSeconds);
    return rules;
}
