#include "fileprotocol.h"

#include <numeric>

namespace fileprotocol {

namespace {

constexpr int kCountWidth = 5;
constexpr int kFieldCountWidth = 2;
constexpr int kCodeWidth = 2;

bool isControl(char byte) {
    return static_cast<unsigned char>(byte) < 0x20 || byte == 0x7f;
}

// A whole number written in exactly `width` digits, or -1.
int readDigits(QByteArrayView text) {
    int value = 0;
    for (char digit : text) {
        if (digit < '0' || digit > '9') {
            return -1;
        }
        value = value * 10 + (digit - '0');
    }
    return value;
}

QByteArray digits(int value, int width) {
    return QByteArray::number(value).rightJustified(width, '0');
}

}  // namespace

int Heading::recordLength() const {
    return std::accumulate(fieldLengths.begin(), fieldLengths.end(), 0);
}

std::optional<QByteArray> scannerFileName(const QString& fileName) {
    const QByteArray name = fileName.toUpper().toLatin1();
    const qsizetype dot = name.indexOf('.');
    const qsizetype stem = dot < 0 ? name.size() : dot;
    const qsizetype extension = dot < 0 ? 0 : name.size() - dot - 1;
    if (fileName.size() != name.size() || stem < 1 || stem > 8 || extension > 3 || name.count('.') > 1 ||
        name.contains(' ')) {
        return std::nullopt;
    }
    for (char byte : name) {
        if (isControl(byte) || static_cast<unsigned char>(byte) > 0x7e) {
            return std::nullopt;
        }
    }
    return name;
}

QString headingProblem(const Heading& heading) {
    if (heading.fileName.isEmpty() || heading.fileName.size() > kFileNameWidth) {
        return QStringLiteral("the file name '%1' is not an 8.3 name").arg(QLatin1String(heading.fileName));
    }
    if (heading.records < 0 || heading.records > kMaxRecords) {
        return QStringLiteral("%1 records are more than the %2 the scanner takes in one transfer")
            .arg(heading.records)
            .arg(kMaxRecords);
    }
    const auto fields = static_cast<int>(heading.fieldLengths.size());
    if (fields < 1 || fields > kMaxFields) {
        return QStringLiteral("a record has %1 fields; the scanner takes 1 to %2")
            .arg(fields)
            .arg(kMaxFields);
    }
    for (int length : heading.fieldLengths) {
        if (length < 1 || length > kMaxFieldLength) {
            return QStringLiteral("a field of %1 characters; the scanner takes 1 to %2")
                .arg(length)
                .arg(kMaxFieldLength);
        }
    }
    if (heading.recordLength() + fields > kMaxLayout) {
        return QStringLiteral(
                   "the fields come to %1 characters with their count; the scanner takes at most %2")
            .arg(heading.recordLength() + fields)
            .arg(kMaxLayout);
    }
    return {};
}

QByteArray fieldLengthCode(int length) {
    if (length < 100) {
        return digits(length, kCodeWidth);
    }
    const char first = static_cast<char>(0x30 + 0x10 * (length / 100) + (length / 10) % 10);
    return QByteArray(1, first) + char('0' + length % 10);
}

int readFieldLengthCode(char first, char second) {
    if (second < '0' || second > '9') {
        return 0;
    }
    const int units = second - '0';
    if (first >= '0' && first <= '9') {
        return (first - '0') * 10 + units;
    }
    const int hundreds = (static_cast<unsigned char>(first) - 0x30) / 0x10;
    const int tens = (static_cast<unsigned char>(first) - 0x30) % 0x10;
    if (first < 0x30 || hundreds < 1 || hundreds > 2 || tens > 9) {
        return 0;
    }
    return hundreds * 100 + tens * 10 + units;
}

QByteArray headingText(const Heading& heading) {
    QByteArray text = heading.fileName.leftJustified(kFileNameWidth, ' ', true);
    text += digits(heading.records, kCountWidth);
    text += digits(static_cast<int>(heading.fieldLengths.size()), kFieldCountWidth);
    for (int length : heading.fieldLengths) {
        text += fieldLengthCode(length);
    }
    return text;
}

std::optional<Heading> readHeadingText(QByteArrayView text) {
    const qsizetype fixed = kFileNameWidth + kCountWidth + kFieldCountWidth;
    if (text.size() < fixed) {
        return std::nullopt;
    }
    Heading heading;
    heading.fileName = text.first(kFileNameWidth).toByteArray().trimmed();
    heading.records = readDigits(text.sliced(kFileNameWidth, kCountWidth));
    const int fields = readDigits(text.sliced(kFileNameWidth + kCountWidth, kFieldCountWidth));
    if (heading.records < 0 || fields < 1 || text.size() != fixed + fields * kCodeWidth) {
        return std::nullopt;
    }
    for (qsizetype at = fixed; at < text.size(); at += kCodeWidth) {
        heading.fieldLengths << readFieldLengthCode(text[at], text[at + 1]);
    }
    if (!headingProblem(heading).isEmpty()) {
        return std::nullopt;
    }
    return heading;
}

char blockCheck(QByteArrayView bytes) {
    char check = 0;
    for (char byte : bytes) {
        check = static_cast<char>(check ^ byte);
    }
    return check;
}

namespace {

// SOH or STX, the body, ETX, and the check character when the rules have it.
QByteArray block(char start, const QByteArray& body, const LinkRules& rules) {
    QByteArray bytes;
    bytes.reserve(body.size() + 3);
    bytes += start;
    bytes += body;
    bytes += kEtx;
    if (rules.blockCheck) {
        bytes += blockCheck(QByteArrayView(bytes).sliced(1));
    }
    return bytes;
}

}  // namespace

QByteArray headingBlock(const Heading& heading, const LinkRules& rules) {
    return block(kSoh, headingText(heading), rules);
}

QByteArray dataBlock(int serial, QByteArrayView record, const LinkRules& rules) {
    QByteArray body = rules.serialNumbers ? digits(serial, kSerialWidth) : QByteArray();
    body += record;
    return block(kStx, body, rules);
}

QString recordProblem(QByteArrayView record, const Heading& heading) {
    if (record.size() != heading.recordLength()) {
        return QStringLiteral("it is %1 characters long; its fields make %2")
            .arg(record.size())
            .arg(heading.recordLength());
    }
    for (qsizetype at = 0; at < record.size(); ++at) {
        if (isControl(record[at])) {
            return QStringLiteral("character %1 is a control character, which the line cannot carry")
                .arg(at + 1);
        }
    }
    return {};
}

QByteArray recordLine(QByteArrayView record, const QList<int>& fieldLengths) {
    QByteArray line;
    qsizetype at = 0;
    for (int length : fieldLengths) {
        const qsizetype start = std::min(at, record.size());
        QByteArrayView field = record.sliced(start, std::min<qsizetype>(length, record.size() - start));
        while (!field.isEmpty() && field.back() == ' ') {
            field.chop(1);
        }
        if (at > 0) {
            line += ',';
        }
        line += field;
        at += length;
    }
    return line;
}

}  // namespace fileprotocol
