#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <chrono>
#include <deque>

// The speed of a real serial wire on a line that has none: each byte takes ten bit times to
// leave, and to arrive after the one before it. Without a speed, bytes pass at once.
class WirePace {
public:
    using Nanos = std::chrono::nanoseconds;

    // `baud` 0 paces nothing.
    explicit WirePace(int baud);

    // Queues bytes to write; they go out once their last byte would have left.
    void queueOutgoing(QByteArrayView bytes, Nanos now);
    // The bytes to write now.
    QByteArray takeOutgoing(Nanos now);
    // Queues bytes just read; they count as arrived one by one at the wire's speed.
    void queueIncoming(QByteArrayView bytes, Nanos now);
    // The bytes that have arrived by now.
    QByteArray takeIncoming(Nanos now);
    // The next moment a queued byte is due, or Nanos::max() when none is queued.
    Nanos nextMoment() const;
    // Forgets every queued byte: the line has gone.
    void clear();

private:
    // Bytes on the wire: outgoing ones are due together, incoming ones one byte time apart from
    // `due` for the first.
    struct Stretch {
        QByteArray bytes;
        Nanos due;
    };

    Nanos byteTime_;
    std::deque<Stretch> outgoing_;
    std::deque<Stretch> incoming_;
    Nanos outgoingFree_{0};
    Nanos incomingFree_{0};
};
