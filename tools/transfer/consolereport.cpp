#include "consolereport.h"

#include <unistd.h>

#include <iostream>

namespace {

constexpr qint64 kProgressEveryMs = 500;

}  // namespace

ConsoleReport::ConsoleReport(QString what, QString where)
    : what_(std::move(what)), where_(std::move(where)), toTerminal_(isatty(STDERR_FILENO) == 1) {}

void ConsoleReport::onStarted() {
    say(QStringLiteral("Waiting for the scanner on %1: put it into its transfer mode").arg(where_));
}

void ConsoleReport::onLinkedUp() {
    linked_ = true;
    say(QStringLiteral("%1: the scanner on %2 is linked up").arg(what_, where_));
}

void ConsoleReport::onProgressed(int recordsMoved, int recordsInAll) {
    recordsMoved_ = recordsMoved;
    recordsInAll_ = recordsInAll;
    if (linked_ && (!sinceProgressShown_.isValid() || sinceProgressShown_.elapsed() >= kProgressEveryMs)) {
        showProgress();
    }
}

void ConsoleReport::onNoticed(const QString& text) {
    say(text);
}

void ConsoleReport::onFinished(bool succeeded) {
    if (succeeded) {
        showProgress();
    }
}

void ConsoleReport::showProgress() {
    sinceProgressShown_.start();
    say(recordsInAll_ > 0 ? QStringLiteral("record %1 of %2").arg(recordsMoved_).arg(recordsInAll_)
                          : QStringLiteral("record %1").arg(recordsMoved_));
}

void ConsoleReport::say(const QString& line) const {
    if (toTerminal_) {
        std::cerr << line.toStdString() << std::endl;
    }
}
