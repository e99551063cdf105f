#include "batch/batchscanner.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <optional>

#include "batch/standardoutput.h"
#include "platform/pairedhandhelds.h"
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

// A time of the paired handhelds' file, in the shop's own time.
QString shownTime(const QDateTime& time) {
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                          : QStringLiteral("at a time not known");
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
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

int listPairedHandhelds(Program& program) {
    QList<platform::PairedHandheld> handhelds;
    try {
        handhelds = platform::readPairedHandhelds(platform::pairedHandheldsPath());
    } catch (const ProgramError& error) {
        program.prompts.notice(error.description());
        return 1;
    }
    if (handhelds.isEmpty()) {
        writeOutputLine(QStringLiteral(
            "No handheld is paired. A handheld pairs by typing the code the transfer utility shows while "
            "it serves the handheld page."));
        return 0;
    }
    qsizetype width = 0;
    for (const platform::PairedHandheld& handheld : handhelds) {
        width = std::max(width, handheld.name.size());
    }
    for (const platform::PairedHandheld& handheld : handhelds) {
        const QString used = handheld.lastUsed.isValid()
                                 ? QStringLiteral("last used ") + shownTime(handheld.lastUsed)
                                 : QStringLiteral("never used");
        writeOutputLine(QStringLiteral("%1  paired %2  %3")
                            .arg(handheld.name.leftJustified(width), shownTime(handheld.pairedAt), used));
    }
    return 0;
}

int forgetPairedHandheld(Program& program, const QString& name) {
    const QString path = platform::pairedHandheldsPath();
    try {
        if (platform::forgetHandheld(path, name)) {
            writeOutputLine(
                QStringLiteral("%1 is no longer paired: it can neither take the item file nor send uploads")
                    .arg(name));
            return 0;
        }
        QStringList paired;
        for (const platform::PairedHandheld& handheld : platform::readPairedHandhelds(path)) {
            paired << quoted(handheld.name);
        }
        program.prompts.notice(QStringLiteral("No handheld called %1 is paired; %2")
                                   .arg(quoted(name), paired.isEmpty()
                                                          ? QStringLiteral("no handheld is paired at all")
                                                          : QStringLiteral("the paired ones are ") +
                                                                paired.join(QLatin1String(", "))));
    } catch (const ProgramError& error) {
        program.prompts.notice(error.description());
    }
    return 1;
}
