#pragma once

#include <optional>
#include <utility>

#include "filereceiver.h"
#include "station.h"

// The receiving end of a transfer. When the scanner offers another file than the wanted one, the
// user is told so and a fresh receiver waits for the right one, until the time the transfer had
// to link up has run out since it started.
class ReceivingStation : public Station {
public:
    // `wantedName` is the scanner's name of the upload asked for ("STOCK.DAT").
    ReceivingStation(fileprotocol::LinkRules rules, QByteArray wantedName);

    void start(fileprotocol::Millis now) override;
    void received(QByteArrayView bytes, fileprotocol::Millis now) override;
    void tick(fileprotocol::Millis now) override { receiver_->tick(now); }
    void cancel() override { receiver_->cancel(); }

    QByteArray takeOutput() override;
    QString takeNotice() override { return std::exchange(notice_, QString()); }
    fileprotocol::Progress progress() const override { return receiver_->progress(); }
    QString failure() const override { return receiver_->failure(); }
    fileprotocol::Millis deadline() const override { return receiver_->deadline(); }
    bool linked() const override { return receiver_->linked(); }
    int recordsMoved() const override { return static_cast<int>(receiver_->records().size()); }
    int recordsInAll() const override;

    // The heading of the received file, once it has come, and its records so far.
    const std::optional<fileprotocol::Heading>& heading() const { return receiver_->heading(); }
    const QList<QByteArray>& records() const { return receiver_->records(); }

private:
    void waitForAnotherOffer(fileprotocol::Millis now);

    fileprotocol::LinkRules rules_;
    QByteArray wantedName_;
    std::optional<fileprotocol::FileReceiver> receiver_;
    // When the link-up time that started with the transfer runs out.
    fileprotocol::Millis linkUpEnd_{0};
    // What the receivers given up on still had to send.
    QByteArray output_;
    QString notice_;
};
