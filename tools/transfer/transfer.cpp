#include "transfer.h"

#include <QDir>
#include <QFileInfo>

#include "scannermemory.h"

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Every record must be exactly as long as its fields together and end with CR LF; an empty file
// holds no records and is fine.
void checkRecords(const QByteArray& bytes, const QString& path) {
    qsizetype start = 0;
    for (int record = 1; start < bytes.size(); ++record) {
        const qsizetype lineFeed = bytes.indexOf('\n', start);
        const qsizetype end = lineFeed < 0 ? bytes.size() : lineFeed;
        if (lineFeed < 0 || end == start || bytes.at(end - 1) != '\r') {
            throw scanner::Failure(
                QStringLiteral("%1: record %2 does not end with CR LF").arg(shown(path)).arg(record));
        }
        const qsizetype length = end - 1 - start;
        if (length != scanner::kItemRecordLength || bytes.mid(start, length).contains('\r')) {
            throw scanner::Failure(QStringLiteral("%1: record %2 is %3 characters long; /f%4 makes %5")
                                       .arg(shown(path))
                                       .arg(record)
                                       .arg(length)
                                       .arg(scanner::itemFieldWidthsText())
                                       .arg(scanner::kItemRecordLength));
        }
        start = end + 1;
    }
}

bool isUploadName(const QString& name) {
    for (const scanner::UploadMode& mode : scanner::kUploadModes) {
        if (name == QLatin1String(mode.fileName)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void sendItemFile(const QString& path, const QString& fieldWidths) {
    // The scanner's price-check program reads its items by this one layout.
    if (fieldWidths != scanner::itemFieldWidthsText()) {
        throw scanner::Failure(QStringLiteral("field widths /f%1 do not match the scanner's item layout /f%2")
                                   .arg(fieldWidths, scanner::itemFieldWidthsText()));
    }
    const QByteArray items = scanner::readWhole(path);
    checkRecords(items, path);
    if (!QDir().mkpath(scanner::memoryFolder())) {
        throw scanner::Failure(
            QStringLiteral("cannot make the scanner's memory folder %1").arg(shown(scanner::memoryFolder())));
    }
    scanner::writeAtomically(scanner::memoryFile(scanner::kItemFileName), items);
}

void receiveUpload(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (!isUploadName(name)) {
        throw scanner::Failure(
            QStringLiteral("the scanner has no upload called '%1' (Stock.dat, Orders.dat or Goods.dat)")
                .arg(name));
    }
    const QString held = scanner::memoryFile(name);
    if (!QFileInfo(held).isFile()) {
        throw scanner::Failure(QStringLiteral("the scanner holds no %1 (make one with pdt-sim)").arg(name));
    }
    scanner::writeAtomically(path, scanner::readWhole(held));
}
