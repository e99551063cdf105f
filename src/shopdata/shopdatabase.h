#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <optional>

#include "outside/importruns.h"
#include "outside/shopdataobject.h"
#include "platform/clock.h"

class RunLedger;
class ShopBackend;
struct ShopStatements;

// The shop data object over the shop's database, reached through the data source "MYOBRM": an
// SQLite file or a PostgreSQL server, whichever the data source names; the engine's differences
// stay in its ShopBackend. Every write is its own transaction; every failure of the database
// raises ProgramError. It keeps the record of the program's imports in the same database, and
// gives a shop made before that record its tables and columns when it connects.
class ShopDatabase : public ShopDataObject, public ImportRuns {
public:
    // `clock` stamps the runs, the counts, the orders and the receipts.
    explicit ShopDatabase(platform::Clock clock = platform::systemTime);
    ~ShopDatabase() override;
    ShopDatabase(const ShopDatabase&) = delete;
    ShopDatabase& operator=(const ShopDatabase&) = delete;

    // Connects to the database `connectionString` reaches and checks that it holds the shop's
    // tables, writing nothing; raises ProgramError when it cannot be reached or is no shop database.
    static void CheckShopDatabase(const QString& connectionString);

    bool IsConnected() override;
    void Connect() override;
    void SetAppPath(const QString& appPath) override;
    qint32 FindBarcode(const QString& barcode) override;
    bool MatchItemBarcode(qint32& itemKey, const QString& barcode) override;
    bool GetItemByBarcode(const QString& barcode, QSqlRecord& item) override;
    qint32 GetNextOrderNo() override;
    void LookupStockItem(qint32 stockId, qint32& itemKey, double& quantityFactor) override;
    bool WriteStocktakeQty(qint32 itemKey, double quantity, const RunLine& from) override;
    void WriteGoodsReceived(qint32 itemKey, qint32 orderNo, qint32 fieldThree, const QString& quantity,
                            qint32 supplierId, const QString& barcode, const RunLine& from) override;
    std::optional<double> onHandAfterReceiving(qint32 itemKey, const QString& quantity,
                                               std::optional<double> onHand) override;
    bool WriteOrderQty(qint32 itemKey, double quantity, const RunLine& from) override;
    void StartGoodsReceived(qint16 postToStock, qint16 quantityDecimals, qint16 receivedOrderStatus) override;
    std::unique_ptr<StockRows> openStockRows() override;
    QStringList supplierEntries() override;
    QStringList supplierOrders(qint32 supplierId) override;

    qint64 BeginRun(const QString& kind, const QString& fileName, const QString& checksum, qint64 linesInFile,
                    const QString& process) override;
    void ResumeRun(qint64 runId, const QString& process) override;
    void EndRun(qint64 runId, qint64 lastLine) override;
    QList<ImportRun> UnfinishedRuns(const QString& kind) override;
    std::optional<ImportRun> EndedRunOfFile(const QString& kind, const QString& checksum) override;
    QList<ImportRun> Runs() override;
    QString UndoRun(qint64 runId) override;
    void Variance(qint64 runId, const std::function<void(const ItemVariance&)>& each) override;

private:
    // How the lines of one goods-received upload are booked (see StartGoodsReceived).
    struct ReceiptRules {
        bool postToStock = true;
        int quantityDecimals = 5;
        int orderStatus = 2;
    };

    ShopStatements& statements();
    // The values of every row of a select that is run once now and then, with these values in its
    // "?" places.
    QList<QVariantList> rowsOf(const QString& sql, std::initializer_list<QVariant> values);
    RunLedger& ledger();
    void disconnect();
    // Adds the record of the program's imports to a shop database made before it.
    void addRunRecord();
    // Now, as the shop database keeps a time.
    QString timeStamp() const;
    qint32 scannerOrderFor(qint32 supplierId, const RunLine& from);
    qint64 newReceipt(const RunLine& from);
    // The quantity text as the current receipt books it: rounded to its decimals.
    double receivedAmount(const QString& quantity) const;

    const platform::Clock clock_;
    const QString connectionName_;
    QSqlDatabase connection_;
    // The connection's engine, once connected.
    const ShopBackend* backend_ = nullptr;
    std::unique_ptr<ShopStatements> statements_;
    std::unique_ptr<RunLedger> ledger_;
    ReceiptRules receiptRules_;
    // The last time stamp made, and the second it stands for.
    mutable QString stamp_;
    mutable qint64 stampedSecond_ = -1;
    // The receipt that this upload's lines belong to, once its first line is booked.
    std::optional<qint64> receiptId_;
};
