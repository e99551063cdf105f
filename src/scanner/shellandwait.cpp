#include "scanner/shellandwait.h"

#include <QDir>
#include <memory>

#include "platform/process.h"
#include "platform/programerror.h"
#include "startup/program.h"

namespace {

// How long each poll of the utility blocks before the menu's events are delivered: short enough
// for the form to stay live, long enough that the wait does not spin the processor.
constexpr int kPollMsecs = 20;

// Polls the program until it has ended and gives its exit code, letting the menu repaint and take clicks
// between polls, under the screen-wide hourglass.
int waitUntilEnded(ProgressSink& progress, platform::WatchedProgram& started) {
    progress.setScreenBusyPointer(true);
    int exitCode = platform::StillActive;
    do {
        exitCode = started.pollExitCode(kPollMsecs);
        progress.yield();
    } while (exitCode == platform::StillActive);
    progress.setScreenBusyPointer(false);
    return exitCode;
}

QString helperProgram(const Program& program, const QString& programFile) {
    return QDir::toNativeSeparators(program.helperPath + QLatin1Char('/') + programFile);
}

}  // namespace

int fShowMode(bool minimised, bool maximised, bool focus) {
    const bool keepMaximised = maximised && !minimised && focus;
    const int mode = (minimised ? 2 : 0) + (keepMaximised ? 3 : 0) + (focus ? 0 : 4);
    return mode == 0 ? 1 : mode;
}

bool fShellAndWait(Program& program, const QString& programFile, const QString& arguments, bool& wait,
                   bool minimised, bool maximised, bool focus) {
    const int showMode = fShowMode(minimised, maximised, focus);
    if (wait) {
        return shellAndWaitForExit(program, programFile, arguments, showMode).has_value();
    }
    try {
        wait = platform::startDetachedProgram(helperProgram(program, programFile), arguments, showMode) != 0;
    } catch (const ProgramError& err) {
        program.prompts.notice(errorText(QStringLiteral("Error in Shell="), err));
        return false;
    }
    return true;
}

std::optional<int> shellAndWaitForExit(Program& program, const QString& programFile, const QString& arguments,
                                       int showMode) {
    std::unique_ptr<platform::WatchedProgram> started;
    try {
        started = std::make_unique<platform::WatchedProgram>(helperProgram(program, programFile), arguments,
                                                             showMode);
    } catch (const ProgramError& err) {
        program.prompts.notice(errorText(QStringLiteral("Error in Shell="), err));
        return std::nullopt;
    }
    return waitUntilEnded(*program.progress, *started);
}
