#include "filetransfer.h"

#include <algorithm>
#include <limits>

FileTransfer::FileTransfer(SerialLink& link, Station& station) : link_(link), station_(station) {
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    connect(&deadline_, &QTimer::timeout, this, &FileTransfer::onDeadline);
    connect(&link_, &SerialLink::arrived, this, &FileTransfer::onArrived);
    connect(&link_, &SerialLink::broken, this, &FileTransfer::onBroken);
}

void FileTransfer::start() {
    clock_.start();
    station_.start(now());
    afterStep();
}

void FileTransfer::cancel() {
    if (over_) {
        return;
    }
    station_.cancel();
    afterStep();
}

fileprotocol::Millis FileTransfer::now() const {
    return fileprotocol::Millis(clock_.elapsed());
}

void FileTransfer::onArrived(const QByteArray& bytes) {
    if (over_) {
        return;
    }
    station_.received(bytes, now());
    afterStep();
}

void FileTransfer::onDeadline() {
    if (over_) {
        return;
    }
    const fileprotocol::Millis time = now();
    if (time >= station_.deadline()) {
        station_.tick(time);
    }
    afterStep();
}

void FileTransfer::onBroken(const QString& reason) {
    if (!over_) {
        finish(false, reason);
    }
}

void FileTransfer::afterStep() {
    link_.send(station_.takeOutput());
    const QString notice = station_.takeNotice();
    if (!notice.isEmpty()) {
        emit noticed(notice);
    }
    const bool running = station_.progress() == fileprotocol::Progress::Running;
    const bool linked = running && station_.linked();
    if (linked && !linked_) {
        emit linkedUp();
    }
    linked_ = linked;
    if (station_.recordsMoved() != recordsMoved_ || station_.recordsInAll() != recordsInAll_) {
        recordsMoved_ = station_.recordsMoved();
        recordsInAll_ = station_.recordsInAll();
        emit progressed(recordsMoved_, recordsInAll_);
    }
    if (!running) {
        finish(station_.progress() == fileprotocol::Progress::Done, station_.failure());
        return;
    }
    const auto wait = (station_.deadline() - now()).count();
    deadline_.start(static_cast<int>(std::clamp<qint64>(wait, 0, std::numeric_limits<int>::max())));
}

void FileTransfer::finish(bool succeeded, const QString& failure) {
    over_ = true;
    succeeded_ = succeeded;
    failure_ = succeeded ? QString() : failure;
    deadline_.stop();
    emit finished(succeeded_, failure_);
}
