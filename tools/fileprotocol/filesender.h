#pragma once

#include "fileprotocol.h"

namespace fileprotocol {

// The sending station of one transfer: links up with ENQ, sends the heading and then each record
// in its own block, resends a block on NAK, asks again with ENQ when no answer comes, and ends
// with EOT. It is fed what arrived and the time, and is read for what to send.
class FileSender {
public:
    // `records` must each fit `heading` (recordProblem).
    FileSender(Heading heading, QList<QByteArray> records, LinkRules rules);

    // Sends the first ENQ.
    void start(Millis now);
    // Takes bytes that arrived from the receiving station.
    void received(QByteArrayView bytes, Millis now);
    // Lets time pass: call it at or after deadline().
    void tick(Millis now);
    // Gives the transfer up on the user's word: EOT goes to the other end.
    void cancel();

    // The bytes to send now; taking them empties the queue.
    QByteArray takeOutput();
    Progress progress() const { return progress_; }
    // Why the transfer failed, in one sentence.
    const QString& failure() const { return failure_; }
    // When tick() must next be called.
    Millis deadline() const { return deadline_; }
    // Records the receiving station has confirmed, out of all of them.
    int recordsConfirmed() const;
    int recordCount() const { return static_cast<int>(records_.size()); }

private:
    enum class Phase { Link, Data, End };

    void sendCurrentBlock(Millis now);
    void onAnswer(char answer, Millis now);
    void fail(const QString& reason, bool sendEot);
    QString blockName() const;

    Heading heading_;
    QList<QByteArray> records_;
    LinkRules rules_;
    Phase phase_ = Phase::Link;
    Progress progress_ = Progress::Running;
    QString failure_;
    QByteArray output_;
    Millis deadline_{0};
    // The block awaiting its answer: 0 is the heading, n the nth record, and past the last the EOT.
    int block_ = 0;
    int tries_ = 0;
    int naks_ = 0;
};

}  // namespace fileprotocol
