#include "receivingstation.h"

ReceivingStation::ReceivingStation(fileprotocol::LinkRules rules, QByteArray wantedName)
    : rules_(rules), wantedName_(std::move(wantedName)), receiver_(std::in_place, rules_, wantedName_) {}

void ReceivingStation::start(fileprotocol::Millis now) {
    linkUpEnd_ = now + rules_.linkUpTime;
    receiver_->start(now);
}

void ReceivingStation::received(QByteArrayView bytes, fileprotocol::Millis now) {
    receiver_->received(bytes, now);
    waitForAnotherOffer(now);
}

QByteArray ReceivingStation::takeOutput() {
    QByteArray bytes = std::exchange(output_, QByteArray());
    bytes += receiver_->takeOutput();
    return bytes;
}

int ReceivingStation::recordsInAll() const {
    return receiver_->heading() ? receiver_->heading()->records : 0;
}

void ReceivingStation::waitForAnotherOffer(fileprotocol::Millis now) {
    const fileprotocol::Millis timeLeft = linkUpEnd_ - now;
    if (receiver_->progress() != fileprotocol::Progress::Failed || !receiver_->offeredOtherFile() ||
        timeLeft <= fileprotocol::Millis(0)) {
        return;
    }
    // The refusal (EOT) still goes out, and the user learns what to pick on the scanner.
    notice_ = receiver_->failure();
    output_ += receiver_->takeOutput();
    fileprotocol::LinkRules rules = rules_;
    rules.linkUpTime = timeLeft;
    receiver_.emplace(rules, wantedName_);
    receiver_->start(now);
}
