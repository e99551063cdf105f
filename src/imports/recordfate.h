#pragma once

#include <QString>
#include <optional>
#include <variant>

#include "platform/programerror.h"

// The writes an upload record can make in the shop, with everything the write needs.
struct StocktakeCount {
    qint32 itemKey = 0;
    double quantity = 0;
};
struct OrderLine {
    qint32 itemKey = 0;
    double quantity = 0;
};
struct GoodsLine {
    qint32 itemKey = 0;
    qint32 orderNo = 0;
    qint32 fieldThree = 0;
    QString quantity;
    qint32 supplierId = 0;
    QString barcode;
    // The item's quantity on hand once the line is booked; nothing when booking it leaves the
    // quantity on hand as it was.
    std::optional<double> onHandAfter;
};
using ShopWrite = std::variant<StocktakeCount, OrderLine, GoodsLine>;

// The stock item a decision looked up by the record's stock id: its key, 0 when the stock id is
// not on file, and its quantity factor.
struct StockItem {
    qint32 stockId = 0;
    qint32 itemKey = 0;
    double quantityFactor = 0;
};

// The message of a record's audit line, kept in its parts: most records write and never need it,
// so it is only put together for a line that is written.
struct AuditMessage {
    const char* lead = nullptr;
    const char* barcodeLabel = nullptr;
    QString barcode;
    QString quantity;

    // Lead text, barcode label, barcode, "Qty = " and quantity, with nothing between them; empty
    // for a message that has no parts.
    QString text() const {
        return lead == nullptr ? QString()
                               : QLatin1String(lead) + QLatin1String(barcodeLabel) + barcode +
                                     QLatin1String("Qty = ") + quantity;
    }
};

// What one upload record will do, decided before anything is written: write to the shop, go to
// the audit report, end in the loader's error, or first ask the order details dialog for an order
// number. The import carries it out; the check only describes it.
struct RecordFate {
    enum class Kind { Write, Audit, Error, AskOrderDetails };

    Kind kind = Kind::Audit;
    std::optional<ShopWrite> write;
    // The audit line's message: the record's own (Audit), or the one a write that finds nothing to
    // write leaves instead (Write; empty when such a write leaves none).
    AuditMessage auditMessage;
    std::optional<ProgramError> error;
    // The item the decision looked up, when it looked one up.
    std::optional<StockItem> item;
    // The scanned barcode that the order details dialog is asked about.
    QString askedBarcode;

    static RecordFate writing(ShopWrite write, AuditMessage unwrittenMessage = {},
                              std::optional<StockItem> item = std::nullopt) {
        return {Kind::Write, std::move(write), std::move(unwrittenMessage), std::nullopt, item, {}};
    }
    static RecordFate auditing(AuditMessage message, std::optional<StockItem> item = std::nullopt) {
        return {Kind::Audit, std::nullopt, std::move(message), std::nullopt, item, {}};
    }
    static RecordFate failing(const ProgramError& error) {
        return {Kind::Error, std::nullopt, {}, error, {}, {}};
    }
    static RecordFate askingOrderDetails(QString barcode) {
        return {Kind::AskOrderDetails, std::nullopt, {}, std::nullopt, std::nullopt, std::move(barcode)};
    }
};
