#pragma once

#include <QString>

struct Program;

// The batch's scanner port commands.

// Names `device` as the device of `port` ("COM1" or "COM2") in the user's scanner settings, and
// says so on standard output; 1 after a message when it cannot, 2 for a port that is not one.
int setScannerPort(Program& program, const QString& port, const QString& device);

// Asks the transfer utility whether the scanner on `port` answers: its exit code, after its one
// line; 2 for a port that is not one.
int testScannerPort(Program& program, const QString& port);
