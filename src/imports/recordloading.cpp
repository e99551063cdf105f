#include "imports/recordloading.h"

#include "imports/auditreport.h"
#include "imports/orderchooser.h"
#include "startup/program.h"

namespace {

// True when the shop wrote something; only a count can find nothing to write.
bool writeToShop(ShopDataObject& shop, const ShopWrite& write, const RunLine& from) {
    if (const auto* count = std::get_if<StocktakeCount>(&write)) {
        return shop.WriteStocktakeQty(count->itemKey, count->quantity, from);
    }
    if (const auto* line = std::get_if<OrderLine>(&write)) {
        shop.WriteOrderQty(line->itemKey, line->quantity, from);
        return true;
    }
    const auto& goods = std::get<GoodsLine>(write);
    shop.WriteGoodsReceived(goods.itemKey, goods.orderNo, goods.fieldThree, goods.quantity, goods.supplierId,
                            goods.barcode, from);
    return true;
}

void reportLoaderError(Program& program, const UploadLoader& kind, const ProgramError& error) {
    program.run.noteLoaderError(error);
    program.prompts.notice(errorText(kind.errorPrefix, error));
}

}  // namespace

std::optional<StockItem> lookUpStockItem(ShopDataObject& shop, qint32 stockId) {
    if (stockId == 0) {
        return std::nullopt;
    }
    StockItem item{stockId, 0, 0};
    shop.LookupStockItem(stockId, item.itemKey, item.quantityFactor);
    return item;
}

RecordFate decideRecord(Program& program, const UploadLoader& kind, TextArray& fields) {
    GoodsSession& session = program.modMain.goods;
    try {
        RecordFate fate = kind.decide(fields, program.shop, session, false);
        if (fate.kind == RecordFate::Kind::AskOrderDetails) {
            session.take(program.orderChooser->chooseOrder(fate.askedBarcode, session.lSupplierID));
            fate = kind.decide(fields, program.shop, session, true);
        }
        return fate;
    } catch (const ProgramError& error) {
        return RecordFate::failing(error);
    }
}

void carryOut(Program& program, const UploadLoader& kind, const RecordFate& fate) {
    switch (fate.kind) {
        case RecordFate::Kind::Write:
            try {
                if (!writeToShop(program.shop, *fate.write, program.run.from())) {
                    fWriteAuditReport(program, fate.auditMessage.text(), program.appPath, kind.auditReport);
                }
            } catch (const ProgramError& error) {
                reportLoaderError(program, kind, error);
            }
            return;
        case RecordFate::Kind::Audit:
            fWriteAuditReport(program, fate.auditMessage.text(), program.appPath, kind.auditReport);
            return;
        case RecordFate::Kind::Error:
        case RecordFate::Kind::AskOrderDetails:
            reportLoaderError(program, kind, fate.error.value_or(ProgramError(0, {})));
            return;
    }
}

void loadRecord(Program& program, const UploadLoader& kind, TextArray& fields) {
    carryOut(program, kind, decideRecord(program, kind, fields));
}
