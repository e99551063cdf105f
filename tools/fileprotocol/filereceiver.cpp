#include "filereceiver.h"

namespace fileprotocol {

namespace {

// A block longer than any the heading allows is noise: it is dropped.
constexpr qsizetype kLongestBlock = 1 + kSerialWidth + kMaxLayout + 2;

QString seconds(Millis time) {
    return QString::number(std::chrono::duration_cast<std::chrono::seconds>(time).count());
}

}  // namespace

FileReceiver::FileReceiver(LinkRules rules, QByteArray wantedName)
    : rules_(rules), wantedName_(std::move(wantedName)) {}

void FileReceiver::start(Millis now) {
    deadline_ = now + rules_.linkUpTime;
}

void FileReceiver::received(QByteArrayView bytes, Millis now) {
    for (char byte : bytes) {
        if (progress_ != Progress::Running) {
            return;
        }
        onByte(byte, now);
    }
}

void FileReceiver::tick(Millis now) {
    if (progress_ != Progress::Running || now < deadline_) {
        return;
    }
    if (phase_ == Phase::Link) {
        fail(QStringLiteral(
                 "no scanner called within %1 s: start the transfer on the scanner and check the cable")
                 .arg(seconds(rules_.linkUpTime)),
             false);
        return;
    }
    const QString where =
        heading_ ? QStringLiteral("after record %1 of %2").arg(records_.size()).arg(heading_->records)
                 : QStringLiteral("before its file's heading");
    fail(QStringLiteral("the scanner went silent %1").arg(where), true);
}

void FileReceiver::cancel() {
    if (progress_ == Progress::Running) {
        fail(QStringLiteral("the transfer was cancelled"), true);
    }
}

void FileReceiver::onByte(char byte, Millis now) {
    if (phase_ == Phase::Link) {
        if (byte == kEnq) {
            phase_ = Phase::Heading;
            answer(kAck);
            deadline_ = now + silenceLimit();
        }
        return;
    }
    deadline_ = now + silenceLimit();
    if (blockEnded_) {
        // The check character, which may be any byte.
        block_ += byte;
        onBlock();
    } else if (byte == kSoh || byte == kStx) {
        // A new block; what came before it without its end was noise.
        block_ = QByteArray(1, byte);
    } else if (!block_.isEmpty() && byte == kEtx) {
        block_ += byte;
        blockEnded_ = true;
        if (!rules_.blockCheck) {
            onBlock();
        }
    } else if (byte == kEnq) {
        // A block cut short is answered NAK; otherwise the sender missed the last answer.
        answer(block_.isEmpty() ? lastAnswer_ : kNak);
        block_.clear();
    } else if (byte == kEot) {
        block_.clear();
        onEot();
    } else if (!block_.isEmpty()) {
        block_ += byte;
        if (block_.size() > kLongestBlock) {
            block_.clear();
        }
    }
}

Millis FileReceiver::silenceLimit() const {
    // As long as a sender keeps asking for an answer before it gives up.
    return rules_.retryInterval * (rules_.answerTries + 1);
}

void FileReceiver::onBlock() {
    const QByteArray block = std::exchange(block_, QByteArray());
    blockEnded_ = false;
    const qsizetype bodyEnd = block.indexOf(kEtx);
    if (rules_.blockCheck && blockCheck(QByteArrayView(block).sliced(1, bodyEnd)) != block.back()) {
        answer(kNak);
        return;
    }
    const QByteArrayView body = QByteArrayView(block).sliced(1, bodyEnd - 1);
    if (block.front() == kSoh) {
        onHeading(body);
    } else if (phase_ == Phase::Data) {
        onRecord(body);
    } else {
        answer(kNak);
    }
}

void FileReceiver::onHeading(QByteArrayView text) {
    const std::optional<Heading> heading = readHeadingText(text);
    if (phase_ == Phase::Data) {
        // The sender missed the heading's ACK and sent it again.
        answer(heading == heading_ ? kAck : kNak);
        return;
    }
    if (!heading) {
        fail(QStringLiteral("the scanner sent a file heading that cannot be read"), true);
        return;
    }
    if (!wantedName_.isEmpty() && heading->fileName != wantedName_) {
        offeredOtherFile_ = true;
        fail(QStringLiteral("the scanner offered %1; this transfer takes %2: send %2 from the scanner")
                 .arg(QLatin1String(heading->fileName), QLatin1String(wantedName_)),
             true);
        return;
    }
    heading_ = heading;
    phase_ = Phase::Data;
    answer(kAck);
}

void FileReceiver::onRecord(QByteArrayView body) {
    const qsizetype expected = records_.size() + 1;
    qsizetype serial = expected;
    if (rules_.serialNumbers) {
        bool isNumber = false;
        serial = body.first(std::min<qsizetype>(kSerialWidth, body.size())).toLongLong(&isNumber);
        if (!isNumber || body.size() < kSerialWidth) {
            answer(kNak);
            return;
        }
        body = body.sliced(kSerialWidth);
    }
    if (serial == expected - 1 && expected > 1) {
        // A copy of the last record, sent again because our ACK was lost.
        answer(kAck);
        return;
    }
    if (serial != expected || !recordProblem(body, *heading_).isEmpty()) {
        answer(kNak);
        return;
    }
    if (records_.size() == heading_->records) {
        fail(QStringLiteral("the scanner sent more records than the %1 its file's heading announced")
                 .arg(heading_->records),
             true);
        return;
    }
    records_.append(body.toByteArray());
    answer(kAck);
}

void FileReceiver::onEot() {
    if (!heading_) {
        fail(QStringLiteral("the scanner ended the transfer before sending a file"), false);
    } else if (records_.size() != heading_->records) {
        fail(QStringLiteral("the scanner ended the transfer after record %1 of %2")
                 .arg(records_.size())
                 .arg(heading_->records),
             false);
    } else {
        answer(kAck);
        phase_ = Phase::Over;
        progress_ = Progress::Done;
    }
}

void FileReceiver::answer(char reply) {
    output_ += reply;
    lastAnswer_ = reply;
}

void FileReceiver::fail(const QString& reason, bool sendEot) {
    ProtocolStation::fail(reason, sendEot);
    phase_ = Phase::Over;
}

}  // namespace fileprotocol
