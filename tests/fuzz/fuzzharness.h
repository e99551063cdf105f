#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "fakeprogress.h"
#include "outside/shopdataobject.h"
#include "platform/programerror.h"
#include "platform/prompts.h"
#include "platform/stringtools.h"
#include "startup/program.h"

// What the fuzz targets share: the check of a property, and a program with a shop of its own that
// works in a folder of its own.

// A property that every input must keep; a broken one is a finding, and ends the run as a crash
// does, so that the fuzzer keeps the input.
inline void fuzzCheck(bool kept, const char* property) {
    if (!kept) {
        std::fprintf(stderr, "broken: %s\n", property);
        std::abort();
    }
}

// Message boxes are counted, never shown; every question is answered Yes.
class CountingPrompts : public Prompts {
public:
    void notice(const QString&) override { ++shown; }
    void criticalNotice(const QString&) override { ++shown; }
    bool question(const QString&) override { return true; }
    QString openFileName(const QString& fileName, const QString&, const QString&) override {
        return fileName;
    }
    QString saveFileName(const QString& fileName, const QString&, const QString&) override {
        return fileName;
    }

    int shown = 0;
};

// A shop for the fuzz targets. What it does with an item depends on the item's key (the
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
    std::optional<double> onHandAfterReceiving(qint32, const QString&, std::optional<double>) override {
        return std::nullopt;
    }
    void StartGoodsReceived(qint16, qint16, qint16) override {}

    // True once the shop has said it cannot take writes.
    bool refusedForGood = false;

private:
    bool write(qint32 itemKey, double quantity) {
        fuzzCheck(std::isfinite(quantity), "a quantity reaching the shop is a number");
        fuzzCheck(!(stops_ && refusedForGood), "nothing is written after the shop could not take writes");
        switch (itemKey % 8) {
            case 5:
                throw ProgramError(errnum::DatabaseError, QStringLiteral("refused"));
            case 6:
                refusedForGood = true;
                throw ProgramError(errnum::DatabaseError, QStringLiteral("cannot take writes"), true);
            case 7:
                return false;
            default:
                return itemKey != 0;
        }
    }

    bool stops_;
};

// The program a fuzz target runs: message boxes counted, the shop a FuzzShop, its folder the
// target's own.
struct FuzzProgram {
    explicit FuzzProgram(bool runStopsAtALastingRefusal) : shop(runStopsAtALastingRefusal) {
        program.progress = &menu;
    }

    CountingPrompts prompts;
    StringTools tools;
    FuzzShop shop;
    FakeProgress menu;
    Program program{prompts, tools, shop, QDir::currentPath()};
};

// Writes an input as the file `name` in the target's own folder, which the first call makes and
// enters (the settings file is opened by its bare name); gives its path, or nothing when the file
// could not be written.
inline QString writeInput(const QString& name, const uint8_t* data, size_t size) {
    static const QTemporaryDir folder;
    static const bool entered = QDir::setCurrent(folder.path());
    fuzzCheck(entered, "the target's own folder is entered");
    QFile file(name);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
                             static_cast<qint64>(size);
    return written ? QDir::current().filePath(name) : QString();
}
