#include "batch/batchscanner.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "batch/standardoutput.h"
#include "platform/process.h"
#include "platform/scannersettings.h"
#include "startup/program.h"

namespace {

// The port's number, 1 or 2, from "COM1" or "COM2" in any case.
std::optional<int> portNumber(const QString& port) {
    if (port.compare(QLatin1String("COM1"), Qt::CaseInsensitive) == 0) {
        return 1;
    }
    if (port.compare(QLatin1String("COM2"), Qt::CaseInsensitive) == 0) {
        return 2;
    }
    return std::nullopt;
}

int notAPort(Program& program, const QString& port) {
    program.prompts.notice(QStringLiteral("'%1' is not a scanner port: give COM1 or COM2").arg(port));
    return 2;
}

// How long the link test may take before it is given up: the utility's own time-outs end it long
// before.
constexpr int kTestMsecs = 120000;

// Makes port `number` a handheld's browser: the transfer utility serves the handheld page for it.
int setWebPort(Program& program, int number, const QString& path) {
    const QString refused = platform::writePortDevice(path, number, platform::kWebDevice);
    if (!refused.isEmpty()) {
        program.prompts.notice(refused);
        return 1;
    }
    writeOutputLine(QStringLiteral("COM%1 is now a handheld's browser: transfers on it serve the handheld "
                                   "page on this network (saved in %2)")
                        .arg(number)
                        .arg(QDir::toNativeSeparators(path)));
    return 0;
}

}  // namespace

int setScannerPort(Program& program, const QString& port, const QString& device) {
    const std::optional<int> number = portNumber(port);
    if (!number) {
        return notAPort(program, port);
    }
    const QString path = platform::scannerSettingsPath();
    if (platform::isWebDevice(device)) {
        return setWebPort(program, *number, path);
    }
    const QString absolute = QFileInfo(device).absoluteFilePath();
    const QString refused = platform::writePortDevice(path, *number, absolute);
    if (!refused.isEmpty()) {
        program.prompts.notice(refused);
        return 1;
    }
    writeOutputLine(QStringLiteral("COM%1 is now %2 (saved in %3)")
                        .arg(*number)
                        .arg(QDir::toNativeSeparators(absolute), QDir::toNativeSeparators(path)));
    if (!QFileInfo::exists(absolute)) {
        writeOutputLine(QStringLiteral("%1 is not there now: plug the scanner's cable in before a transfer")
                            .arg(QDir::toNativeSeparators(absolute)));
    }
    return 0;
}

int testScannerPort(Program& program, const QString& port) {
    const std::optional<int> number = portNumber(port);
    if (!number) {
        return notAPort(program, port);
    }
    const QString utility = QDir::toNativeSeparators(program.helperPath + QStringLiteral("/Tsr-tu3a.exe"));
    try {
        platform::WatchedProgram test(utility, QStringLiteral("--test COM%1").arg(*number), 1);
        const int exitCode = test.pollExitCode(kTestMsecs);
        return exitCode == 0 ? 0 : 1;
    } catch (const ProgramError& error) {
        program.prompts.notice(
            QStringLiteral("The transfer utility %1 cannot be run: %2").arg(utility, error.description()));
        return 1;
    }
}
