#include "imports/uploadcheck.h"

#include <QSqlRecord>
#include <algorithm>

#include "imports/numerictext.h"
#include "imports/recordloading.h"
#include "startup/program.h"

namespace {

// A count above ten times what the shop holds (or above 100 for an item it holds little of), or
// below zero, is far outside what a shelf holds: most likely a barcode scanned into the quantity.
bool farOutsideUsualRange(double counted, double onHand) {
    return counted < 0 || counted > 10 * std::max(onHand, 10.0);
}

// The record's stock id, when its field reads as one.
qint32 stockIdOf(const TextArray& fields) {
    try {
        return roundToLong(valOf(fields.at(1)));
    } catch (const ProgramError&) {
        return 0;
    }
}

// What a count shows that the import does not look at: its barcode is another item's (the
// scanner's item file carries only the first characters of a stock id) or no item's, and the count
// is far outside the quantity on hand of the barcode's item; each reason is named. An item's key is
// its stock id.
void flagCount(ShopDataObject& shop, const StocktakeCount& count, const QString& barcode,
               QStringList& flags) {
    QSqlRecord item;
    if (!shop.GetItemByBarcode(barcode, item)) {
        flags << QStringLiteral("the barcode %1 is not on file").arg(barcode);
        return;
    }
    const qint32 barcodeItem = item.value(QStringLiteral("stock_id")).toInt();
    const double onHand = item.value(QStringLiteral("QtyOnHand")).toDouble();
    if (barcodeItem != count.itemKey) {
        flags << QStringLiteral("the barcode %1 belongs to item %2, not to item %3")
                     .arg(barcode)
                     .arg(barcodeItem)
                     .arg(count.itemKey);
    }
    if (farOutsideUsualRange(count.quantity, onHand)) {
        flags << QStringLiteral("the count %1 is far from the %2 on hand")
                     .arg(generalNumber(count.quantity), generalNumber(onHand));
    }
}

// The record's item as its decision looked it up, or, when the decision stopped before it, as the
// record's stock id finds it.
std::optional<StockItem> itemOf(ShopDataObject& shop, const TextArray& fields, const RecordFate& fate) {
    return fate.item ? fate.item : lookUpStockItem(shop, stockIdOf(fields));
}

QStringList flagsOf(ShopDataObject& shop, const TextArray& fields, const RecordFate& fate) {
    QStringList flags;
    if (fate.kind == RecordFate::Kind::Error) {
        return flags;
    }
    if (const auto* count = fate.write ? std::get_if<StocktakeCount>(&*fate.write) : nullptr) {
        flagCount(shop, *count, fields.at(2), flags);
        return flags;
    }
    const std::optional<StockItem> item = itemOf(shop, fields, fate);
    if (item && item->itemKey == 0) {
        flags << QStringLiteral("the stock id %1 is no longer on file").arg(item->stockId);
    }
    return flags;
}

// The check writes nothing, so the shop's quantities on hand stay as they were: what a receipt
// would have left on hand is kept for the later receipts of the same item to decide from.
void keepUnwrittenOnHand(GoodsSession& session, const RecordFate& fate) {
    const auto* goods = fate.write ? std::get_if<GoodsLine>(&*fate.write) : nullptr;
    if (goods != nullptr && goods->onHandAfter) {
        session.onHandUnwritten.insert(goods->itemKey, *goods->onHandAfter);
    }
}

QString writeText(const ShopWrite& write) {
    if (const auto* count = std::get_if<StocktakeCount>(&write)) {
        return QStringLiteral("write count: item %1, quantity %2")
            .arg(count->itemKey)
            .arg(generalNumber(count->quantity));
    }
    if (const auto* line = std::get_if<OrderLine>(&write)) {
        return QStringLiteral("write order line: item %1, quantity %2")
            .arg(line->itemKey)
            .arg(generalNumber(line->quantity));
    }
    const auto& goods = std::get<GoodsLine>(write);
    return QStringLiteral("write goods received: item %1, order %2, reference %3, quantity %4, supplier %5")
        .arg(goods.itemKey)
        .arg(goods.orderNo)
        .arg(goods.fieldThree)
        .arg(goods.quantity)
        .arg(goods.supplierId);
}

}  // namespace

void CheckSummary::count(const CheckedRecord& record) {
    ++records;
    switch (record.fate.kind) {
        case RecordFate::Kind::Write:
            ++toWrite;
            break;
        case RecordFate::Kind::Audit:
            ++toAudit;
            break;
        case RecordFate::Kind::Error:
        case RecordFate::Kind::AskOrderDetails:
            ++errors;
            break;
    }
    flagged += record.flags.isEmpty() ? 0 : 1;
}

QString CheckSummary::text() const {
    return QStringLiteral("%1 records: %2 to write, %3 to audit, %4 errors, %5 flagged")
        .arg(records)
        .arg(toWrite)
        .arg(toAudit)
        .arg(errors)
        .arg(flagged);
}

ProcessOutcome checkUploadFile(Program& program, const UploadLoader& kind, const QString& path,
                               const std::function<void(const CheckedRecord&)>& found) {
    const auto check = [&kind, &found](Program& main, TextArray& fields) {
        CheckedRecord record{main.run.line, decideRecord(main, kind, fields), {}};
        keepUnwrittenOnHand(main.modMain.goods, record.fate);
        try {
            record.flags = flagsOf(main.shop, fields, record.fate);
        } catch (const ProgramError& error) {
            record.flags << errorText(QStringLiteral("the shop could not be read: "), error);
        }
        found(record);
    };
    return processUploadFile(program, path, kind.headerPrefix, check);
}

QString checkedFateText(const UploadLoader& kind, const CheckedRecord& record) {
    switch (record.fate.kind) {
        case RecordFate::Kind::Write:
            return writeText(*record.fate.write);
        case RecordFate::Kind::Audit:
            return QStringLiteral("audit: ") + record.fate.auditMessage.text();
        case RecordFate::Kind::Error:
        case RecordFate::Kind::AskOrderDetails:
            break;
    }
    return QStringLiteral("error: ") +
           errorText(kind.errorPrefix, record.fate.error.value_or(ProgramError(0, {})));
}

QString checkedRecordText(const UploadLoader& kind, const CheckedRecord& record) {
    QString text = QStringLiteral("line %1: ").arg(record.line) + checkedFateText(kind, record);
    for (const QString& flag : record.flags) {
        text += QStringLiteral("\n  look at: ") + flag;
    }
    return text;
}
