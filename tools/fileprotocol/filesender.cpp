#include "filesender.h"

#include <algorithm>

namespace fileprotocol {

FileSender::FileSender(Heading heading, QList<QByteArray> records, LinkRules rules)
    : heading_(std::move(heading)), records_(std::move(records)), rules_(rules) {}

void FileSender::start(Millis now) {
    output_ += kEnq;
    tries_ = 1;
    deadline_ = now + rules_.retryInterval;
}

void FileSender::received(QByteArrayView bytes, Millis now) {
    for (char byte : bytes) {
        if (progress_ != Progress::Running) {
            return;
        }
        if (byte == kEot) {
            fail(QStringLiteral("the scanner ended the transfer at %1").arg(blockName()), false);
        } else if (byte == kAck || (byte == kNak && phase_ != Phase::Link)) {
            onAnswer(byte, now);
        }
        // Anything else, in the link phase a NAK too, is no answer: the ENQs go on.
    }
}

void FileSender::tick(Millis now) {
    if (progress_ != Progress::Running || now < deadline_) {
        return;
    }
    const bool linking = phase_ == Phase::Link;
    const int limit = linking ? rules_.linkTries : rules_.answerTries;
    if (tries_ >= limit) {
        fail(linking ? QStringLiteral(
                           "the scanner did not answer: put it into its transfer mode and check the cable")
                     : QStringLiteral("the scanner stopped answering at %1").arg(blockName()),
             true);
        return;
    }
    ++tries_;
    // After the last block the question is the EOT itself.
    output_ += phase_ == Phase::End ? kEot : kEnq;
    deadline_ = now + rules_.retryInterval;
}

void FileSender::cancel() {
    if (progress_ == Progress::Running) {
        fail(QStringLiteral("the transfer was cancelled at %1").arg(blockName()), true);
    }
}

int FileSender::recordsConfirmed() const {
    if (progress_ == Progress::Done) {
        return recordCount();
    }
    return std::clamp(block_ - 1, 0, recordCount());
}

void FileSender::sendCurrentBlock(Millis now) {
    if (block_ == 0) {
        output_ += headingBlock(heading_, rules_);
    } else if (block_ <= recordCount()) {
        output_ += dataBlock(block_, records_.at(block_ - 1), rules_);
    } else {
        phase_ = Phase::End;
        output_ += kEot;
    }
    tries_ = 0;
    deadline_ = now + rules_.retryInterval;
}

void FileSender::onAnswer(char answer, Millis now) {
    if (phase_ == Phase::Link) {
        phase_ = Phase::Data;
        naks_ = 0;
        sendCurrentBlock(now);
        return;
    }
    if (answer == kNak) {
        if (++naks_ >= rules_.nakLimit) {
            fail(QStringLiteral("the scanner refused %1 %2 times").arg(blockName()).arg(naks_), true);
            return;
        }
        sendCurrentBlock(now);
        return;
    }
    naks_ = 0;
    if (phase_ == Phase::End) {
        progress_ = Progress::Done;
        return;
    }
    ++block_;
    sendCurrentBlock(now);
}

QString FileSender::blockName() const {
    if (phase_ == Phase::Link) {
        return QStringLiteral("the start");
    }
    if (block_ == 0) {
        return QStringLiteral("the heading");
    }
    if (block_ > recordCount()) {
        return QStringLiteral("the end");
    }
    return QStringLiteral("record %1 of %2").arg(block_).arg(recordCount());
}

}  // namespace fileprotocol
