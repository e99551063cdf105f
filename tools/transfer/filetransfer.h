#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include "seriallink.h"
#include "station.h"

// Drives one station over the line to the scanner: hands it what arrives the moment it arrives,
// wakes it when its deadline comes, sends whatever it has to say, and tells how the transfer goes.
class FileTransfer : public QObject {
    Q_OBJECT

public:
    FileTransfer(SerialLink& link, Station& station);

    // Starts the station; the transfer then runs on the event loop until finished().
    void start();
    // Gives the transfer up: the station tells the other end, and the transfer fails.
    void cancel();

    // How the transfer ended, once finished() has come.
    bool succeeded() const { return succeeded_; }
    const QString& failure() const { return failure_; }

signals:
    // The scanner linked up, records moved, the user should know something, the transfer ended.
    void linkedUp();
    void progressed(int recordsMoved, int recordsInAll);
    void noticed(const QString& text);
    void finished(bool succeeded, const QString& failure);

private:
    fileprotocol::Millis now() const;
    void onArrived(const QByteArray& bytes);
    void onDeadline();
    void onBroken(const QString& reason);
    // After each call into the station: sends its output, tells what changed, and either waits for
    // its next deadline or ends the transfer.
    void afterStep();
    void finish(bool succeeded, const QString& failure);

    SerialLink& link_;
    Station& station_;
    QElapsedTimer clock_;
    QTimer deadline_;
    bool linked_ = false;
    int recordsMoved_ = -1;
    int recordsInAll_ = -1;
    bool over_ = false;
    bool succeeded_ = false;
    QString failure_;
};
