#pragma once

#include <QString>

struct Program;

// The batch's scanner port commands, and those of the handhelds paired with the transfer utility.

// Names `device` as the device of `port` ("COM1" or "COM2") in the user's scanner settings, and
// says so on standard output; 1 after a message when it cannot, 2 for a port that is not one.
int setScannerPort(Program& program, const QString& port, const QString& device);

// Asks the transfer utility whether the scanner on `port` answers: its exit code, after its one
// line; 2 for a port that is not one.
int testScannerPort(Program& program, const QString& port);

// Lists the paired handhelds on standard output, one a line with when it paired and was last used,
// or says how one pairs when none is; 1 after a message when the file cannot be read.
int listPairedHandhelds(Program& program);

// Unpairs the handheld `name` and says so; 1 after a message naming the paired ones when none is
// called that, or naming the file when it cannot be written.
int forgetPairedHandheld(Program& program, const QString& name);
