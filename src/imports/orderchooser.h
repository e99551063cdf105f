#pragma once

#include <QString>

#include "startup/goodssession.h"

// Opens the order details dialog modally for a goods-received record that came without an order
// number, and gives its answer once it has closed. The window shows the dialog; the batch answers
// it from its options.
class OrderChooser {
public:
    virtual ~OrderChooser() = default;
    // `barcode` is the scanned item's; `supplierId` the supplier settled so far.
    virtual OrderDetailsAnswer chooseOrder(const QString& barcode, qint32 supplierId) = 0;
};
