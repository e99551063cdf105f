#include "seriallink.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "scannermemory.h"

namespace {

constexpr int kDrainWaitMs = 2000;

QString howToSetTheDevice(const ScannerLink& link) {
    return QStringLiteral("set the port's device with rmstockhand-batch scanner-port %1 DEVICE")
        .arg(link.portName);
}

scanner::Failure missingDevice(const ScannerLink& link) {
    return scanner::Failure(QStringLiteral("no device %1 for %2: plug the scanner's cable in, or %3")
                                .arg(link.device, link.portName, howToSetTheDevice(link)));
}

// Why QSerialPort refused to open the device: the user may not, or the device is taken. The port
// reports both as one error, so the device's permissions tell them apart.
QString refusal(const ScannerLink& link) {
    const QByteArray device = QFile::encodeName(link.device);
    if (access(device.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        return QStringLiteral(
                   "you may not open %1: add yourself to the dialout group "
                   "(sudo adduser $USER dialout) and log in again")
            .arg(link.described());
    }
    return QStringLiteral("%1 is in use by another program: close it and try again").arg(link.described());
}

}  // namespace

SerialLink::SerialLink(const ScannerLink& link) : described_(link.described()) {
    open(link);
    setLineSettings(link);
    port_.clear();
    connect(&port_, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLink::onError);
}

void SerialLink::send(const QByteArray& bytes) {
    if (bytes.isEmpty() || broken_) {
        return;
    }
    // Written at once rather than on the next turn of the event loop: each block waits for its
    // answer, so every turn saved is time saved per record.
    port_.write(bytes);
    port_.flush();
}

void SerialLink::drain() {
    while (!broken_ && port_.bytesToWrite() > 0 && port_.waitForBytesWritten(kDrainWaitMs)) {
    }
}

void SerialLink::open(const ScannerLink& link) {
    const QFileInfo device(link.device);
    if (!device.exists()) {
        throw missingDevice(link);
    }
    // The device's real name, so that its lock is the same whichever link to it was named.
    port_.setPortName(device.canonicalFilePath());
    if (port_.open(QIODevice::ReadWrite)) {
        return;
    }
    switch (port_.error()) {
        case QSerialPort::DeviceNotFoundError:
            throw missingDevice(link);
        case QSerialPort::PermissionError:
            throw scanner::Failure(refusal(link));
        default:
            throw scanner::Failure(QStringLiteral("cannot open %1: %2: %3")
                                       .arg(link.described(), port_.errorString(), howToSetTheDevice(link)));
    }
}

void SerialLink::setLineSettings(const ScannerLink& link) {
    if (!port_.setBaudRate(QSerialPort::Baud9600) || !port_.setDataBits(QSerialPort::Data8) ||
        !port_.setParity(QSerialPort::NoParity) || !port_.setStopBits(QSerialPort::OneStop) ||
        !port_.setFlowControl(QSerialPort::NoFlowControl)) {
        throw scanner::Failure(
            QStringLiteral("cannot set %1 to 9600 baud, 8 data bits, no parity, 1 stop bit: "
                           "%2: is it a serial port? %3")
                .arg(link.described(), port_.errorString(), howToSetTheDevice(link)));
    }
}

void SerialLink::onReadyRead() {
    const QByteArray bytes = port_.readAll();
    if (!bytes.isEmpty()) {
        emit arrived(bytes);
    }
}

void SerialLink::onError(QSerialPort::SerialPortError error) {
    // A wait that ran out (drain) is no fault of the line.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || broken_) {
        return;
    }
    broken_ = true;
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
        emit broken(QStringLiteral("the line to the scanner on %1 was closed in the middle of the transfer: "
                                   "check the cable")
                        .arg(described_));
    } else {
        emit broken(QStringLiteral("the line to the scanner on %1 failed: %2: check the cable")
                        .arg(described_, port_.errorString()));
    }
}
