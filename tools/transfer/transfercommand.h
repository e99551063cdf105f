#pragma once

#include <QString>
#include <QStringList>

// What the transfer utility was asked to do by its command line.
struct TransferCommand {
    enum class Direction { Send, Receive, TestLink };
    Direction direction = Direction::Send;
    // The serial port the scanner hangs on: 1 for COM1, 2 for COM2.
    int port = 1;
    // The file to send, or the file to receive into; empty for a link test.
    QString path;
    // For a send, the widths its "/f" option lists, as written: "5,15,40,9,5".
    QString fieldWidths;
};

// Reads the utility's arguments (the program name left out). Three forms are understood:
//   COMn:9600,n,8,1 n D<file> /f<widths>     send <file> to the scanner
//   COMn:9600,n,8,1 n@ <file>                receive the scanner's upload into <file>
//   --test COMn                              ask the scanner on COMn whether it is there
// Anything else raises scanner::Failure saying what is wrong.
TransferCommand parseTransferCommand(const QStringList& arguments);
