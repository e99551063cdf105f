#include "receivedupload.h"

#include <QFileInfo>

#include "scannermemory.h"

QByteArray wantedUploadName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (scanner::uploadModeOfFile(name)) {
        return fileprotocol::scannerFileName(name).value();
    }
    throw scanner::Failure(
        QStringLiteral("the scanner has no upload called '%1' (Stock.dat, Orders.dat or Goods.dat)")
            .arg(name));
}

void writeUpload(const QString& path, const fileprotocol::Heading& heading,
                 const QList<QByteArray>& records) {
    QByteArray bytes;
    for (const QByteArray& record : records) {
        bytes += fileprotocol::recordLine(record, heading.fieldLengths);
        bytes += scanner::kLineEnd;
    }
    scanner::writeAtomically(path, bytes);
}
