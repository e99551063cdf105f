#include "transfercommand.h"

#include <QRegularExpression>

#include "scannermemory.h"

namespace {

const QString kUsage = QStringLiteral(
    "expected 'COMn:9600,n,8,1 n D<file> /f<widths>', 'COMn:9600,n,8,1 n@ <file>' or '--test COMn'");

// The scanner's cable runs at 9600 baud, no parity, 8 data bits, 1 stop bit, on the first or second
// serial port. Gives the port's number.
int readPort(const QString& argument) {
    static const QRegularExpression portSettings(QStringLiteral("^COM([12]):9600,n,8,1$"));
    const QRegularExpressionMatch port = portSettings.match(argument);
    if (!port.hasMatch()) {
        throw scanner::Failure(QStringLiteral("'%1' is not a port with the scanner's line settings "
                                              "(COM1:9600,n,8,1 or COM2:9600,n,8,1)")
                                   .arg(argument));
    }
    return port.captured(1).toInt();
}

TransferCommand parseSend(const QStringList& arguments) {
    const int port = readPort(arguments.at(0));
    static const QRegularExpression widthList(QStringLiteral("^/f(\\d+(,\\d+)*)$"));
    const QString& file = arguments.at(2);
    if (!file.startsWith(QLatin1Char('D')) || file.size() == 1) {
        throw scanner::Failure(QStringLiteral("'%1' is not D followed by the file to send").arg(file));
    }
    const QRegularExpressionMatch widths = widthList.match(arguments.at(3));
    if (!widths.hasMatch()) {
        throw scanner::Failure(QStringLiteral("'%1' is not a field width list such as /f%2")
                                   .arg(arguments.at(3), scanner::itemFieldWidthsText()));
    }
    return {TransferCommand::Direction::Send, port, file.mid(1), widths.captured(1)};
}

TransferCommand parseReceive(const QStringList& arguments) {
    const int port = readPort(arguments.at(0));
    if (arguments.at(2).isEmpty()) {
        throw scanner::Failure(QStringLiteral("no file to receive the upload into"));
    }
    return {TransferCommand::Direction::Receive, port, arguments.at(2), QString()};
}

TransferCommand parseTest(const QStringList& arguments) {
    static const QRegularExpression portName(QStringLiteral("^COM([12])$"));
    const QRegularExpressionMatch port = portName.match(arguments.at(1));
    if (!port.hasMatch()) {
        throw scanner::Failure(
            QStringLiteral("'%1' is not a port the scanner can hang on (COM1 or COM2)").arg(arguments.at(1)));
    }
    return {TransferCommand::Direction::TestLink, port.captured(1).toInt(), QString(), QString()};
}

}  // namespace

TransferCommand parseTransferCommand(const QStringList& arguments) {
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("n")) {
        return parseSend(arguments);
    }
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("n@")) {
        return parseReceive(arguments);
    }
    if (arguments.size() == 2 && arguments.at(0) == QLatin1String("--test")) {
        return parseTest(arguments);
    }
    // A file path with a blank in it arrives in pieces, since the command line is not quoted.
    throw scanner::Failure(QStringLiteral("%1, got %2 argument(s): %3")
                               .arg(kUsage)
                               .arg(arguments.size())
                               .arg(arguments.join(QLatin1Char('|'))));
}
