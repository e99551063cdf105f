#include <QCoreApplication>
#include <QThread>
#include <iostream>

#include "scannermemory.h"
#include "transfer.h"
#include "transfercommand.h"

namespace {

// PDT_SIM_DELAY_MS makes a transfer take that long, as a real one over the cable does.
void waitLikeTheCable() {
    const QString delay = qEnvironmentVariable("PDT_SIM_DELAY_MS");
    if (delay.isEmpty()) {
        return;
    }
    bool isNumber = false;
    const int msecs = delay.toInt(&isNumber);
    if (!isNumber || msecs < 0) {
        throw scanner::Failure(
            QStringLiteral("PDT_SIM_DELAY_MS '%1' is not a number of milliseconds").arg(delay));
    }
    QThread::msleep(static_cast<unsigned long>(msecs));
}

}  // namespace

// The scanner's transfer utility: moves the item file to the scanner or an upload from it.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        const TransferCommand command = parseTransferCommand(QCoreApplication::arguments().mid(1));
        waitLikeTheCable();
        if (command.direction == TransferCommand::Direction::Send) {
            sendItemFile(command.path, command.fieldWidths);
        } else {
            receiveUpload(command.path);
        }
        return 0;
    } catch (const scanner::Failure& failure) {
        std::cerr << "Tsr-tu3a.exe: " << failure.what() << std::endl;
        return 1;
    }
}
