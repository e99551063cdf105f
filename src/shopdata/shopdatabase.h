#pragma once

#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <optional>

#include "outside/shopdataobject.h"

class ShopBackend;
struct ShopStatements;

// The shop data object over the shop's database, reached through the data source "MYOBRM": an
// SQLite file or a PostgreSQL server, whichever the data source names; the engine's differences
// stay in its ShopBackend. Every write is its own transaction; every failure of the database
// raises ProgramError.
class ShopDatabase : public ShopDataObject {
public:
    ShopDatabase();
    ~ShopDatabase() override;
    ShopDatabase(const ShopDatabase&) = delete;
    ShopDatabase& operator=(const ShopDatabase&) = delete;

    bool IsConnected() override;
    QSqlDatabase GetConnection() override;
    void Connect() override;
    void SetAppPath(const QString& appPath) override;
    qint32 FindBarcode(const QString& barcode) override;
    bool MatchItemBarcode(qint32& itemKey, const QString& barcode) override;
    bool GetItemByBarcode(const QString& barcode, QSqlRecord& item) override;
    qint32 GetNextOrderNo() override;
    void LookupItemPrice(qint32 stockId, double& lastField, double& price) override;
    void LookupStockItem(qint32 stockId, qint32& itemKey, double& quantityFactor) override;
    bool WriteStocktakeQty(qint32 itemKey, double quantity) override;
    void WriteGoodsReceived(qint32 itemKey, qint32 orderNo, qint32 fieldThree, const QString& quantity,
                            qint32 supplierId, const QString& barcode) override;
    bool WriteOrderQty(qint32 itemKey, double quantity) override;
    void StartGoodsReceived(qint16 postToStock, qint16 quantityDecimals, qint16 receivedOrderStatus) override;

private:
    // How the lines of one goods-received upload are booked (see StartGoodsReceived).
    struct ReceiptRules {
        bool postToStock = true;
        int quantityDecimals = 5;
        int orderStatus = 2;
    };

    ShopStatements& statements();
    void disconnect();
    qint32 scannerOrderFor(qint32 supplierId);
    qint64 newReceipt();

    const QString connectionName_;
    QSqlDatabase connection_;
    // The connection's engine, once connected.
    const ShopBackend* backend_ = nullptr;
    std::unique_ptr<ShopStatements> statements_;
    ReceiptRules receiptRules_;
    // The receipt that this upload's lines belong to, once its first line is booked.
    std::optional<qint64> receiptId_;
};
