#include "shopdata/pricereadahead.h"

#include <algorithm>
#include <limits>

#include "platform/recordset.h"

namespace {

constexpr qint64 kTrustedMs = 1000;

}  // namespace

void PriceReadAhead::lookup(qint32 stockId, double& factor, double& price) {
    if (!covers(stockId)) {
        readFrom(stockId);
    }
    const auto item = std::lower_bound(items_.cbegin(), items_.cend(), stockId,
                                       [](const Item& held, qint32 wanted) { return held.stockId < wanted; });
    const bool found = item != items_.cend() && item->stockId == stockId;
    factor = found ? item->factor : 0.0;
    price = found ? item->price : 0.0;
}

bool PriceReadAhead::covers(qint32 stockId) const {
    return age_.isValid() && age_.elapsed() < kTrustedMs && stockId >= first_ && stockId <= last_;
}

void PriceReadAhead::readFrom(qint32 stockId) {
    items_.clear();
    age_.invalidate();
    // A recordset, not a prepared statement: Qt's conversions of every value would cost the
    // export more than reading the block itself.
    platform::Recordset block;
    block.open(QStringLiteral("select stock_id, QtyFactor, Price from stock where stock_id >= ") +
                   QString::number(stockId) + QStringLiteral(" order by stock_id limit ") +
                   QString::number(kBlockSize),
               connection_);
    for (; !block.eof(); block.moveNext()) {
        items_.push_back({block.field(QStringLiteral("stock_id")).toInt(),
                          block.field(QStringLiteral("QtyFactor")).toDouble(),
                          block.field(QStringLiteral("Price")).toDouble()});
    }
    block.close();
    first_ = stockId;
    // A short block reached the end of the stock table: nothing lies beyond it.
    last_ = std::ssize(items_) < kBlockSize ? std::numeric_limits<qint32>::max() : items_.back().stockId;
    age_.start();
}
