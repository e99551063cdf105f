#include "scansession.h"

#include <QSet>
#include <random>

namespace {

enum class ScanKind { Known, Deleted, Unknown };

ScanKind kindOf(int scan) {
    switch (scan % 6) {
        case 2:
            return ScanKind::Deleted;
        case 4:
            return ScanKind::Unknown;
        default:
            return ScanKind::Known;
    }
}

// One scan's fields, before the upload mode lays them out.
struct Scan {
    QByteArray stockId;
    QByteArray barcode;
    QByteArray quantity;
};

// A 12-digit code that starts with 0 reads as its 13-digit form with a second leading 0.
QByteArray asScanned(const QByteArray& barcode) {
    return barcode.size() == 12 && barcode.startsWith('0') ? QByteArrayLiteral("0") + barcode : barcode;
}

// A barcode from outside the item file: a code the shop has never entered.
QByteArray unknownBarcode(int scan, const QSet<QByteArray>& known) {
    qint64 number = 9399999000000 + scan;
    while (known.contains(QByteArray::number(number))) {
        ++number;
    }
    return QByteArray::number(number);
}

// Items with barcodes to pick from: an item without one cannot be scanned.
QList<HeldItem> scannable(const QList<HeldItem>& items) {
    QList<HeldItem> withBarcodes;
    for (const HeldItem& item : items) {
        if (!item.barcode.isEmpty()) {
            withBarcodes << item;
        }
    }
    return withBarcodes.isEmpty() ? items : withBarcodes;
}

class ShopAssistant {
public:
    ShopAssistant(const QList<HeldItem>& items, const ScanOptions& options)
        : items_(scannable(items)), random_(options.seed) {
        for (const HeldItem& item : items) {
            known_ << item.barcode;
            highestStockId_ = std::max(highestStockId_, item.stockId.toLongLong());
        }
    }

    // Stocktake counts sometimes have a half; orders and deliveries are whole.
    Scan scan(int index, bool halves) {
        const HeldItem& item = items_.at(static_cast<qsizetype>(random_() % items_.size()));
        QByteArray quantity = QByteArray::number(1 + random_() % 24);
        if (halves && index % 5 == 1) {
            quantity += ".5";
        }
        switch (kindOf(index)) {
            case ScanKind::Deleted:
                return {item.stockId, scanner::kDeletedMarker, quantity};
            case ScanKind::Unknown:
                // The scanner records stock id 0 for a code it cannot find, unless keyed in by hand.
                return {index % 12 == 4 ? QByteArrayLiteral("0")
                                        : QByteArray::number(highestStockId_ + 1 + index),
                        unknownBarcode(index, known_), quantity};
            case ScanKind::Known:
                break;
        }
        return {item.stockId, asScanned(item.barcode), quantity};
    }

private:
    QList<HeldItem> items_;
    QSet<QByteArray> known_;
    qint64 highestStockId_ = 0;
    std::mt19937 random_;
};

// The order number typed in for a delivery, left blank, or left at the scanner's 0.
QByteArray orderNoFor(int index, const ScanOptions& options) {
    switch (index % 3) {
        case 0:
            return options.orderNo;
        case 1:
            return QByteArray();
        default:
            return QByteArrayLiteral("0");
    }
}

QByteArray record(const scanner::UploadMode& mode, const Scan& scan, int index, const ScanOptions& options) {
    QByteArrayList fields{scan.stockId, scan.barcode};
    if (mode.fields == 5) {
        fields << QByteArrayLiteral("0") << orderNoFor(index, options);
    }
    fields << scan.quantity;
    return fields.join(',');
}

}  // namespace

QByteArray scanUpload(const scanner::UploadMode& mode, const QList<HeldItem>& items,
                      const ScanOptions& options) {
    const bool halves = qstrcmp(mode.command, "stocktake") == 0;
    ShopAssistant assistant(items, options);
    QByteArray upload = QByteArray(mode.magic) + scanner::kLineEnd;
    for (int index = 0; index < options.records; ++index) {
        upload += record(mode, assistant.scan(index, halves), index, options) + scanner::kLineEnd;
    }
    return upload;
}
