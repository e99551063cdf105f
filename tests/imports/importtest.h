#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimeZone>
#include <QVariant>
#include <optional>

#include "fakeprogress.h"
#include "imports/orderchooser.h"
#include "platform/stringtools.h"
#include "programfiles.h"
#include "scriptedprompts.h"
#include "startup/program.h"

// A program over a temporary folder, its clock at 2:45 pm on 4 December 2026 UTC as a zone ten
// hours ahead reads it. The test is the shop, noting each call in `calls` (a write with its line),
// whose order write always refuses, and the order details dialog: a user who picks supplier 7 and
// presses OK with `dialogOrderNo`, answering `dialogAppliesToAll`, or closes it without OK.
class ImportTest : public testing::Test, public ShopDataObject, public OrderChooser {
protected:
    ImportTest() {
        program.progress = &menu;
        program.orderChooser = this;
        program.now = [] { return QDateTime(QDate(2026, 12, 5), QTime(0, 45), QTimeZone(10 * 3600)); };
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
    bool WriteStocktakeQty(qint32 key, double quantity, const RunLine& from) override {
        return stamped(note(ok, "Count", key, quantity), from);
    }
    bool WriteOrderQty(qint32 key, double quantity, const RunLine& from) override {
        return stamped(note(false, "Order", key, quantity), from);
    }
    void LookupStockItem(qint32 id, qint32& key, double& itemFactor) override {
        key = note(id, "Lookup", id);
        itemFactor = factor;
    }
    void WriteGoodsReceived(qint32 key, qint32 orderNo, qint32 three, const QString& quantity,
                            qint32 supplier, const QString& code, const RunLine& from) override {
        stamped(note(0, "Goods", key, orderNo, three, quantity, supplier, code), from);
    }
    std::optional<double> onHandAfterReceiving(qint32, const QString&, std::optional<double>) override {
        return std::nullopt;
    }
    void StartGoodsReceived(qint16 a, qint16 b, qint16 c) override { note(0, "Start", a, b, c); }
    OrderDetailsAnswer chooseOrder(const QString& barcode, qint32 supplierId) override {
        note(0, "Dialog", barcode);
        chosenFrom << supplierId;
        return {7, dialogOrderNo, dialogAppliesToAll};
    }
    // Adds the run and line a write comes from, when it comes from a run, to its note.
    template <typename Result>
    Result stamped(Result result, const RunLine& from) {
        if (from.run) {
            calls.last() += QStringLiteral(" @%1:%2").arg(*from.run).arg(from.line);
        }
        return result;
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
    FakeProgress menu;
    // The upload file the download path box names.
    QString upload = QStringLiteral("Not Chosen");
    Program program{prompts, tools, *this, dir.path()};
    QStringList calls;
    double factor = 1;
    bool ok = true;  // the barcode match's and the stocktake write's answer
    qint32 found = 1;
    std::optional<QString> dialogOrderNo = QStringLiteral("5678");
    // The supplier each opening of the dialog started from.
    QList<qint32> chosenFrom;
    bool dialogAppliesToAll = false;
};
