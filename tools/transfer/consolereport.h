#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

// How a transfer goes, told on standard error when that is a terminal: the wait for the scanner,
// the link, a progress line at most every half second, and anything the user should know. When
// standard error is not a terminal it stays silent, so that the one line of a failure is all that
// a caller reading it finds there.
class ConsoleReport : public QObject {
    Q_OBJECT

public:
    // `what` says what moves ("Sending rmItems.dat"), `where` the port ("COM1 (/dev/ttyS0)").
    ConsoleReport(QString what, QString where);

    // What the transfer reports, each told as it happens.
    void onStarted();
    void onLinkedUp();
    void onProgressed(int recordsMoved, int recordsInAll);
    void onNoticed(const QString& text);
    void onFinished(bool succeeded);

private:
    void showProgress();
    void say(const QString& line) const;

    QString what_;
    QString where_;
    bool toTerminal_;
    // Progress is shown once the scanner has linked up.
    bool linked_ = false;
    QElapsedTimer sinceProgressShown_;
    int recordsMoved_ = 0;
    int recordsInAll_ = 0;
};
