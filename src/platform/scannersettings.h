#pragma once

#include <QString>
#include <array>

// The user's settings for the link to the scanner: which device each serial port is, and how the
// transfer utility behaves on the line. They live in an INI file of their own.
namespace platform {

// The keys of the settings file.
inline const QString kCom1DeviceKey = QStringLiteral("ports/COM1");
inline const QString kCom2DeviceKey = QStringLiteral("ports/COM2");
inline const QString kLinkUpSecondsKey = QStringLiteral("link/link-up-seconds");
inline const QString kSerialNumbersKey = QStringLiteral("link/serial-numbers");
inline const QString kBlockCheckKey = QStringLiteral("link/block-check");
inline const QString kRetryIntervalKey = QStringLiteral("link/retry-interval-ms");
inline const QString kWebPortKey = QStringLiteral("web/port");

// The device that makes a port a handheld's browser: the transfer utility serves the handheld page
// on the shop's network instead of using a serial line.
inline const QString kWebDevice = QStringLiteral("web");

// What the settings file says, each value at its default when the file leaves it out or holds
// something that is not a value of its kind.
struct ScannerSettings {
    // The devices named for COM1 and COM2: a serial device such as /dev/serial/by-id/..., or a
    // folder, since some scanners show up as a USB drive and keep their files there, or "web" for a
    // handheld's browser. Empty when the file names none.
    std::array<QString, 2> portDevices;
    // How long a receive waits for the scanner to call.
    int linkUpSeconds = 60;
    // Whether each data block carries its serial number, and its check character.
    bool serialNumbers = true;
    bool blockCheck = true;
    // How long the utility waits for an answer before it asks again.
    int retryIntervalMs = 3000;
    // The HTTPS port of the handheld page; the port after it serves the instructions.
    int webPort = 8443;
};

// The settings file: RMSTOCKHAND_SCANNER_SETTINGS when set, else rmstockhand/scanner.ini in the
// user's configuration folder (XDG_CONFIG_HOME, or ~/.config).
QString scannerSettingsPath();

// The settings in the file at `path`; a missing file gives the defaults.
ScannerSettings readScannerSettings(const QString& path);

// Names `device` as the device of port `portNumber` (1 or 2) in the file at `path`, making its
// folder when needed; an empty `device` takes the name out, so the default applies again. Gives
// why it could not, or nothing when it did.
QString writePortDevice(const QString& path, int portNumber, const QString& device);

// True when `device` makes its port a handheld's browser.
bool isWebDevice(const QString& device);

// The device of port `portNumber` (1 or 2): the one the settings name, else /dev/ttyS0 for COM1
// and /dev/ttyS1 for COM2.
QString portDevice(const ScannerSettings& settings, int portNumber);

}  // namespace platform
