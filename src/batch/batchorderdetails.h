#pragma once

#include <QString>
#include <optional>

#include "imports/orderchooser.h"

class Prompts;
class ShopDataObject;

// What the batch says of a --supplier that the shop's list of suppliers lacks, listing the ones it
// holds; empty when the list holds it.
QString unknownSupplierText(ShopDataObject& shop, qint32 supplierId);

// The order details dialog as the batch command line answers it, by the dialog's own rules:
// activation offers the supplier the dialog offers; --supplier picks that supplier and answers its
// confirmation Yes; --order-no types the number and presses OK, --apply-to-all answering the
// apply-to-all question (No without it). Without --order-no the dialog is closed without OK, once
// the supplier, if any, was picked. Every text the dialog shows goes out as the batch's messages.
class BatchOrderDetails : public OrderChooser {
public:
    // The dialog's texts go to `prompts`; its lists come from `shop`.
    BatchOrderDetails(Prompts& prompts, ShopDataObject& shop, std::optional<qint32> supplierId,
                      std::optional<QString> orderNo, bool applyToAll)
        : prompts_(prompts),
          shop_(shop),
          supplierId_(supplierId),
          orderNo_(std::move(orderNo)),
          applyToAll_(applyToAll) {}

    OrderDetailsAnswer chooseOrder(const QString& barcode, qint32 supplierId) override;

private:
    Prompts& prompts_;
    ShopDataObject& shop_;
    std::optional<qint32> supplierId_;
    std::optional<QString> orderNo_;
    bool applyToAll_;
};
