#include "memoryfiles.h"

#include <QFileInfo>

namespace {

QString heldItemFile() {
    return scanner::memoryFile(scanner::kItemFileName);
}

// The records of an upload: its lines except the header and blank lines.
qsizetype countUploadRecords(const QByteArray& bytes, const scanner::UploadMode& mode) {
    qsizetype records = 0;
    for (const QByteArray& line : splitLines(bytes)) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(mode.magic)) {
            ++records;
        }
    }
    return records;
}

}  // namespace

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

QList<HeldItem> readHeldItems() {
    if (!QFileInfo(heldItemFile()).isFile()) {
        throw scanner::Failure(
            QStringLiteral("the scanner holds no item file; send rmItems.dat to it with "
                           "Tsr-tu3a.exe first"));
    }
    QList<HeldItem> items;
    for (const QByteArray& record : splitLines(scanner::readWhole(heldItemFile()))) {
        items.append({record.left(scanner::kStockIdWidth).trimmed(),
                      record.mid(scanner::kStockIdWidth, scanner::kBarcodeWidth).trimmed()});
    }
    if (items.isEmpty()) {
        throw scanner::Failure(QStringLiteral("the scanner's item file holds no items to scan"));
    }
    return items;
}

QStringList describeMemory() {
    QStringList lines{QStringLiteral("Scanner memory: %1").arg(scanner::memoryFolder())};
    const QString itemFile = heldItemFile();
    lines << (QFileInfo(itemFile).isFile()
                  ? QStringLiteral("Item file: %1 items").arg(splitLines(scanner::readWhole(itemFile)).size())
                  : QStringLiteral("Item file: none"));
    for (const scanner::UploadMode& mode : scanner::kUploadModes) {
        const QString upload = scanner::memoryFile(QLatin1String(mode.fileName));
        lines << (QFileInfo(upload).isFile() ? QStringLiteral("%1: %2 records")
                                                   .arg(QLatin1String(mode.fileName))
                                                   .arg(countUploadRecords(scanner::readWhole(upload), mode))
                                             : QStringLiteral("%1: none").arg(QLatin1String(mode.fileName)));
    }
    return lines;
}
