#include "scanner/shellandwait.h"

#include <QDir>
#include <memory>

#include "outside/programerror.h"
#include "platform/process.h"
#include "startup/modmain.h"

namespace {

// How long each poll of the utility blocks before the menu's events are delivered: short enough
// for the form to stay live, long enough that the wait does not spin the processor.
constexpr int kPollMsecs = 20;

// Polls the program until it has ended, letting the menu repaint and take clicks between polls,
// under the screen-wide hourglass.
void waitUntilEnded(ModMain& modMain, platform::WatchedProgram& program) {
    modMain.menu->setScreenBusyPointer(true);
    int exitCode = platform::StillActive;
    do {
        exitCode = program.pollExitCode(kPollMsecs);
        modMain.menu->yield();
    } while (exitCode == platform::StillActive);
    modMain.menu->setScreenBusyPointer(false);
}

}  // namespace

int fShowMode(bool minimised, bool maximised, bool focus) {
    const bool keepMaximised = maximised && !minimised && focus;
    const int mode = (minimised ? 2 : 0) + (keepMaximised ? 3 : 0) + (focus ? 0 : 4);
    return mode == 0 ? 1 : mode;
}

bool fShellAndWait(ModMain& modMain, const QString& programFile, const QString& arguments, bool& wait,
                   bool minimised, bool maximised, bool focus) {
    const int showMode = fShowMode(minimised, maximised, focus);
    const QString program = QDir::toNativeSeparators(modMain.helperPath + QLatin1Char('/') + programFile);
    std::unique_ptr<platform::WatchedProgram> started;
    try {
        if (!wait) {
            wait = platform::startDetachedProgram(program, arguments, showMode) != 0;
            return true;
        }
        started = std::make_unique<platform::WatchedProgram>(program, arguments, showMode);
    } catch (const ProgramError& err) {
        modMain.prompts.notice(errorText(QStringLiteral("Error in Shell="), err));
        return false;
    }
    waitUntilEnded(modMain, *started);
    return true;
}
