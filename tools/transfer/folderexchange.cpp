#include "folderexchange.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include "receivedupload.h"
#include "scannermemory.h"

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// PDT_SIM_DELAY_MS makes a transfer take that long, as a real one over the cable does.
void waitLikeTheCable() {
    const QString delay = qEnvironmentVariable("PDT_SIM_DELAY_MS");
    if (delay.isEmpty()) {
        return;
    }
    bool isNumber = false;
    const int msecs = delay.toInt(&isNumber);
    if (!isNumber || msecs < 0) {
        throw scanner::Failure(
            QStringLiteral("PDT_SIM_DELAY_MS '%1' is not a number of milliseconds").arg(delay));
    }
    QThread::msleep(static_cast<unsigned long>(msecs));
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

}  // namespace

void sendItemFileToFolder(const QString& path, const QString& fieldWidths, const ScannerFolder& folder) {
    waitLikeTheCable();
    // The scanner's price-check program reads its items by this one layout.
    if (fieldWidths != scanner::itemFieldWidthsText()) {
        throw scanner::Failure(QStringLiteral("field widths /f%1 do not match the scanner's item layout /f%2")
                                   .arg(fieldWidths, scanner::itemFieldWidthsText()));
    }
    const QByteArray items = scanner::readWhole(path);
    checkRecords(items, path);
    if (!QDir().mkpath(folder.path)) {
        throw scanner::Failure(
            QStringLiteral("cannot make the scanner's memory folder %1").arg(shown(folder.path)));
    }
    scanner::writeAtomically(folder.path + QLatin1Char('/') + scanner::kItemFileName, items);
}

void receiveUploadFromFolder(const QString& path, const ScannerFolder& folder) {
    waitLikeTheCable();
    // Only one of the scanner's uploads can be asked for.
    wantedUploadName(path);
    const QString name = QFileInfo(path).fileName();
    const QString held = folder.path + QLatin1Char('/') + name;
    if (!QFileInfo(held).isFile()) {
        const QString howToMakeOne = folder.simulated ? QStringLiteral("make one with pdt-sim")
                                                      : QStringLiteral("save one on the scanner first");
        throw scanner::Failure(QStringLiteral("the scanner holds no %1 (%2)").arg(name, howToMakeOne));
    }
    scanner::writeAtomically(path, scanner::readWhole(held));
}
