#include "shopdata/shopdatabase.h"

#include <QDateTime>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <cmath>

#include "platform/connection.h"
#include "platform/programerror.h"
#include "shopdata/runledger.h"
#include "shopdata/shopbackend.h"
#include "shopdata/shopschema.h"
#include "shopdata/shopstatements.h"
#include "shopdata/shopstockrows.h"
#include "shopdata/shoptransaction.h"

namespace {

QString uniqueConnectionName() {
    static std::atomic<int> count{0};
    return QStringLiteral("rm_shopdata_%1").arg(++count);
}

// Raises the error of a database that lacks some of the shop's tables: the wrong database, or one
// the shop's software has not made yet.
void requireShopTables(const QSqlDatabase& connection) {
    QStringList present = connection.tables(QSql::Tables);
    for (QString& name : present) {
        name = name.toLower();
    }
    QStringList missing;
    for (const QString& table : shopTableNames()) {
        if (!present.contains(table.toLower())) {
            missing << QLatin1Char('"') + table + QLatin1Char('"');
        }
    }
    if (!missing.isEmpty()) {
        throw ProgramError(errnum::DatabaseError, QStringLiteral("the database lacks the shop's tables %1")
                                                      .arg(missing.join(QStringLiteral(", "))));
    }
}

// The run and the line a write carries into its rows: null for a write made outside a run.
QVariant runOf(const RunLine& from) {
    return from.run ? QVariant(*from.run) : QVariant(QMetaType::fromType<qint64>());
}

QVariant lineOf(const RunLine& from) {
    return from.run ? QVariant(from.line) : QVariant(QMetaType::fromType<qint64>());
}

ProgramError databaseError(const QString& text) {
    return ProgramError(errnum::DatabaseError, text);
}

// The received quantity as the goods-received loader writes it: "." is the decimal point.
double receivedQuantity(const QString& text) {
    bool ok = false;
    const double quantity = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(quantity)) {
        throw ProgramError(errnum::TypeMismatch, QStringLiteral("Type mismatch"));
    }
    return quantity;
}

// A barcode as the scanner sent it, without the blanks around it. An empty one is no barcode: it
// matches no item, not even one stored without a barcode.
QString scannedBarcode(const QString& barcode) {
    return barcode.trimmed();
}

ProgramError overflow() {
    return ProgramError(errnum::Overflow, QStringLiteral("Overflow"));
}

// A quantity so large that its rounding overflows is refused, never written as an infinity.
double roundedTo(double quantity, int decimals) {
    const double scale = std::pow(10.0, std::clamp(decimals, 0, 9));
    const double rounded = std::round(quantity * scale) / scale;
    if (!std::isfinite(rounded)) {
        throw overflow();
    }
    return rounded;
}

// Nor does the quantity on hand become an infinity.
double raisedOnHand(double onHand, double received) {
    const double raised = onHand + received;
    if (!std::isfinite(raised)) {
        throw overflow();
    }
    return raised;
}

}  // namespace

ShopDatabase::ShopDatabase(platform::Clock clock)
    : clock_(std::move(clock)), connectionName_(uniqueConnectionName()) {
    prepareShopEngines();
}

ShopDatabase::~ShopDatabase() {
    disconnect();
}

void ShopDatabase::CheckShopDatabase(const QString& connectionString) {
    const QString name = QStringLiteral("shopCheck");
    {
        const QSqlDatabase connection = platform::openConnection(connectionString, name);
        try {
            requireShopTables(connection);
        } catch (const ProgramError&) {
            platform::closeConnection(name);
            throw;
        }
    }
    platform::closeConnection(name);
}

bool ShopDatabase::IsConnected() {
    return connection_.isOpen();
}

void ShopDatabase::Connect() {
    disconnect();
    connection_ = platform::openConnection(QStringLiteral("dsn=MYOBRM"), connectionName_);
    try {
        backend_ = &shopBackend(connection_);
        backend_->prepareConnection(connection_);
        requireShopTables(connection_);
        addRunRecord();
        statements_ = std::make_unique<ShopStatements>(connection_, *backend_);
        ledger_ = std::make_unique<RunLedger>(connection_, *backend_, clock_);
    } catch (const ProgramError&) {
        disconnect();
        throw;
    }
}

// The shop data object keeps nothing in the program's folder.
void ShopDatabase::SetAppPath(const QString& /*appPath*/) {}

qint32 ShopDatabase::FindBarcode(const QString& barcode) {
    const QString wanted = scannedBarcode(barcode);
    return wanted.isEmpty() ? 0 : statements().itemByBarcode.scalar({wanted}).toInt();
}

