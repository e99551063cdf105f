#include "webtransfer.h"

#include <QFileInfo>

#include "receivedupload.h"
#include "scannermemory.h"
#include "websession.h"

void sendOverWeb(const TransferCommand& command, const ScannerLink& link,
                 const platform::ScannerSettings& settings, const TransferFace& face) {
    if (command.fieldWidths != scanner::itemFieldWidthsText()) {
        throw scanner::Failure(QStringLiteral("the handheld page reads item files of the fields %1, not %2")
                                   .arg(scanner::itemFieldWidthsText(), command.fieldWidths));
    }
    HandheldOffer offer;
    offer.fileName = QFileInfo(command.path).fileName();
    offer.itemFile = scanner::readWhole(command.path);
    offer.itemRecords = static_cast<int>(offer.itemFile.count(scanner::kLineEnd));
    WebSession session(std::move(offer), settings,
                       QStringLiteral("Sending %1").arg(QFileInfo(command.path).fileName()), face.stops);
    session.run(link.described(), face.windowed);
}

void receiveOverWeb(const TransferCommand& command, const ScannerLink& link,
                    const platform::ScannerSettings& settings, const TransferFace& face) {
    wantedUploadName(command.path);
    HandheldOffer offer;
    offer.sending = false;
    offer.fileName = QFileInfo(command.path).fileName();
    offer.uploadPath = command.path;
    WebSession session(std::move(offer), settings,
                       QStringLiteral("Receiving %1").arg(QFileInfo(command.path).fileName()), face.stops);
    session.run(link.described(), face.windowed);
}
