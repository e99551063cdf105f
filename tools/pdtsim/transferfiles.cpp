#include "transferfiles.h"

#include <QDir>

#include <QFileInfo>
#include <algorithm>

#include "memoryfiles.h"
#include "scannermemory.h"

namespace {

// The memory's own spelling of a file name the heading gives in upper case.
QString memoryName(const QByteArray& headingName) {
    const QString name = QString::fromLatin1(headingName);
    QStringList known{scanner::kItemFileName};
    for (const scanner::UploadMode& mode : scanner::kUploadModes) {
        known << QLatin1String(mode.fileName);
    }
    for (const QString& candidate : known) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) {
            return candidate;
        }
    }
    return name;
}

int longestLine(const QList<QByteArray>& lines) {
    qsizetype longest = 1;
    for (const QByteArray& line : lines) {
        longest = std::max(longest, line.size());
    }
    return static_cast<int>(longest);
}

void checkFits(const QString& fileName, const QList<QByteArray>& lines, int width) {
    if (lines.size() > fileprotocol::kMaxRecords) {
        throw scanner::Failure(QStringLiteral("%1 has %2 lines, more than one transfer holds (%3)")
                                   .arg(fileName)
                                   .arg(lines.size())
                                   .arg(fileprotocol::kMaxRecords));
    }
    if (width > fileprotocol::kMaxFieldLength) {
        throw scanner::Failure(
            QStringLiteral("%1 has a line of %2 characters, longer than a field holds (%3)")
                .arg(fileName)
                .arg(width)
                .arg(fileprotocol::kMaxFieldLength));
    }
}

}  // namespace

QString storeReceivedFile(const fileprotocol::Heading& heading, const QList<QByteArray>& records) {
    QByteArray content;
    content.reserve(records.size() * (heading.recordLength() + scanner::kLineEnd.size()));
    for (const QByteArray& record : records) {
        content += record;
        content += scanner::kLineEnd;
    }
    const QString name = memoryName(heading.fileName);
    if (!QDir().mkpath(scanner::memoryFolder())) {
        throw scanner::Failure(QStringLiteral("cannot make the scanner's memory folder %1")
                                   .arg(QDir::toNativeSeparators(scanner::memoryFolder())));
    }
    scanner::writeAtomically(scanner::memoryFile(name), content);
    return name;
}

bool holdsUpload(const QString& fileName) {
    return QFileInfo(scanner::memoryFile(fileName)).isFile();
}

UploadOffer readUploadOffer(const QString& fileName) {
    const QList<QByteArray> lines = splitLines(scanner::readWhole(scanner::memoryFile(fileName)));
    const int width = longestLine(lines);
    checkFits(fileName, lines, width);
    const std::optional<QByteArray> scannerName = fileprotocol::scannerFileName(fileName);
    if (!scannerName) {
        throw scanner::Failure(QStringLiteral("%1 is not a name the scanner can send").arg(fileName));
    }
    UploadOffer offer{{*scannerName, static_cast<int>(lines.size()), {width}}, {}};
    const QString problem = fileprotocol::headingProblem(offer.heading);
    if (!problem.isEmpty()) {
        throw scanner::Failure(QStringLiteral("%1 cannot be sent: %2").arg(fileName, problem));
    }
    for (const QByteArray& line : lines) {
        offer.records << line.leftJustified(width, ' ');
        const QString recordProblem = fileprotocol::recordProblem(offer.records.last(), offer.heading);
        if (!recordProblem.isEmpty()) {
            throw scanner::Failure(QStringLiteral("%1 line %2 cannot be sent: %3")
                                       .arg(fileName)
                                       .arg(offer.records.size())
                                       .arg(recordProblem));
        }
    }
    return offer;
}