bool ShopDatabase::MatchItemBarcode(qint32& itemKey, const QString& barcode) {
    if (itemKey == 0) {
        itemKey = FindBarcode(barcode);
        return itemKey != 0;
    }
    const QString wanted = scannedBarcode(barcode);
    return !wanted.isEmpty() && statements().itemHasBarcode.firstValues({itemKey, wanted}).has_value();
}

bool ShopDatabase::GetItemByBarcode(const QString& barcode, QSqlRecord& item) {
    const QString wanted = scannedBarcode(barcode);
    const std::optional<QSqlRecord> row =
        wanted.isEmpty() ? std::nullopt : statements().itemByBarcode.firstRow({wanted});
    item = row.value_or(QSqlRecord());
    return row.has_value();
}

qint32 ShopDatabase::GetNextOrderNo() {
    const QVariant next = statements().nextOrderNo.scalar({});
    if (next.isNull()) {
        throw databaseError(QStringLiteral("The shop database holds no next order number"));
    }
    return next.toInt();
}

void ShopDatabase::LookupStockItem(qint32 stockId, qint32& itemKey, double& quantityFactor) {
    const QVariantList item = statements().stockItem.firstValues({stockId}).value_or(QVariantList());
    itemKey = item.value(0).toInt();
    quantityFactor = item.value(1).toDouble();
}

bool ShopDatabase::WriteStocktakeQty(qint32 itemKey, double quantity, const RunLine& from) {
    if (itemKey == 0) {
        return false;
    }
    // One statement, and so a transaction of its own: an explicit one would only cost the server
    // two more round trips per count.
    ShopStatement& addCount = statements().addCount;
    addCount.run({quantity, runOf(from), lineOf(from), timeStamp(), itemKey});
    return addCount.rowsAffected() == 1;
}

bool ShopDatabase::WriteOrderQty(qint32 itemKey, double quantity, const RunLine& from) {
    if (itemKey == 0) {
        return false;
    }
    ShopStatements& s = statements();
    ShopTransaction transaction(connection_, *backend_);
    // The order numbers are held before anything is read: a second upload writing at the same time
    // waits here, then sees the scanner order that this one makes, rather than making another.
    s.lockOrderNumbers.run({});
    const std::optional<QVariantList> item = s.item.firstValues({itemKey});
    if (!item) {
        return false;
    }
    const qint32 order = scannerOrderFor(item->value(ShopStatements::kItemSupplierId).toInt(), from);
    s.addOrderLine.run({order, itemKey, quantity, runOf(from), lineOf(from)});
    transaction.commit();
    return true;
}

void ShopDatabase::StartGoodsReceived(qint16 postToStock, qint16 quantityDecimals,
                                      qint16 receivedOrderStatus) {
    receiptRules_ = {postToStock != 0, quantityDecimals, receivedOrderStatus};
    receiptId_.reset();
}

void ShopDatabase::WriteGoodsReceived(qint32 itemKey, qint32 orderNo, qint32 fieldThree,
                                      const QString& quantity, qint32 supplierId, const QString& barcode,
                                      const RunLine& from) {
    if (itemKey == 0) {
        return;
    }
    const double received = receivedAmount(quantity);
    ShopStatements& s = statements();
    ShopTransaction transaction(connection_, *backend_);
    const qint64 receipt = receiptId_ ? *receiptId_ : newReceipt(from);
    s.addReceived.run(
        {receipt, orderNo, supplierId, fieldThree, received, barcode, runOf(from), lineOf(from), itemKey});
    if (s.addReceived.rowsAffected() == 0) {
        return;
    }
    if (receiptRules_.postToStock) {
        raisedOnHand(s.onHand.scalar({itemKey}).toDouble(), received);
        s.raiseOnHand.run({received, itemKey});
    }
    if (from.run) {
        s.noteOrderStatus.run({*from.run, orderNo, *from.run, orderNo});
    }
    s.markOrder.run({receiptRules_.orderStatus, orderNo});
    transaction.commit();
    receiptId_ = receipt;
}

// The write's own steps, in its order, less the writing: an item key of 0 books nothing, the
// quantity is rounded, and a stock id not on file (no row to book) leaves nothing on hand.
std::optional<double> ShopDatabase::onHandAfterReceiving(qint32 itemKey, const QString& quantity,
                                                         std::optional<double> onHand) {
    if (itemKey == 0) {
        return std::nullopt;
    }
    const double received = receivedAmount(quantity);
    if (!receiptRules_.postToStock) {
        return std::nullopt;
    }
    if (!onHand) {
        const QVariant held = statements().onHand.scalar({itemKey});
        if (held.isNull()) {
            return std::nullopt;
        }
        onHand = held.toDouble();
    }
    return raisedOnHand(*onHand, received);
}

