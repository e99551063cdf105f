#include "scannerstation.h"

#include <utility>

#include "scannermemory.h"
#include "transferfiles.h"

using fileprotocol::Millis;
using fileprotocol::Progress;

namespace {

constexpr int kUploadCount = static_cast<int>(scanner::kUploadModes.size());

// The length of the bytes up to and including the first that can end a transfer.
qsizetype endOfPiece(QByteArrayView bytes) {
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == fileprotocol::kAck || bytes[at] == fileprotocol::kNak ||
            bytes[at] == fileprotocol::kEot) {
            return at + 1;
        }
    }
    return bytes.size();
}

QString uploadName(int index) {
    return QLatin1String(scanner::kUploadModes[index].fileName);
}

// The upload's name as the heading of its transfer gives it ("STOCK.DAT").
QString scannerName(int index) {
    return QString::fromLatin1(fileprotocol::scannerFileName(uploadName(index)).value_or(QByteArray()));
}

}  // namespace

ScannerStation::ScannerStation(fileprotocol::LinkRules rules, Millis offerAfter, Report report)
    : rules_(rules), offerAfter_(offerAfter), report_(std::move(report)) {}

void ScannerStation::lineConnected(Millis now) {
    connected_ = true;
    quietSince_ = now;
}

void ScannerStation::lineLost() {
    connected_ = false;
    if (receiver_) {
        report_(QStringLiteral("the line closed; receiving abandoned"));
    } else if (sender_ && offerAnswered_) {
        report_(QStringLiteral("the line closed; sending %1 abandoned").arg(scannerName(offered_)));
    }
    if (sender_) {
        nextOffer_ = offered_;
    }
    receiver_.reset();
    sender_.reset();
    output_.clear();
}

// A transfer can end at an ACK, NAK or EOT: what follows it in the same read is the start of what
// comes next, such as the PC's ENQ for a file of its own.
void ScannerStation::received(QByteArrayView bytes, Millis now) {
    quietSince_ = now;
    while (!bytes.isEmpty()) {
        const qsizetype end = endOfPiece(bytes);
        receivePiece(bytes.first(end), now);
        bytes = bytes.sliced(end);
    }
}

void ScannerStation::receivePiece(QByteArrayView bytes, Millis now) {
    if (sender_) {
        feedSender(bytes, now);
    } else if (receiver_) {
        receiver_->received(bytes, now);
    } else if (const qsizetype enq = bytes.indexOf(fileprotocol::kEnq); enq >= 0) {
        startReceiving(bytes.sliced(enq), now);
    }
    settle(now);
}

void ScannerStation::tick(Millis now) {
    if (sender_) {
        sender_->tick(now);
    } else if (receiver_) {
        receiver_->tick(now);
    } else if (connected_ && now >= quietSince_ + offerAfter_) {
        offerNextUpload(now);
    }
    settle(now);
}

void ScannerStation::cancel(Millis now) {
    if (sender_) {
        sender_->cancel();
    } else if (receiver_) {
        receiver_->cancel();
    }
    settle(now);
}

QByteArray ScannerStation::takeOutput() {
    return std::exchange(output_, {});
}

Millis ScannerStation::deadline() const {
    if (sender_) {
        return sender_->deadline();
    }
    if (receiver_) {
        return receiver_->deadline();
    }
    return connected_ ? quietSince_ + offerAfter_ : Millis::max();
}

ScannerStation::Role ScannerStation::role() const {
    if (receiver_) {
        return Role::Receiving;
    }
    return sender_ ? Role::Sending : Role::Idle;
}

void ScannerStation::startReceiving(QByteArrayView bytes, Millis now) {
    receiver_.emplace(rules_);
    receiver_->start(now);
    receiver_->received(bytes, now);
}

// While the offer's ENQ has had no ACK, an ENQ from the PC means it wants to send: the PC's file
// goes first and the offer is withdrawn, to be made again later.
void ScannerStation::feedSender(QByteArrayView bytes, Millis now) {
    if (!offerAnswered_) {
        const qsizetype enq = bytes.indexOf(fileprotocol::kEnq);
        const qsizetype ack = bytes.indexOf(fileprotocol::kAck);
        if (enq >= 0 && (ack < 0 || enq < ack)) {
            sender_.reset();
            nextOffer_ = offered_;
            startReceiving(bytes.sliced(enq), now);
            return;
        }
        offerAnswered_ = ack >= 0;
    }
    sender_->received(bytes, now);
}

void ScannerStation::offerNextUpload(Millis now) {
    quietSince_ = now;
    for (int step = 0; step < kUploadCount; ++step) {
        const int index = (nextOffer_ + step) % kUploadCount;
        if (!holdsUpload(uploadName(index))) {
            continue;
        }
        nextOffer_ = (index + 1) % kUploadCount;
        try {
            UploadOffer offer = readUploadOffer(uploadName(index));
            sender_.emplace(std::move(offer.heading), std::move(offer.records), rules_);
        } catch (const scanner::Failure& failure) {
            report_(QStringLiteral("not offering %1: %2")
                        .arg(uploadName(index), QString::fromStdString(failure.what())));
            return;
        }
        offered_ = index;
        offerAnswered_ = false;
        sender_->start(now);
        return;
    }
}

// Collects what the transfer under way has to send, and ends it once it is over.
void ScannerStation::settle(Millis now) {
    if (sender_) {
        output_ += sender_->takeOutput();
        if (sender_->progress() != Progress::Running) {
            finishSending();
            quietSince_ = now;
        }
    } else if (receiver_) {
        output_ += receiver_->takeOutput();
        if (receiver_->progress() != Progress::Running) {
            finishReceiving();
            quietSince_ = now;
        }
    }
}

void ScannerStation::finishReceiving() {
    const fileprotocol::FileReceiver receiver = std::move(*receiver_);
    receiver_.reset();
    if (receiver.progress() == Progress::Failed) {
        report_(QStringLiteral("receive failed: %1").arg(receiver.failure()));
        return;
    }
    try {
        storeReceivedFile(*receiver.heading(), receiver.records());
        report_(QStringLiteral("received %1, %2 records")
                    .arg(QString::fromLatin1(receiver.heading()->fileName))
                    .arg(receiver.records().size()));
    } catch (const scanner::Failure& failure) {
        report_(QStringLiteral("receive failed: %1").arg(QString::fromStdString(failure.what())));
    }
}

// After a file the PC took, the offers start again from the first upload; after one it refused,
// the next offer is of the next upload.
void ScannerStation::finishSending() {
    const fileprotocol::FileSender sender = std::move(*sender_);
    sender_.reset();
    if (sender.progress() == Progress::Failed) {
        report_(QStringLiteral("send failed: %1").arg(sender.failure()));
        return;
    }
    nextOffer_ = 0;
    report_(QStringLiteral("sent %1, %2 records").arg(scannerName(offered_)).arg(sender.recordCount()));
}
