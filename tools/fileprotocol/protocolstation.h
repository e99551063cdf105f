#pragma once

#include <utility>

#include "fileprotocol.h"

namespace fileprotocol {

// What the sending and the receiving station share: fed what arrived and the time, read for the
// bytes to send, how the transfer stands, why it failed and when it must next be ticked.
class ProtocolStation {
public:
    virtual ~ProtocolStation() = default;

    virtual void start(Millis now) = 0;
    // Takes bytes that arrived from the other station.
    virtual void received(QByteArrayView bytes, Millis now) = 0;
    // Lets time pass: call it at or after deadline().
    virtual void tick(Millis now) = 0;
    // Gives the transfer up on the user's word: EOT goes to the other end.
    virtual void cancel() = 0;

    // The bytes to send now; taking them empties the queue.
    QByteArray takeOutput() { return std::exchange(output_, QByteArray()); }
    Progress progress() const { return progress_; }
    // Why the transfer failed, in one sentence.
    const QString& failure() const { return failure_; }
    // When tick() must next be called.
    Millis deadline() const { return deadline_; }

protected:
    // Ends the transfer as failed for `reason`, with EOT to the other end when `sendEot`.
    void fail(const QString& reason, bool sendEot) {
        if (sendEot) {
            output_ += kEot;
        }
        failure_ = reason;
        progress_ = Progress::Failed;
    }

    QByteArray output_;
    Progress progress_ = Progress::Running;
    Millis deadline_{0};

private:
    QString failure_;
};

}  // namespace fileprotocol
