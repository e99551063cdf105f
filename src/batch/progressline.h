#pragma once

#include <QElapsedTimer>

// The progress line that the batch command line keeps on a terminal: records done and the rate.
// Off a terminal it prints nothing.
class ProgressLine {
public:
    ProgressLine();
    // One more record handed to its loader.
    void recordDone();
    // Ends the line once the command has finished.
    void finish();

private:
    void print();

    bool enabled_;
    qint64 records_ = 0;
    qint64 lastPrint_ = -1;
    QElapsedTimer clock_;
};
