#pragma once

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <vector>

// The item export asks for every item's price in stock_id order, one item at a time. Reading a
// block of items ahead answers those lookups without a statement each. A block is trusted for a
// second only, so a price changed in the shop meanwhile is seen by the next export.
class PriceReadAhead {
public:
    // Reads blocks of items on the shop's connection.
    explicit PriceReadAhead(const QSqlDatabase& connection) : connection_(connection) {}

    // Fills the quantity factor and the price of a stock id; both 0 when there is no such item.
    void lookup(qint32 stockId, double& factor, double& price);

private:
    struct Item {
        qint32 stockId;
        double factor;
        double price;
    };

    bool covers(qint32 stockId) const;
    void readFrom(qint32 stockId);

    QSqlDatabase connection_;
    // How many items one read-ahead takes.
    static constexpr int kBlockSize = 512;
    // The stock ids that the block answers for, items missing from it included.
    qint32 first_ = 1;
    qint32 last_ = 0;
    // The block's items in stock_id order.
    std::vector<Item> items_;
    QElapsedTimer age_;
};
