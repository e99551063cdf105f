#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

#include "fileprotocol.h"
#include "filereceiver.h"
#include "filesender.h"

// The scanner at its end of the serial line: takes the file the PC sends into its memory, and
// offers its held uploads in turn whenever the line has been quiet for a while. Like the stations
// it drives, it is fed what arrived and the time, and is read for what to send.
class ScannerStation {
public:
    enum class Role { Idle, Receiving, Sending };
    // Takes one line about a finished or abandoned transfer.
    using Report = std::function<void(const QString&)>;

    ScannerStation(fileprotocol::LinkRules rules, fileprotocol::Millis offerAfter, Report report);

    // The PC's end has opened the line: the quiet wait before an offer starts again.
    void lineConnected(fileprotocol::Millis now);
    // The PC's end has closed the line: a transfer under way is abandoned.
    void lineLost();
    void received(QByteArrayView bytes, fileprotocol::Millis now);
    // Lets time pass: call it at or after deadline().
    void tick(fileprotocol::Millis now);
    // Gives the transfer under way up: EOT goes to the PC.
    void cancel(fileprotocol::Millis now);

    // The bytes to send now; taking them empties the queue.
    QByteArray takeOutput();
    fileprotocol::Millis deadline() const;
    Role role() const;

private:
    void receivePiece(QByteArrayView bytes, fileprotocol::Millis now);
    void startReceiving(QByteArrayView bytes, fileprotocol::Millis now);
    void feedSender(QByteArrayView bytes, fileprotocol::Millis now);
    void offerNextUpload(fileprotocol::Millis now);
    void settle(fileprotocol::Millis now);
    void finishReceiving();
    void finishSending();

    fileprotocol::LinkRules rules_;
    fileprotocol::Millis offerAfter_;
    Report report_;
    std::optional<fileprotocol::FileReceiver> receiver_;
    std::optional<fileprotocol::FileSender> sender_;
    // The upload being offered, as an index into scanner::kUploadModes, and whether the PC has
    // answered the offer's ENQ yet.
    int offered_ = 0;
    bool offerAnswered_ = false;
    // The upload the next offer starts its search from.
    int nextOffer_ = 0;
    bool connected_ = false;
    fileprotocol::Millis quietSince_{0};
    QByteArray output_;
};
