#pragma once

#include "protocolstation.h"

namespace fileprotocol {

// The sending station of one transfer: links up with ENQ, sends the heading and then each record
// in its own block, resends a block on NAK, asks again with ENQ when no answer comes, and ends
// with EOT. It is fed what arrived and the time, and is read for what to send.
class FileSender : public ProtocolStation {
public:
    // `records` must each fit `heading` (recordProblem).
    FileSender(Heading heading, QList<QByteArray> records, LinkRules rules);

    // Sends the first ENQ.
    void start(Millis now) override;
    void received(QByteArrayView bytes, Millis now) override;
    void tick(Millis now) override;
    void cancel() override;

    // Records the receiving station has confirmed, out of all of them.
    int recordsConfirmed() const;
    int recordCount() const { return static_cast<int>(records_.size()); }

private:
    enum class Phase { Link, Data, End };

    void sendCurrentBlock(Millis now);
    void onAnswer(char answer, Millis now);
    QString blockName() const;

    Heading heading_;
    QList<QByteArray> records_;
    LinkRules rules_;
    Phase phase_ = Phase::Link;
    // The block awaiting its answer: 0 is the heading, n the nth record, and past the last the EOT.
    int block_ = 0;
    int tries_ = 0;
    int naks_ = 0;
};

}  // namespace fileprotocol
