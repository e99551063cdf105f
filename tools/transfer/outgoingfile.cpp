#include "outgoingfile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "scannermemory.h"

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString counted(qsizetype number) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(number);
}

QByteArray scannerName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const std::optional<QByteArray> scannerName = fileprotocol::scannerFileName(name);
    if (!scannerName) {
        throw scanner::Failure(QStringLiteral("cannot send %1: the scanner keeps only names of up to 8 "
                                              "characters, a dot and up to 3: rename the file")
                                   .arg(shown(path)));
    }
    return *scannerName;
}

QList<int> fieldLengths(const QString& fieldWidths) {
    QList<int> lengths;
    for (const QString& width : fieldWidths.split(QLatin1Char(','))) {
        bool isNumber = false;
        lengths << width.toInt(&isNumber);
        if (!isNumber) {
            throw scanner::Failure(QStringLiteral("/f%1: %2 is not a field width the scanner could take")
                                       .arg(fieldWidths, width));
        }
    }
    return lengths;
}

// The records of `bytes`, each ending with CR LF, which is left off.
QList<QByteArray> splitRecords(const QByteArray& bytes, const QString& path) {
    QList<QByteArray> records;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lineFeed = bytes.indexOf('\n', start);
        if (lineFeed <= start || bytes.at(lineFeed - 1) != '\r') {
            throw scanner::Failure(QStringLiteral("%1: record %2 does not end with CR LF")
                                       .arg(shown(path))
                                       .arg(records.size() + 1));
        }
        records << bytes.mid(start, lineFeed - 1 - start);
        start = lineFeed + 1;
    }
    return records;
}

}  // namespace

OutgoingFile readOutgoingFile(const QString& path, const QString& fieldWidths) {
    OutgoingFile file;
    file.heading.fileName = scannerName(path);
    file.heading.fieldLengths = fieldLengths(fieldWidths);
    file.records = splitRecords(scanner::readWhole(path), path);
    if (file.records.size() > fileprotocol::kMaxRecords) {
        throw scanner::Failure(
            QStringLiteral("%1 holds %2 items; the scanner takes at most %3 in one "
                           "transfer, so nothing was sent and the scanner keeps its old item file")
                .arg(QFileInfo(path).fileName(), counted(file.records.size()),
                     counted(fileprotocol::kMaxRecords)));
    }
    file.heading.records = static_cast<int>(file.records.size());
    const QString headingProblem = fileprotocol::headingProblem(file.heading);
    if (!headingProblem.isEmpty()) {
        throw scanner::Failure(QStringLiteral("cannot send %1 with /f%2: %3: change the /f list")
                                   .arg(shown(path), fieldWidths, headingProblem));
    }
    for (qsizetype record = 0; record < file.records.size(); ++record) {
        const QString problem = fileprotocol::recordProblem(file.records.at(record), file.heading);
        if (!problem.isEmpty()) {
            throw scanner::Failure(QStringLiteral("%1: record %2 cannot go to the scanner: %3")
                                       .arg(shown(path))
                                       .arg(record + 1)
                                       .arg(problem));
        }
    }
    return file;
}
