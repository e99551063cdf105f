#pragma once

#include "filesender.h"
#include "outgoingfile.h"
#include "station.h"

// The sending end of a transfer: a file sender that also notes when the scanner first answered.
class SendingStation : public Station {
public:
    SendingStation(OutgoingFile file, fileprotocol::LinkRules rules);

    void start(fileprotocol::Millis now) override { sender_.start(now); }
    void received(QByteArrayView bytes, fileprotocol::Millis now) override;
    void tick(fileprotocol::Millis now) override { sender_.tick(now); }
    void cancel() override { sender_.cancel(); }

    QByteArray takeOutput() override { return sender_.takeOutput(); }
    QString takeNotice() override { return {}; }
    fileprotocol::Progress progress() const override { return sender_.progress(); }
    QString failure() const override { return sender_.failure(); }
    fileprotocol::Millis deadline() const override { return sender_.deadline(); }
    bool linked() const override { return linked_; }
    int recordsMoved() const override { return sender_.recordsConfirmed(); }
    int recordsInAll() const override { return sender_.recordCount(); }

private:
    fileprotocol::FileSender sender_;
    bool linked_ = false;
};
