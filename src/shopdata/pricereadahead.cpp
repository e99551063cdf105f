#include "shopdata/pricereadahead.h"

#include <limits>

namespace {

constexpr qint64 kTrustedMs = 1000;

}  // namespace

void PriceReadAhead::lookup(qint32 stockId, double& factor, double& price) {
    if (!covers(stockId)) {
        readFrom(stockId);
    }
    const std::pair<double, double> item = items_.value(stockId, {0.0, 0.0});
    factor = item.first;
    price = item.second;
}

bool PriceReadAhead::covers(qint32 stockId) const {
    return age_.isValid() && age_.elapsed() < kTrustedMs && stockId >= first_ && stockId <= last_;
}

void PriceReadAhead::readFrom(qint32 stockId) {
    items_.clear();
    age_.invalidate();
    const QList<QVariantList> rows = pricesFrom_.allValues({stockId});
    for (const QVariantList& row : rows) {
        items_.insert(row.value(0).toInt(), {row.value(1).toDouble(), row.value(2).toDouble()});
    }
    first_ = stockId;
    // A short block reached the end of the stock table: nothing lies beyond it.
    last_ = rows.size() < blockSize_ ? std::numeric_limits<qint32>::max() : rows.last().value(0).toInt();
    age_.start();
}
