#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QVariant>
#include <optional>

#include "fakemenuview.h"
#include "platform/stringtools.h"
#include "programfiles.h"
#include "scriptedprompts.h"
#include "startup/modmain.h"

// A modMain over a temporary program folder, with the clock at 2:45 pm on 4 December 2026. The test
// is the shop, noting each call in `calls`, whose order write always refuses (its answer must not
// matter), and the order details dialog: a user who picks supplier 7 and presses OK with
// `dialogOrderNo`, answering `dialogAppliesToAll` to "apply to all", or closes it without OK.
class ImportTest : public testing::Test, public ShopDataObject, public OrderDetailsOpener {
protected:
    ImportTest() {
        modMain.menu = &menu;
        modMain.orderDetails = this;
        modMain.now = [] { return QDateTime(QDate(2026, 12, 4), QTime(14, 45)); };
    }
    QString writeFile(const QString& name, const QByteArray& bytes) const {
        return writeBytes(dir.filePath(name), bytes);
    }
    QByteArray readFile(const QString& name) const { return readBytes(dir.filePath(name)); }

    bool IsConnected() override { return true; }
    void Connect() override {}
    void SetAppPath(const QString&) override {}
    bool GetItemByBarcode(const QString&, QSqlRecord&) override { return false; }
    qint32 GetNextOrderNo() override { return 0; }
    std::unique_ptr<StockRows> openStockRows() override { return nullptr; }
    QStringList supplierEntries() override { return {}; }
    QStringList supplierOrders(qint32) override { return {}; }
    qint32 FindBarcode(const QString& code) override { return note(found, "Find", code); }
    bool MatchItemBarcode(qint32& key, const QString& code) override { return note(ok, "Match", key, code); }
    bool WriteStocktakeQty(qint32 key, double quantity) override { return note(ok, "Count", key, quantity); }
    bool WriteOrderQty(qint32 key, double quantity) override { return note(false, "Order", key, quantity); }
    void LookupStockItem(qint32 id, qint32& key, double& itemFactor) override {
        key = note(id, "Lookup", id);
        itemFactor = factor;
    }
    void WriteGoodsReceived(qint32 key, qint32 orderNo, qint32 three, const QString& quantity,
                            qint32 supplier, const QString& code) override {
        note(0, "Goods", key, orderNo, three, quantity, supplier, code);
    }
    void StartGoodsReceived(qint16 a, qint16 b, qint16 c) override { note(0, "Start", a, b, c); }
    void openOrderDetails(ModMain& m) override {
        note(0, "Dialog", m.sCurrentBarcode);
        m.lSupplierID = 7;
        m.sChosenOrderNo = dialogOrderNo.value_or(m.sChosenOrderNo);
        m.bApplyOrderNoToAll = dialogOrderNo ? dialogAppliesToAll : m.bApplyOrderNoToAll;
    }
    // Notes a call as its name and arguments, blank-separated, and answers `result`.
    template <typename Result, typename... Arguments>
    Result note(Result result, const char* name, const Arguments&... arguments) {
        calls << QLatin1String(name);
        ((calls.last() += u' ' + QVariant(arguments).toString()), ...);
        return result;
    }

    static constexpr const char* kWarning =
        "You have scanned a barcode(s) that does not exist in RetailManager, refer to AuditFile for details";

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    StringTools tools;
    FakeMenuView menu;
    ModMain modMain{prompts, tools, *this, dir.path()};
    QStringList calls;
    double factor = 1;
    bool ok = true;  // the barcode match's and the stocktake write's answer
    qint32 found = 1;
    std::optional<QString> dialogOrderNo = QStringLiteral("5678");
    bool dialogAppliesToAll = false;
};
