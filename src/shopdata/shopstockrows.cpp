#include "shopdata/shopstockrows.h"

#include "platform/programerror.h"
#include "shopdata/shopstatement.h"
#include "shopdata/shopstatements.h"

ShopStockRows::ShopStockRows(const QSqlDatabase& connection, ShopStatement& item) : item_(item) {
    // Every column of the stock table, in stock id order; only the record's fields and the two that
    // the price lookup answers from are fetched.
    rows_.open(QStringLiteral("select * from stock order by stock_id"), connection,
               {QStringLiteral("stock_id"), QStringLiteral("BarCode"), QStringLiteral("Description"),
                QStringLiteral("Price"), QStringLiteral("QtyFactor")});
    if (!rows_.eof()) {
        columns_ = columnsOf(rows_);
    }
}

ShopStockRows::Columns ShopStockRows::columnsOf(const platform::Recordset& rows) {
    const auto needed = [&](const QString& name) {
        const qsizetype index = rows.columnOf(name);
        if (index < 0) {
            throw itemNotFoundError();
        }
        return index;
    };
    return {needed(QStringLiteral("stock_id")), needed(QStringLiteral("BarCode")),
            needed(QStringLiteral("Description")), rows.columnOf(QStringLiteral("Price")),
            rows.columnOf(QStringLiteral("QtyFactor"))};
}

qint32 ShopStockRows::stockId() const {
    return static_cast<qint32>(rows_.wholeAt(columns_.stockId));
}

QStringView ShopStockRows::barcode() const {
    return rows_.textAt(columns_.barcode);
}

QStringView ShopStockRows::description() const {
    return rows_.textAt(columns_.description);
}

void ShopStockRows::LookupItemPrice(qint32 stockId, double& lastField, double& price) {
    const Columns& c = columns_;
    if (!rows_.eof() && c.price >= 0 && c.factor >= 0 && rows_.wholeAt(c.stockId) == stockId) {
        lastField = rows_.numberAt(c.factor);
        price = rows_.numberAt(c.price);
        return;
    }
    const QVariantList item = item_.firstValues({stockId}).value_or(QVariantList());
    lastField = item.value(ShopStatements::kItemFactor).toDouble();
    price = item.value(ShopStatements::kItemPrice).toDouble();
}
