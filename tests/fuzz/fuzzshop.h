#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <cmath>

#include "fuzzcheck.h"
#include "outside/shopdataobject.h"
#include "platform/programerror.h"
#include "platform/prompts.h"

// Message boxes are counted, never shown; every question is answered Yes.
class CountingPrompts : public Prompts {
public:
    void notice(const QString&) override { ++shown; }
    void criticalNotice(const QString&) override { ++shown; }
    bool question(const QString&) override { return true; }
    QString openFileName(const QString& fileName, const QString&, const QString&) override {
        return fileName;
    }

    int shown = 0;
};

// A shop for the upload fuzz targets. What it does with an item depends on the item's key (the
// stock id, or a hash of the barcode, modulo 8): 0 is no item, 5 refuses the write, 6 refuses it
// as a shop that cannot take writes now, 7 writes nothing; the others are written. Quantities
// that reach it must be numbers, and once it has said it cannot take writes, nothing more may be
// written to it while the run stops there.
class FuzzShop : public ShopDataObject {
public:
    explicit FuzzShop(bool runStopsAtALastingRefusal) : stops_(runStopsAtALastingRefusal) {}

    bool IsConnected() override { return true; }
    void Connect() override {}
    void SetAppPath(const QString&) override {}
    bool GetItemByBarcode(const QString&, QSqlRecord&) override { return false; }
    qint32 GetNextOrderNo() override { return 1001; }
    std::unique_ptr<StockRows> openStockRows() override { return nullptr; }
    QStringList supplierEntries() override { return {}; }
    QStringList supplierOrders(qint32) override { return {}; }
    qint32 FindBarcode(const QString& barcode) override { return static_cast<qint32>(qHash(barcode) % 8); }
    bool MatchItemBarcode(qint32& itemKey, const QString& barcode) override {
        if (itemKey == 0) {
            itemKey = FindBarcode(barcode);
        }
        return itemKey != 0;
    }
    void LookupStockItem(qint32 stockId, qint32& itemKey, double& quantityFactor) override {
        itemKey = stockId % 8 < 0 ? -(stockId % 8) : stockId % 8;
        quantityFactor = stockId % 3 == 0 ? 1e300 : 1.5;
    }
    bool WriteStocktakeQty(qint32 itemKey, double quantity, const RunLine&) override {
        return write(itemKey, quantity);
    }
    bool WriteOrderQty(qint32 itemKey, double quantity, const RunLine&) override {
        return write(itemKey, quantity);
    }
    void WriteGoodsReceived(qint32 itemKey, qint32, qint32, const QString&, qint32, const QString&,
                            const RunLine&) override {
        write(itemKey, 0);
    }
    void StartGoodsReceived(qint16, qint16, qint16) override {}

    bool refusedForGood() const { return refusedForGood_; }

private:
    bool write(qint32 itemKey, double quantity) {
        fuzzCheck(std::isfinite(quantity), "a quantity reaching the shop is a number");
        fuzzCheck(!(stops_ && refusedForGood_), "nothing is written after the shop could not take writes");
        switch (itemKey % 8) {
            case 5:
                throw ProgramError(errnum::DatabaseError, QStringLiteral("refused"));
            case 6:
                refusedForGood_ = true;
                throw ProgramError(errnum::DatabaseError, QStringLiteral("cannot take writes"), true);
            case 7:
                return false;
            default:
                return itemKey != 0;
        }
    }

    bool stops_;
    bool refusedForGood_ = false;
};
