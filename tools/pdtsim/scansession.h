#pragma once

#include <QByteArray>
#include <QList>

#include "memoryfiles.h"
#include "scannermemory.h"

// How a simulated shop assistant scans: how many records, which random run, and the purchase
// order number typed in for goods received.
struct ScanOptions {
    int records = 12;
    quint32 seed = 1;
    QByteArray orderNo = QByteArrayLiteral("102");
};

// The upload file a shop assistant leaves on the scanner after scanning the held items in `mode`:
// the header line, then one record per scan. Every sixth scan from the third on is deleted on
// the scanner and every sixth from the fifth on is of an item the item file does not know; goods
// records take turns with the order number, a blank one and "0".
QByteArray scanUpload(const scanner::UploadMode& mode, const QList<HeldItem>& items,
                      const ScanOptions& options);
