#pragma once

#include <QHash>
#include <QString>
#include <optional>

// What the order details dialog answered for one goods-received record.
struct OrderDetailsAnswer {
    // The supplier the dialog settled, on activation or by a pick; nothing when it settled none.
    std::optional<qint32> supplierId;
    // Set when the dialog closed with OK: the order number as typed, with the answer to the
    // apply-to-all question beside it.
    std::optional<QString> orderNo;
    bool applyToAll = false;
};

// The goods-received values that outlive one record: the supplier the order details dialog last
// settled, the order number it last accepted, and whether that number goes to every later record
// that comes without one. A check, which writes nothing, also keeps here what the receipts it has
// decided would have left on hand.
struct GoodsSession {
    qint32 lSupplierID = 0;
    QString sChosenOrderNo;
    bool bApplyOrderNoToAll = false;
    // By item key: the quantity on hand after the receipts decided but not written.
    QHash<qint32, double> onHandUnwritten;

    std::optional<double> unwrittenOnHand(qint32 itemKey) const {
        const auto found = onHandUnwritten.constFind(itemKey);
        return found == onHandUnwritten.cend() ? std::nullopt : std::optional(*found);
    }

    // Keeps what the dialog settled; a dialog closed without OK leaves the order number as it was.
    void take(const OrderDetailsAnswer& answer) {
        if (answer.supplierId) {
            lSupplierID = *answer.supplierId;
        }
        if (answer.orderNo) {
            sChosenOrderNo = *answer.orderNo;
            bApplyOrderNoToAll = answer.applyToAll;
        }
    }
};
