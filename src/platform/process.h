#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Programs that the program starts: the transfer utility, run from its own folder and watched
// until it ends.
namespace platform {

// The exit code a watched program reports while it is still running, as Windows reports it.
inline constexpr int StillActive = 259;

// The arguments a program receives from an unquoted command line: runs of blanks separate them.
QStringList splitCommandLine(const QString& commandLine);

// A program started from its own folder and watched until it ends; a program still running when
// its watcher goes is ended with it.
class WatchedProgram {
public:
    // Starts `program` (a full path) with the unquoted `commandLine`; raises ProgramError when the
    // file is missing ("File not found") or cannot be run ("Permission denied").
    WatchedProgram(const QString& program, const QString& commandLine, int showMode);
    ~WatchedProgram();
    WatchedProgram(const WatchedProgram&) = delete;
    WatchedProgram& operator=(const WatchedProgram&) = delete;

    // Waits up to `msecs` for the program to end; its exit code once ended, else StillActive.
    int pollExitCode(int msecs);
    // Ends the program if it still runs and waits until it has gone.
    void end();

private:
    QProcess process_;
};

// Starts `program` like WatchedProgram but leaves it running on its own; returns its process id.
qint64 startDetachedProgram(const QString& program, const QString& commandLine, int showMode);

}  // namespace platform
