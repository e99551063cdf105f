#pragma once

#include <QString>
#include <QStringList>

// What the transfer utility was asked to do by its command line.
struct TransferCommand {
    enum class Direction { Send, Receive };
    Direction direction = Direction::Send;
    // The file to send, or the file to receive into.
    QString path;
    // For a send, the widths its "/f" option lists, as written: "5,15,40,9,5".
    QString fieldWidths;
};

// Reads the utility's arguments (the program name left out). Two forms are understood:
//   COMn:9600,n,8,1 n D<file> /f<widths>     send <file> to the scanner
//   COMn:9600,n,8,1 n@ <file>                receive the scanner's upload into <file>
// Anything else raises scanner::Failure saying what is wrong.
TransferCommand parseTransferCommand(const QStringList& arguments);
