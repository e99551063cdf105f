#pragma once

#include "protocolstation.h"

namespace fileprotocol {

// The receiving station of one transfer: answers the sender's ENQ, checks each block (its check
// character and serial number), answers ACK or NAK, keeps each record once, and ends on the
// sender's EOT. It is fed what arrived and the time, and is read for what to send.
class FileReceiver : public ProtocolStation {
public:
    // `wantedName` is the scanner name of the file this end asks for ("STOCK.DAT"); a heading that
    // names another file is refused with EOT. Empty takes any file.
    FileReceiver(LinkRules rules, QByteArray wantedName = {});

    // Starts the wait for the sender's first ENQ.
    void start(Millis now) override;
    void received(QByteArrayView bytes, Millis now) override;
    void tick(Millis now) override;
    void cancel() override;

    // True once the sender has called: the link phase is over.
    bool linked() const { return phase_ != Phase::Link; }
    // True when the transfer failed because the sender offered another file than the wanted one.
    bool offeredOtherFile() const { return offeredOtherFile_; }
    // The heading, once it has arrived.
    const std::optional<Heading>& heading() const { return heading_; }
    // The records received so far, each once and in order.
    const QList<QByteArray>& records() const { return records_; }

private:
    enum class Phase { Link, Heading, Data, Over };

    void onByte(char byte, Millis now);
    void onBlock();
    Millis silenceLimit() const;
    void onHeading(QByteArrayView text);
    void onRecord(QByteArrayView body);
    void onEot();
    void answer(char reply);
    // Fails as every station does, and reads nothing more.
    void fail(const QString& reason, bool sendEot);

    LinkRules rules_;
    QByteArray wantedName_;
    Phase phase_ = Phase::Link;
    // The block being read: from its SOH or STX on, and whether its ETX has come.
    QByteArray block_;
    bool blockEnded_ = false;
    char lastAnswer_ = kAck;
    std::optional<Heading> heading_;
    QList<QByteArray> records_;
    bool offeredOtherFile_ = false;
};

}  // namespace fileprotocol
