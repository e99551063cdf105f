#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

#include "fileprotocol.h"
#include "scannerstation.h"

// The line faults a test asks the simulator for: they change the bytes between the scanner
// station and the line at one record's block, as a noisy wire or a faulty scanner would.

enum class FaultKind { None, BadBcc, LostAck, Repeat, NakAlways, Silent, Eot, HangUp };

// A fault and the record (from 1) at which it strikes.
struct FaultPlan {
    FaultKind kind = FaultKind::None;
    int record = 1;
};

// The fault a command line names ("bad-bcc"), or nothing when it names none.
std::optional<FaultKind> faultKindNamed(const QString& name);
QStringList faultKindNames();

// What a fault asks for beyond changing bytes: giving the transfer up with EOT, or pulling the
// cable.
enum class FaultStep { None, Cancel, HangUp };

// The bytes that go on after the faults, and the step the fault asks for after them.
struct FaultPassage {
    QByteArray bytes;
    FaultStep step = FaultStep::None;
};

// Applies a FaultPlan to both directions of the line, finding the blocks of the records as they
// pass. A block is held back until it is whole, so that it can be changed as one.
class LineFaults {
public:
    LineFaults(FaultPlan plan, const fileprotocol::LinkRules& rules);

    // What the station sends, while it plays `role`.
    FaultPassage toLine(QByteArrayView bytes, ScannerStation::Role role);
    // What arrived from the line, while the station plays `role`.
    FaultPassage fromLine(QByteArrayView bytes, ScannerStation::Role role);
    // Forgets the parts of blocks held back: the line has gone.
    void lineLost();

private:
    FaultPassage pass(QByteArray& pending, QByteArrayView bytes, ScannerStation::Role role, bool fromStation);
    void startTransfer();
    FaultStep onBlock(QByteArray& block, bool fromStation);
    FaultStep onDataBlock(QByteArray& block, int record);
    void noteAnswers(QByteArray& bytes, bool fromStation);
    int recordOf(QByteArrayView block);
    bool strikesOnce(int record);
    void corrupt(QByteArray& block) const;

    FaultPlan plan_;
    fileprotocol::LinkRules rules_;
    ScannerStation::Role role_ = ScannerStation::Role::Idle;
    // Each direction's part of a block not yet whole.
    QByteArray toLinePending_;
    QByteArray fromLinePending_;
    bool struck_ = false;
    // The record of the last data block, and whether its last answer was NAK (so that the next
    // block is that record again).
    int lastRecord_ = 0;
    bool lastAnswerNak_ = false;
};
