#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include "scannerlink.h"

// The serial line to the scanner: its port opened at the scanner's line settings, whatever arrives
// handed on the moment it arrives, and the line's failing reported once.
class SerialLink : public QObject {
    Q_OBJECT

public:
    // Opens the device of `link` at 9600 baud, 8 data bits, no parity, 1 stop bit, without flow
    // control, and drops any input left waiting. Raises scanner::Failure with one line that says
    // what to do when it cannot: no such device, a device another program holds, one the user may
    // not open.
    explicit SerialLink(const ScannerLink& link);

    // Sends `bytes` at once.
    void send(const QByteArray& bytes);
    // Waits, briefly, for what was sent to leave, so the last answer reaches the scanner before the
    // port closes.
    void drain();

signals:
    // Bytes from the scanner, as soon as they come.
    void arrived(const QByteArray& bytes);
    // The line failed: the other end closed it, or it could not be read or written.
    void broken(const QString& reason);

private:
    void open(const ScannerLink& link);
    void setLineSettings(const ScannerLink& link);
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);

    QString described_;
    QSerialPort port_;
    bool broken_ = false;
};
