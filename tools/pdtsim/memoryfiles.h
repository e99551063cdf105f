#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include "scannermemory.h"

// Reading what the scanner's memory holds: the item file's items and the uploads' records.

// One item of the held item file, as the scanner's price-check program knows it.
struct HeldItem {
    QByteArray stockId;
    QByteArray barcode;
};

// The lines of a scanner file without their CR LF ends.
QList<QByteArray> splitLines(const QByteArray& bytes);

// The items of the held item file; raises scanner::Failure when there is no item file or it
// holds no items.
QList<HeldItem> readHeldItems();

// What `pdt-sim show` prints: the memory folder, the item count and each upload's record count.
QStringList describeMemory();
