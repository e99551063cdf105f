#pragma once

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "outside/stockrows.h"

// Where a write comes from: the import run that makes it and the line of the run's file; a write
// made outside a run carries neither.
struct RunLine {
    std::optional<qint64> run;
    qint64 line = 0;
};

// The shop data object: the outside object that holds the connection to the shop database, does
// every lookup and write of the imports and answers the queries of the item export and the order
// details dialog; the connection itself stays inside it. Operations raise ProgramError when the
// database fails; a refused write is a False result, not an error.
class ShopDataObject {
public:
    virtual ~ShopDataObject() = default;

    virtual bool IsConnected() = 0;
    virtual void Connect() = 0;
    virtual void SetAppPath(const QString& appPath) = 0;
    // The item key of the item with this barcode, 0 when the barcode is unknown.
    virtual qint32 FindBarcode(const QString& barcode) = 0;
    // True when the barcode is the item's; for item key 0, true when any item has the barcode,
    // and the key becomes that item's.
    virtual bool MatchItemBarcode(qint32& itemKey, const QString& barcode) = 0;
    // True when the item with this barcode was found; its stock row is then in `item`.
    virtual bool GetItemByBarcode(const QString& barcode, QSqlRecord& item) = 0;
    virtual qint32 GetNextOrderNo() = 0;
    // Fills the item key (0 when the stock id is unknown) and the quantity factor.
    virtual void LookupStockItem(qint32 stockId, qint32& itemKey, double& quantityFactor) = 0;
    // The writes below carry the run and line they come `from` into every row they make.
    // Records one count as its own row; False (nothing written) for item key 0.
    virtual bool WriteStocktakeQty(qint32 itemKey, double quantity, const RunLine& from) = 0;
    // Books received goods against supplier and order and raises the quantity on hand.
    virtual void WriteGoodsReceived(qint32 itemKey, qint32 orderNo, qint32 fieldThree,
                                    const QString& quantity, qint32 supplierId, const QString& barcode,
                                    const RunLine& from) = 0;
    // What WriteGoodsReceived would leave on hand of the item after booking this quantity, from
    // `onHand` (what receipts not written yet would have left) or else from the shop's own; nothing
    // when it would not raise the quantity on hand. Raises the error the write would raise for the
    // quantity, and writes nothing.
    virtual std::optional<double> onHandAfterReceiving(qint32 itemKey, const QString& quantity,
                                                       std::optional<double> onHand) = 0;
    // Adds the ordered quantity as a line of a purchase order; False when nothing was written.
    virtual bool WriteOrderQty(qint32 itemKey, double quantity, const RunLine& from) = 0;
    // Begins a goods-received session; called once before a goods-received file is read.
    virtual void StartGoodsReceived(qint16 postToStock, qint16 quantityDecimals,
                                    qint16 receivedOrderStatus) = 0;

    // Every stock row for the item export, in stock id order, standing on the first.
    virtual std::unique_ptr<StockRows> openStockRows() = 0;
    // Every supplier as the order details dialog lists it, the supplier id, " - " and the name, in
    // the order the database returns them.
    virtual QStringList supplierEntries() = 0;
    // The order numbers of the existing orders of one supplier, as text.
    virtual QStringList supplierOrders(qint32 supplierId) = 0;
};
