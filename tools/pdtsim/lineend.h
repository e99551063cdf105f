#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <chrono>

// The simulator's end of the serial line: the master of a pseudo-terminal pair, whose slave the
// PC's program opens as its serial port, or a real serial device. Owns the descriptor, and the
// link to the slave's name, which it removes again.
class LineEnd {
public:
    // What waiting on the line found.
    struct State {
        // Bytes wait to be read; after a hangup, the last the PC sent before it closed the line.
        bool readable = false;
        // Nobody has the pseudo-terminal's slave open; a device never hangs up.
        bool hungUp = false;
        // The other descriptor the wait watched is readable.
        bool woken = false;
    };

    // Opens `device` (raw, 9600 8N1, no flow control), or when it is empty a new pseudo-terminal
    // pair whose slave's name `link` points to, when given. Raises scanner::Failure.
    LineEnd(const QString& device, const QString& link);
    ~LineEnd();
    LineEnd(const LineEnd&) = delete;
    LineEnd& operator=(const LineEnd&) = delete;

    // The name the PC's program opens: the slave's /dev/pts name, or the device.
    const QString& name() const { return name_; }
    // Waits up to `timeout` for bytes, a hangup, or `wakeDescriptor` to become readable.
    State wait(std::chrono::milliseconds timeout, int wakeDescriptor) const;
    // The bytes waiting to be read.
    QByteArray read() const;
    void write(QByteArrayView bytes) const;

private:
    void openDevice(const QString& device);
    void openPseudoTerminal();
    void hangUpOnce() const;
    void makeLink(const QString& link);

    int fd_ = -1;
    bool pseudoTerminal_ = false;
    QString name_;
    QString link_;
};
