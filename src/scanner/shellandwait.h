#pragma once

#include <QString>
#include <optional>

struct Program;

// The show-window code for the three window flags: maximised is dropped when minimised is set or
// focus is not; then 2 for minimised + 3 for maximised + 4 for no focus, or 1 when that is 0.
int fShowMode(bool minimised, bool maximised, bool focus);

// Starts `programFile` from the helpers' folder with `arguments` and, when `wait` is true, waits
// for it to end while the menu keeps repainting. When `wait` is false on entry it does not wait
// and sets `wait` to whether a process was started. False (after a message box) when the program
// cannot be started.
bool fShellAndWait(Program& program, const QString& programFile, const QString& arguments, bool& wait,
                   bool minimised, bool maximised, bool focus);

// As fShellAndWait with wait true, and the program's exit code once it has ended; nothing when it
// could not be started.
std::optional<int> shellAndWaitForExit(Program& program, const QString& programFile, const QString& arguments,
                                       int showMode);
