#include "platform/scannersettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "platform/userfolders.h"

namespace {

// Values past these are taken for mistakes: a day's wait for the scanner, ten minutes for an answer.
constexpr int kMaxLinkUpSeconds = 24 * 60 * 60;
constexpr int kMaxRetryIntervalMs = 10 * 60 * 1000;
// The instructions page listens on the port after the handheld page's.
constexpr int kMaxWebPort = 65534;

const QString& portKey(int portNumber) {
    return portNumber == 1 ? platform::kCom1DeviceKey : platform::kCom2DeviceKey;
}

// The whole number under `key` when it lies in 1..`most`, else `fallback`.
int readCount(const QSettings& file, const QString& key, int most, int fallback) {
    bool isNumber = false;
    const int value = file.value(key).toString().trimmed().toInt(&isNumber);
    return isNumber && value >= 1 && value <= most ? value : fallback;
}

// The yes or no under `key`, written as true/false, yes/no or 1/0, else `fallback`.
bool readSwitch(const QSettings& file, const QString& key, bool fallback) {
    const QString value = file.value(key).toString().trimmed().toLower();
    if (value == QLatin1String("true") || value == QLatin1String("yes") || value == QLatin1String("1")) {
        return true;
    }
    if (value == QLatin1String("false") || value == QLatin1String("no") || value == QLatin1String("0")) {
        return false;
    }
    return fallback;
}

}  // namespace

namespace platform {

QString scannerSettingsPath() {
    const QString chosen = qEnvironmentVariable("RMSTOCKHAND_SCANNER_SETTINGS");
    if (!chosen.isEmpty()) {
        return chosen;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/rmstockhand/scanner.ini");
}

ScannerSettings readScannerSettings(const QString& path) {
    const QSettings file(path, QSettings::IniFormat);
    const ScannerSettings defaults;
    ScannerSettings settings;
    for (int port = 1; port <= 2; ++port) {
        settings.portDevices[port - 1] = file.value(portKey(port)).toString().trimmed();
    }
    settings.linkUpSeconds = readCount(file, kLinkUpSecondsKey, kMaxLinkUpSeconds, defaults.linkUpSeconds);
    settings.serialNumbers = readSwitch(file, kSerialNumbersKey, defaults.serialNumbers);
    settings.blockCheck = readSwitch(file, kBlockCheckKey, defaults.blockCheck);
    settings.retryIntervalMs =
        readCount(file, kRetryIntervalKey, kMaxRetryIntervalMs, defaults.retryIntervalMs);
    settings.webPort = readCount(file, kWebPortKey, kMaxWebPort, defaults.webPort);
    return settings;
}

QString writePortDevice(const QString& path, int portNumber, const QString& device) {
    if (portNumber != 1 && portNumber != 2) {
        return QStringLiteral("there is no port COM%1: the scanner hangs on COM1 or COM2").arg(portNumber);
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!makeUserFolder(folder)) {
        return QStringLiteral("cannot make the folder %1 for the scanner settings")
            .arg(QDir::toNativeSeparators(folder));
    }
    QSettings file(path, QSettings::IniFormat);
    if (file.status() == QSettings::FormatError) {
        return QStringLiteral("%1 is not a settings file: mend it or delete it")
            .arg(QDir::toNativeSeparators(path));
    }
    if (device.isEmpty()) {
        file.remove(portKey(portNumber));
    } else {
        file.setValue(portKey(portNumber), device);
    }
    file.sync();
    if (file.status() != QSettings::NoError) {
        return QStringLiteral("cannot write the scanner settings to %1").arg(QDir::toNativeSeparators(path));
    }
    return {};
}

bool isWebDevice(const QString& device) {
    return device.compare(kWebDevice, Qt::CaseInsensitive) == 0;
}

QString portDevice(const ScannerSettings& settings, int portNumber) {
    const QString& named = settings.portDevices.at(portNumber == 1 ? 0 : 1);
    if (!named.isEmpty()) {
        return named;
    }
    return portNumber == 1 ? QStringLiteral("/dev/ttyS0") : QStringLiteral("/dev/ttyS1");
}

}  // namespace platform
