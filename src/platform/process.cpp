#include "platform/process.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "platform/programerror.h"

namespace platform {

namespace {

// Milliseconds a program is given to go quietly before it is killed.
constexpr int kQuietEndMsecs = 3000;

// Readies `process` to run `program` from its own folder, or raises the error the program's
// shell reports for a file that is missing or cannot be run. The utility's messages go to the
// program's own output rather than into a pipe nobody reads.
void prepare(QProcess& process, const QString& program, const QString& commandLine) {
    const QFileInfo file(program);
    if (!file.exists()) {
        throw ProgramError(errnum::FileNotFound, QStringLiteral("File not found"));
    }
    if (!file.isFile() || !file.isExecutable()) {
        throw ProgramError(errnum::PermissionDenied, QStringLiteral("Permission denied"));
    }
    process.setProgram(file.absoluteFilePath());
    process.setArguments(splitCommandLine(commandLine));
    process.setWorkingDirectory(file.absolutePath());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
}

// A file that passed the checks but still would not start (not a program at all, say).
[[noreturn]] void cannotRun() {
    throw ProgramError(errnum::PermissionDenied, QStringLiteral("Permission denied"));
}

}  // namespace

QStringList splitCommandLine(const QString& commandLine) {
    static const QRegularExpression blanks(QStringLiteral("[ \t]+"));
    return commandLine.split(blanks, Qt::SkipEmptyParts);
}

// The exit code reported for a program that crashed.
constexpr int kCrashed = 255;

// Linux has no window show modes: the code that callers give is not used here.
WatchedProgram::WatchedProgram(const QString& program, const QString& commandLine, int /*showMode*/) {
    prepare(process_, program, commandLine);
    process_.start();
    if (!process_.waitForStarted(-1)) {
        cannotRun();
    }
}

WatchedProgram::~WatchedProgram() {
    end();
}

// A Linux exit code lies between 0 and 255, so it can never be mistaken for StillActive.
int WatchedProgram::pollExitCode(int msecs) {
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(msecs)) {
        return StillActive;
    }
    // A program that crashed did not end well, whatever exit code was left behind.
    return process_.exitStatus() == QProcess::CrashExit ? kCrashed : process_.exitCode();
}

void WatchedProgram::end() {
    if (process_.state() == QProcess::NotRunning) {
        return;
    }
    process_.terminate();
    if (!process_.waitForFinished(kQuietEndMsecs)) {
        process_.kill();
        process_.waitForFinished(-1);
    }
}

qint64 startDetachedProgram(const QString& program, const QString& commandLine, int showMode) {
    Q_UNUSED(showMode);
    QProcess process;
    prepare(process, program, commandLine);
    qint64 processId = 0;
    if (!process.startDetached(&processId)) {
        cannotRun();
    }
    return processId;
}

}  // namespace platform
