#include "wirepace.h"

#include <algorithm>

namespace {

// A byte is a start bit, eight data bits and a stop bit.
constexpr long long kBitsPerByte = 10;

}  // namespace

WirePace::WirePace(int baud)
    : byteTime_(baud > 0 ? Nanos(std::chrono::seconds(kBitsPerByte)) / baud : Nanos(0)) {}

void WirePace::queueOutgoing(QByteArrayView bytes, Nanos now) {
    if (bytes.isEmpty()) {
        return;
    }
    outgoingFree_ = std::max(now, outgoingFree_) + byteTime_ * bytes.size();
    outgoing_.push_back({bytes.toByteArray(), outgoingFree_});
}

QByteArray WirePace::takeOutgoing(Nanos now) {
    QByteArray due;
    while (!outgoing_.empty() && outgoing_.front().due <= now) {
        due += outgoing_.front().bytes;
        outgoing_.pop_front();
    }
    return due;
}

void WirePace::queueIncoming(QByteArrayView bytes, Nanos now) {
    if (bytes.isEmpty()) {
        return;
    }
    const Nanos firstArrives = std::max(now, incomingFree_) + byteTime_;
    incomingFree_ = firstArrives + byteTime_ * (bytes.size() - 1);
    incoming_.push_back({bytes.toByteArray(), firstArrives});
}

QByteArray WirePace::takeIncoming(Nanos now) {
    QByteArray arrived;
    while (!incoming_.empty() && incoming_.front().due <= now) {
        Stretch& front = incoming_.front();
        const qsizetype count =
            byteTime_.count() == 0
                ? front.bytes.size()
                : std::min(front.bytes.size(), static_cast<qsizetype>((now - front.due) / byteTime_) + 1);
        arrived += front.bytes.first(count);
        front.bytes.remove(0, count);
        front.due += byteTime_ * count;
        if (front.bytes.isEmpty()) {
            incoming_.pop_front();
        }
    }
    return arrived;
}

WirePace::Nanos WirePace::nextMoment() const {
    Nanos next = Nanos::max();
    if (!outgoing_.empty()) {
        next = outgoing_.front().due;
    }
    if (!incoming_.empty()) {
        next = std::min(next, incoming_.front().due);
    }
    return next;
}

void WirePace::clear() {
    outgoing_.clear();
    incoming_.clear();
}
