#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <chrono>
#include <optional>

// The scanner's file protocol on a serial line, without any input or output of its own: the
// blocks, their check character, a data file's heading, and the rules both ends follow. The
// sending and receiving stations (filesender.h, filereceiver.h) are fed the bytes that arrived and
// the time, and say what to send and how the transfer stands.
namespace fileprotocol {

inline constexpr char kSoh = 0x01;
inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kEot = 0x04;
inline constexpr char kEnq = 0x05;
inline constexpr char kAck = 0x06;
inline constexpr char kNak = 0x15;

// What one transfer of a data file can hold.
inline constexpr int kMaxRecords = 32767;
inline constexpr int kMaxFields = 16;
inline constexpr int kMaxFieldLength = 254;
// The field lengths and the number of fields together.
inline constexpr int kMaxLayout = 255;
inline constexpr int kFileNameWidth = 12;
inline constexpr int kSerialWidth = 5;

using Millis = std::chrono::milliseconds;

// A data file as its heading block announces it.
struct Heading {
    // The file's name as the scanner keeps it: 8.3, upper case ("RMITEMS.DAT").
    QByteArray fileName;
    int records = 0;
    QList<int> fieldLengths;

    int recordLength() const;
    bool operator==(const Heading&) const = default;
};

// How both stations behave: the scanner's defaults, each of which the user's settings may change.
struct LinkRules {
    bool serialNumbers = true;
    bool blockCheck = true;
    // The wait for an answer before an ENQ is sent again.
    Millis retryInterval{3000};
    // ENQs of the link phase, and of a data block that got no answer.
    int linkTries = 10;
    int answerTries = 9;
    // NAKs in a row after which a block is given up.
    int nakLimit = 10;
    // How long a receiving station waits for the sender's first ENQ.
    Millis linkUpTime{60000};
};

// Where a transfer stands.
enum class Progress { Running, Done, Failed };

// The name a file is kept under on the scanner: its file name upper-cased, or nothing when it is
// not an 8.3 name of printable characters.
std::optional<QByteArray> scannerFileName(const QString& fileName);

// Why `heading` cannot be sent, in a sentence for the user; empty when it can.
QString headingProblem(const Heading& heading);

// The heading text: the padded name, the record count, the field count and the field lengths.
QByteArray headingText(const Heading& heading);

// The heading a heading text announces, or nothing when it is not one.
std::optional<Heading> readHeadingText(QByteArrayView text);

// A field length in the heading's two bytes: "05", "99", "@0" for 100, "P0" for 200.
QByteArray fieldLengthCode(int length);
// The length two heading bytes give, or 0 when they give none.
int readFieldLengthCode(char first, char second);

// The block check character of the bytes after SOH or STX up to and including ETX.
char blockCheck(QByteArrayView bytes);

// The heading block, and the block of record number `serial` (from 1).
QByteArray headingBlock(const Heading& heading, const LinkRules& rules);
QByteArray dataBlock(int serial, QByteArrayView record, const LinkRules& rules);

// Why `record` cannot go under `heading`: the wrong length, or a control character inside it;
// empty when it can.
QString recordProblem(QByteArrayView record, const Heading& heading);

// A received record as a line of a file (without its CR LF): its fields in order, each without
// the padding at its end, joined by ",".
QByteArray recordLine(QByteArrayView record, const QList<int>& fieldLengths);

}  // namespace fileprotocol
