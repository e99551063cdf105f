#pragma once

#include <QSqlDatabase>

#include "shopdata/shopstatement.h"

class ShopBackend;

// Every statement the shop data object runs, prepared together once the connection is open, in
// the SQL of the connection's engine. The tables and columns are those of the shop schema.
struct ShopStatements {
    ShopStatements(const QSqlDatabase& connection, const ShopBackend& backend);

    // The columns of `item`, by position.
    static constexpr int kItemStockId = 0;
    static constexpr int kItemSupplierId = 1;
    static constexpr int kItemPrice = 2;
    static constexpr int kItemFactor = 3;

    // Reading items.
    ShopStatement item;            // stock_id, Supplier_id, Price, QtyFactor of a stock id
    ShopStatement stockItem;       // stock_id, QtyFactor of a stock id: all that an upload's record needs
    ShopStatement itemByBarcode;   // the whole stock row (stock_id first) of the first item with a barcode
    ShopStatement itemHasBarcode;  // a row when the item with the key has the barcode

    // Stocktake.
    ShopStatement addCount;  // a count row (quantity, run, line) for a stock id, when the item exists

    // Purchase orders.
    ShopStatement scannerOrder;      // the open order that the scanner made for a supplier
    ShopStatement nextOrderNo;       // the next free purchase order number
    ShopStatement lockOrderNumbers;  // holds the order numbers (and scanner orders) for this transaction
    ShopStatement addOrder;          // a new open scanner order: number, supplier, UTC date
    ShopStatement advanceOrderNo;    // the next order number from now on
    ShopStatement addOrderLine;      // order, stock id, quantity

    // Goods received.
    ShopStatement addReceipt;   // a receipt: post to stock, quantity decimals, order status
    ShopStatement lastRowId;    // the key of the row just inserted
    ShopStatement addReceived;  // a received line, when the item exists
    ShopStatement onHand;       // the quantity on hand of a stock id
    ShopStatement raiseOnHand;  // quantity on hand up by a quantity, for a stock id
    ShopStatement markOrder;    // an order's status
    // The status an order had before the current run first set it: run, order, run, order.
    ShopStatement noteOrderStatus;
};
