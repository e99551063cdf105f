#include "platform/pairedhandhelds.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>
#include <array>

#include "platform/programerror.h"
#include "platform/scannersettings.h"
#include "platform/userfolders.h"

// The file is of the INI kind, one [handheld] section a handheld:
//
//   [handheld]
//   name=Back room
//   token-sha256=<64 hex digits>
//   paired=2024-05-01T10:00:00Z
//   last-used=2024-05-02T08:30:00Z
//
// A name is written as it is, but for "%", control characters and spaces at its ends, which are
// written as %XX, so that any name comes back as it went in.

namespace {

// A handheld asks every few seconds while a transfer runs: its time of use is written at most this
// far apart.
constexpr qint64 kLastUsedEverySecs = 60;

using platform::PairedHandheld;

constexpr int kTokenBytes = 32;
// How long a write waits for another program (the utility, the batch) to finish its own.
constexpr int kLockWaitMsecs = 5000;

const QByteArray kSection = QByteArrayLiteral("[handheld]");
const QByteArray kNameKey = QByteArrayLiteral("name");
const QByteArray kDigestKey = QByteArrayLiteral("token-sha256");
const QByteArray kPairedKey = QByteArrayLiteral("paired");
const QByteArray kLastUsedKey = QByteArrayLiteral("last-used");

// A handheld as the file holds it: with its token's digest.
struct Record {
    PairedHandheld handheld;
    QByteArray digest;
};

QByteArray digestOf(const QString& token) {
    return QCryptographicHash::hash(token.toUtf8(), QCryptographicHash::Sha256);
}

// Compares two digests in a time that does not depend on where they differ, so that a handheld
// cannot find a token by timing its guesses.
bool sameDigest(const QByteArray& left, const QByteArray& right) {
    if (left.size() != right.size() || left.isEmpty()) {
        return false;
    }
    unsigned char difference = 0;
    for (qsizetype i = 0; i < left.size(); ++i) {
        difference |= static_cast<unsigned char>(left[i] ^ right[i]);
    }
    return difference == 0;
}

QByteArray encodedName(const QString& name) {
    const QByteArray bytes = name.toUtf8();
    QByteArray written;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool atAnEnd = i == 0 || i == bytes.size() - 1;
        if (byte < 0x20 || byte == 0x7f || byte == '%' || (byte == ' ' && atAnEnd)) {
            written += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        } else {
            written += bytes[i];
        }
    }
    return written;
}

QByteArray timeText(const QDateTime& time) {
    return time.isValid() ? time.toUTC().toString(Qt::ISODate).toLatin1() : QByteArray();
}

QDateTime timeFrom(const QByteArray& text) {
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

ProgramError notWritten(const QString& path, const QString& reason) {
    return ProgramError(errnum::PathFileAccessError,
                        QStringLiteral("cannot write the paired handhelds to %1 (%2): make its folder "
                                       "writable for you, or point RMSTOCKHAND_SCANNER_SETTINGS at a "
                                       "scanner.ini in a folder that is")
                            .arg(shown(path), reason));
}

// The records of the file at `path`; none when it is not there. A section that lacks a name or a
// digest of the right size is passed over.
QList<Record> readRecords(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw ProgramError(errnum::PathFileAccessError,
                           QStringLiteral("cannot read the paired handhelds in %1 (%2): make it readable "
                                          "for you, or move it away and pair the handhelds again")
                               .arg(shown(path), file.errorString()));
    }
    QList<Record> records;
    // The handheld section being read, if any.
    Record current;
    bool inSection = false;
    const auto finish = [&records, &current, &inSection] {
        if (inSection && !current.handheld.name.isEmpty() && current.digest.size() == 32) {
            records.append(current);
        }
        current = Record();
        inSection = false;
    };
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (line.startsWith('[')) {
            finish();
            inSection = line.trimmed() == kSection;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals < 0) {
            continue;
        }
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1);
        if (key == kNameKey) {
            current.handheld.name = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        } else if (key == kDigestKey) {
            current.digest = QByteArray::fromHex(value.trimmed());
        } else if (key == kPairedKey) {
            current.handheld.pairedAt = timeFrom(value.trimmed());
        } else if (key == kLastUsedKey) {
            current.handheld.lastUsed = timeFrom(value.trimmed());
        }
    }
    finish();
    return records;
}

