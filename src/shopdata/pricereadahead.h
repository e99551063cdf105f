#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <utility>

#include "shopdata/shopstatement.h"

// The item export asks for every item's price in stock_id order, one item at a time. Reading a
// block of items ahead answers those lookups without a statement each. A block is trusted for a
// second only, so a price changed in the shop meanwhile is seen by the next export.
class PriceReadAhead {
public:
    // `pricesFrom` selects stock_id, quantity factor and price of up to `blockSize` items from a
    // stock id on, in stock_id order.
    PriceReadAhead(ShopStatement& pricesFrom, int blockSize)
        : pricesFrom_(pricesFrom), blockSize_(blockSize) {}

    // Fills the quantity factor and the price of a stock id; both 0 when there is no such item.
    void lookup(qint32 stockId, double& factor, double& price);

private:
    bool covers(qint32 stockId) const;
    void readFrom(qint32 stockId);

    ShopStatement& pricesFrom_;
    int blockSize_;
    // The stock ids that the block answers for, items missing from it included.
    qint32 first_ = 1;
    qint32 last_ = 0;
    QHash<qint32, std::pair<double, double>> items_;
    QElapsedTimer age_;
};
