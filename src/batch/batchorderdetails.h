#pragma once

#include <QString>
#include <optional>

#include "orderdialog/orderdetailsopener.h"

// The order details dialog as the batch command line answers it: the supplier picked and
// confirmed, the order number typed and OK pressed, with the apply-to-all answer given; without
// an order number the dialog counts as closed without OK.
class BatchOrderDetails : public OrderDetailsOpener {
public:
    BatchOrderDetails(std::optional<qint32> supplierId, std::optional<QString> orderNo, bool applyToAll)
        : supplierId_(supplierId), orderNo_(std::move(orderNo)), applyToAll_(applyToAll) {}

    void openOrderDetails(ModMain& modMain) override;

private:
    std::optional<qint32> supplierId_;
    std::optional<QString> orderNo_;
    bool applyToAll_;
};