// Replaces the file at `path` with `records`, whole, readable and writable by the user alone.
void writeRecords(const QString& path, const QList<Record>& records) {
    QByteArray bytes = QByteArrayLiteral(
        "; The handhelds paired with the transfer utility's handheld page, each with a digest of its\n"
        "; token. rmstockhand-batch scanner-devices lists them; rmstockhand-batch forget NAME takes one "
        "out.\n");
    for (const Record& record : records) {
        bytes += '\n' + kSection + '\n';
        bytes += kNameKey + '=' + encodedName(record.handheld.name) + '\n';
        bytes += kDigestKey + '=' + record.digest.toHex() + '\n';
        bytes += kPairedKey + '=' + timeText(record.handheld.pairedAt) + '\n';
        bytes += kLastUsedKey + '=' + timeText(record.handheld.lastUsed) + '\n';
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        throw notWritten(path, file.errorString());
    }
}

// Holds the file for one reading and writing, so that a handheld taken out by the batch is not
// written back by the utility marking it used.
class FileLock {
public:
    explicit FileLock(const QString& path) : lock_(path + QStringLiteral(".lock")) {
        if (lock_.tryLock(kLockWaitMsecs)) {
            return;
        }
        if (lock_.error() == QLockFile::LockFailedError) {
            throw ProgramError(errnum::PermissionDenied,
                               QStringLiteral("the paired handhelds in %1 are being written by another "
                                              "program: try again when it is done")
                                   .arg(shown(path)));
        }
        throw notWritten(path, QStringLiteral("its lock file cannot be made"));
    }

private:
    QLockFile lock_;
};

QString newToken() {
    std::array<quint32, kTokenBytes / sizeof(quint32)> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray bytes(reinterpret_cast<const char*>(words.data()), kTokenBytes);
    return QString::fromLatin1(
        bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

}  // namespace

namespace platform {

QString pairedHandheldsPath() {
    return QFileInfo(scannerSettingsPath()).absolutePath() + QStringLiteral("/handhelds.ini");
}

QList<PairedHandheld> readPairedHandhelds(const QString& path) {
    QList<PairedHandheld> handhelds;
    for (const Record& record : readRecords(path)) {
        handhelds.append(record.handheld);
    }
    std::sort(handhelds.begin(), handhelds.end(), [](const PairedHandheld& a, const PairedHandheld& b) {
        const int caseless = a.name.compare(b.name, Qt::CaseInsensitive);
        return caseless != 0 ? caseless < 0 : a.name < b.name;
    });
    return handhelds;
}

QString pairHandheld(const QString& path, const QString& name, const QDateTime& now) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!makeUserFolder(folder)) {
        throw notWritten(path, QStringLiteral("the folder cannot be made"));
    }
    const FileLock lock(path);
    QList<Record> records = readRecords(path);
    records.removeIf([&name](const Record& record) { return record.handheld.name == name; });
    const QString token = newToken();
    records.append({{name, now, QDateTime()}, digestOf(token)});
    writeRecords(path, records);
    return token;
}

std::optional<QString> handheldWithToken(const QString& path, const QString& token, const QDateTime& now) {
    if (token.isEmpty() || !QFileInfo::exists(path)) {
        return std::nullopt;
    }
    const QByteArray digest = digestOf(token);
    std::optional<FileLock> lock;
    try {
        lock.emplace(path);
    } catch (const ProgramError&) {
        // Only the time of use is lost: the file is read as it stands.
    }
    QList<Record> records = readRecords(path);
    qsizetype found = -1;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (sameDigest(records[i].digest, digest)) {
            found = i;
        }
    }
    if (found < 0) {
        return std::nullopt;
    }
    const QDateTime& lastUsed = records[found].handheld.lastUsed;
    if (lock && (!lastUsed.isValid() || lastUsed.secsTo(now) >= kLastUsedEverySecs)) {
        records[found].handheld.lastUsed = now;
        try {
            writeRecords(path, records);
        } catch (const ProgramError&) {
            // A disk that takes no writes must not lock the handhelds out in the middle of a count.
        }
    }
    return records[found].handheld.name;
}

bool forgetHandheld(const QString& path, const QString& name) {
    if (!QFileInfo::exists(path)) {
        return false;
    }
    const FileLock lock(path);
    QList<Record> records = readRecords(path);
    if (records.removeIf([&name](const Record& record) { return record.handheld.name == name; }) == 0) {
        return false;
    }
    writeRecords(path, records);
    return true;
}

}  // namespace platform
