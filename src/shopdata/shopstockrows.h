#pragma once

#include <QSqlDatabase>

#include "outside/stockrows.h"
#include "platform/recordset.h"

class ShopStatement;

// The stock rows of the shop database, read through a recordset whose bound block holds the
// columns that the item export and its price lookup take, and no others.
class ShopStockRows : public StockRows {
public:
    // Opens the rows on the shop's connection; `item` (stock_id, Supplier_id, Price, QtyFactor of a
    // stock id) reads the items that are not the current row's. Raises ProgramError when the stock
    // table has rows but lacks the stock id, barcode or description.
    ShopStockRows(const QSqlDatabase& connection, ShopStatement& item);

    bool atEnd() const override { return rows_.eof(); }
    void moveNext() override { rows_.moveNext(); }
    qint32 stockId() const override;
    QStringView barcode() const override;
    QStringView description() const override;
    void LookupItemPrice(qint32 stockId, double& lastField, double& price) override;

private:
    // Where each value is among the recordset's columns; -1 for a price column the table lacks,
    // whose items are then read from the database.
    struct Columns {
        qsizetype stockId = -1;
        qsizetype barcode = -1;
        qsizetype description = -1;
        qsizetype price = -1;
        qsizetype factor = -1;
    };

    static Columns columnsOf(const platform::Recordset& rows);

    platform::Recordset rows_;
    ShopStatement& item_;
    Columns columns_;
};