double ShopDatabase::receivedAmount(const QString& quantity) const {
    return roundedTo(receivedQuantity(quantity), receiptRules_.quantityDecimals);
}

std::unique_ptr<StockRows> ShopDatabase::openStockRows() {
    return std::make_unique<ShopStockRows>(connection_, statements().item);
}

QStringList ShopDatabase::supplierEntries() {
    QStringList entries;
    for (const QVariantList& supplier :
         rowsOf(QStringLiteral("select Supplier_id, Supplier from supplier"), {})) {
        entries << supplier.value(0).toString() + QLatin1String(" - ") + supplier.value(1).toString();
    }
    return entries;
}

QStringList ShopDatabase::supplierOrders(qint32 supplierId) {
    QStringList orderIds;
    for (const QVariantList& order :
         rowsOf(QStringLiteral("select order_id from orders where supplier_id = ?"), {supplierId})) {
        orderIds << order.value(0).toString();
    }
    return orderIds;
}

ShopStatements& ShopDatabase::statements() {
    if (!statements_) {
        throw databaseError(QStringLiteral("The shop database is not connected"));
    }
    return *statements_;
}

// The order details dialog's lists are read seldom, by a user: their statements are prepared when
// they run, not kept with the others.
QList<QVariantList> ShopDatabase::rowsOf(const QString& sql, std::initializer_list<QVariant> values) {
    statements();  // raises the error of a shop that is not connected
    return ShopStatement(connection_, sql, *backend_).allValues(values);
}

RunLedger& ShopDatabase::ledger() {
    statements();
    return *ledger_;
}

void ShopDatabase::disconnect() {
    ledger_.reset();
    statements_.reset();
    if (connection_.isValid()) {
        connection_ = QSqlDatabase();
        platform::closeConnection(connectionName_);
    }
}

// Scanned orders for a supplier go onto one open order that the scanner made; the first one
// takes the next order number and moves the number on.
qint32 ShopDatabase::scannerOrderFor(qint32 supplierId, const RunLine& from) {
    ShopStatements& s = statements();
    const QVariant open = s.scannerOrder.scalar({supplierId});
    if (!open.isNull()) {
        return open.toInt();
    }
    const qint32 number = GetNextOrderNo();
    s.addOrder.run({number, supplierId, clock_().toUTC().date().toString(Qt::ISODate), runOf(from)});
    s.advanceOrderNo.run({number + 1});
    return number;
}

qint64 ShopDatabase::newReceipt(const RunLine& from) {
    ShopStatements& s = statements();
    s.addReceipt.run({receiptRules_.postToStock ? 1 : 0, receiptRules_.quantityDecimals,
                      receiptRules_.orderStatus, runOf(from), timeStamp()});
    return s.lastRowId.scalar({}).toLongLong();
}

// A shop made before the program kept its record has no runs table: the tables and columns of the
// record are added together, so a shop has all of them or none.
void ShopDatabase::addRunRecord() {
    QSqlQuery probe(connection_);
    if (probe.exec(QStringLiteral("select run_id from import_runs where run_id = 0"))) {
        return;
    }
    probe.finish();
    ShopTransaction transaction(connection_, *backend_);
    for (const QString& statement : runRecordStatements(*backend_)) {
        ShopStatement(connection_, statement, *backend_).run({});
    }
    transaction.commit();
}

QString ShopDatabase::timeStamp() const {
    // Counts come by the thousand a second: each second's text is made once.
    const QDateTime now = clock_();
    const qint64 second = now.toSecsSinceEpoch();
    if (second != stampedSecond_) {
        stampedSecond_ = second;
        stamp_ = platform::utcStamp(now);
    }
    return stamp_;
}

qint64 ShopDatabase::BeginRun(const QString& kind, const QString& fileName, const QString& checksum,
                              qint64 linesInFile, const QString& process) {
    return ledger().begin(kind, fileName, checksum, linesInFile, process);
}

void ShopDatabase::ResumeRun(qint64 runId, const QString& process) {
    ledger().resume(runId, process);
}

void ShopDatabase::EndRun(qint64 runId, qint64 lastLine) {
    ledger().end(runId, lastLine);
}

QList<ImportRun> ShopDatabase::UnfinishedRuns(const QString& kind) {
    return ledger().unfinished(kind);
}

std::optional<ImportRun> ShopDatabase::EndedRunOfFile(const QString& kind, const QString& checksum) {
    return ledger().endedOfFile(kind, checksum);
}

QList<ImportRun> ShopDatabase::Runs() {
    return ledger().runs();
}

QString ShopDatabase::UndoRun(qint64 runId) {
    return ledger().undo(runId);
}

void ShopDatabase::Variance(qint64 runId, const std::function<void(const ItemVariance&)>& each) {
    ledger().variance(runId, each);
}
