#include "linefaults.h"

#include <array>

using fileprotocol::kAck;
using fileprotocol::kEtx;
using fileprotocol::kNak;
using fileprotocol::kSoh;
using fileprotocol::kStx;
using Role = ScannerStation::Role;

namespace {

struct NamedFault {
    const char* name;
    FaultKind kind;
};

constexpr std::array<NamedFault, 7> kNamedFaults{{
    {"bad-bcc", FaultKind::BadBcc},
    {"lost-ack", FaultKind::LostAck},
    {"repeat", FaultKind::Repeat},
    {"nak-always", FaultKind::NakAlways},
    {"silent", FaultKind::Silent},
    {"eot", FaultKind::Eot},
    {"hangup", FaultKind::HangUp},
}};

// The next piece at the front of a direction's bytes: a whole block from its SOH or STX on, or
// the bytes up to the next block. Its length is 0 while a block is not yet whole.
struct Piece {
    qsizetype length = 0;
    bool block = false;
};

bool startsBlock(char byte) {
    return byte == kSoh || byte == kStx;
}

// A block that breaks off at another control character before its ETX is passed on as it is.
Piece blockAtFront(const QByteArray& bytes, bool blockCheck) {
    for (qsizetype at = 1; at < bytes.size(); ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte == kEtx) {
            const qsizetype length = at + 1 + (blockCheck ? 1 : 0);
            return length <= bytes.size() ? Piece{length, true} : Piece{};
        }
        if (byte < 0x20) {
            return {at, false};
        }
    }
    return {};
}

Piece pieceAtFront(const QByteArray& bytes, bool blockCheck) {
    if (startsBlock(bytes.front())) {
        return blockAtFront(bytes, blockCheck);
    }
    qsizetype length = 1;
    while (length < bytes.size() && !startsBlock(bytes[length])) {
        ++length;
    }
    return {length, false};
}

}  // namespace

std::optional<FaultKind> faultKindNamed(const QString& name) {
    for (const NamedFault& fault : kNamedFaults) {
        if (name == QLatin1String(fault.name)) {
            return fault.kind;
        }
    }
    return std::nullopt;
}

QStringList faultKindNames() {
    QStringList names;
    for (const NamedFault& fault : kNamedFaults) {
        names << QLatin1String(fault.name);
    }
    return names;
}

LineFaults::LineFaults(FaultPlan plan, const fileprotocol::LinkRules& rules) : plan_(plan), rules_(rules) {}

FaultPassage LineFaults::toLine(QByteArrayView bytes, Role role) {
    if (plan_.kind == FaultKind::Silent) {
        return {};
    }
    return pass(toLinePending_, bytes, role, true);
}

FaultPassage LineFaults::fromLine(QByteArrayView bytes, Role role) {
    return pass(fromLinePending_, bytes, role, false);
}

void LineFaults::lineLost() {
    toLinePending_.clear();
    fromLinePending_.clear();
}

FaultPassage LineFaults::pass(QByteArray& pending, QByteArrayView bytes, Role role, bool fromStation) {
    if (plan_.kind == FaultKind::None) {
        return {bytes.toByteArray()};
    }
    if (role != role_) {
        role_ = role;
        startTransfer();
    }
    pending += bytes;
    FaultPassage passage;
    while (!pending.isEmpty()) {
        const Piece piece = pieceAtFront(pending, rules_.blockCheck);
        if (piece.length == 0) {
            break;
        }
        QByteArray bytesOfPiece = pending.first(piece.length);
        pending.remove(0, piece.length);
        if (piece.block) {
            passage.step = onBlock(bytesOfPiece, fromStation);
        } else {
            noteAnswers(bytesOfPiece, fromStation);
        }
        passage.bytes += bytesOfPiece;
        if (passage.step != FaultStep::None) {
            pending.clear();
            break;
        }
    }
    return passage;
}

void LineFaults::startTransfer() {
    lastRecord_ = 0;
    lastAnswerNak_ = false;
}

FaultStep LineFaults::onBlock(QByteArray& block, bool fromStation) {
    if (block.front() == kSoh) {
        startTransfer();
        return FaultStep::None;
    }
    if (role_ == Role::Idle || fromStation != (role_ == Role::Sending)) {
        return FaultStep::None;
    }
    const int record = recordOf(block);
    if (fromStation && plan_.kind == FaultKind::Repeat && strikesOnce(record)) {
        const QByteArray copy = block;
        block += copy;
        return FaultStep::None;
    }
    return onDataBlock(block, record);
}

// The faults that strike a data block whichever way it goes.
FaultStep LineFaults::onDataBlock(QByteArray& block, int record) {
    switch (plan_.kind) {
        case FaultKind::BadBcc:
            if (strikesOnce(record)) {
                corrupt(block);
            }
            return FaultStep::None;
        case FaultKind::NakAlways:
            if (record >= plan_.record) {
                corrupt(block);
            }
            return FaultStep::None;
        case FaultKind::Eot:
        case FaultKind::HangUp:
            if (!strikesOnce(record)) {
                return FaultStep::None;
            }
            block.clear();
            return plan_.kind == FaultKind::Eot ? FaultStep::Cancel : FaultStep::HangUp;
        default:
            return FaultStep::None;
    }
}

// Notes the answers among bytes outside blocks, and drops the ACK a lost-ack fault loses.
void LineFaults::noteAnswers(QByteArray& bytes, bool fromStation) {
    if (role_ == Role::Idle || fromStation != (role_ == Role::Receiving)) {
        return;
    }
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        if (bytes[at] != kAck && bytes[at] != kNak) {
            continue;
        }
        lastAnswerNak_ = bytes[at] == kNak;
        if (plan_.kind == FaultKind::LostAck && bytes[at] == kAck && strikesOnce(lastRecord_)) {
            bytes.remove(at--, 1);
        }
    }
}

// The record a data block carries: its serial number, or without those the count of blocks, where
// a block that follows a NAK is the same record again.
int LineFaults::recordOf(QByteArrayView block) {
    bool isNumber = false;
    const bool numbered = rules_.serialNumbers && block.size() > 1 + fileprotocol::kSerialWidth;
    const int serial = numbered ? block.sliced(1, fileprotocol::kSerialWidth).toInt(&isNumber) : 0;
    if (isNumber) {
        lastRecord_ = serial;
    } else if (!lastAnswerNak_ || lastRecord_ == 0) {
        ++lastRecord_;
    }
    lastAnswerNak_ = false;
    return lastRecord_;
}

bool LineFaults::strikesOnce(int record) {
    if (struck_ || record != plan_.record) {
        return false;
    }
    struck_ = true;
    return true;
}

// Flips a bit of the check character, or without one of the record's first byte.
void LineFaults::corrupt(QByteArray& block) const {
    const qsizetype at =
        rules_.blockCheck ? block.size() - 1 : 1 + (rules_.serialNumbers ? fileprotocol::kSerialWidth : 0);
    block[at] = static_cast<char>(block[at] ^ 0x01);
}
