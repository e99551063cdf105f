#include "imports/recordloading.h"

#include "imports/auditreport.h"
#include "startup/modmain.h"

namespace {

// True when the shop wrote something; only a count can find nothing to write.
bool writeToShop(ShopDataObject& shop, const ShopWrite& write) {
    if (const auto* count = std::get_if<StocktakeCount>(&write)) {
        return shop.WriteStocktakeQty(count->itemKey, count->quantity);
    }
    if (const auto* line = std::get_if<OrderLine>(&write)) {
        shop.WriteOrderQty(line->itemKey, line->quantity);
        return true;
    }
    const auto& goods = std::get<GoodsLine>(write);
    shop.WriteGoodsReceived(goods.itemKey, goods.orderNo, goods.fieldThree, goods.quantity, goods.supplierId,
                            goods.barcode);
    return true;
}

void reportLoaderError(ModMain& modMain, const UploadLoader& kind, const ProgramError& error) {
    modMain.run.noteLoaderError(error);
    modMain.prompts.notice(errorText(kind.errorPrefix, error));
}

}  // namespace

RecordFate decideRecord(ModMain& modMain, const UploadLoader& kind, TextArray& fields) {
    try {
        RecordFate fate = kind.decide(modMain, fields, false);
        if (fate.kind == RecordFate::Kind::AskOrderDetails) {
            modMain.orderDetails->openOrderDetails(modMain);
            fate = kind.decide(modMain, fields, true);
        }
        return fate;
    } catch (const ProgramError& error) {
        return RecordFate::failing(error);
    }
}

void carryOut(ModMain& modMain, const UploadLoader& kind, const RecordFate& fate) {
    switch (fate.kind) {
        case RecordFate::Kind::Write:
            try {
                if (!writeToShop(modMain.shop, *fate.write)) {
                    fWriteAuditReport(modMain, fate.auditMessage.text(), modMain.appPath, kind.auditReport);
                }
            } catch (const ProgramError& error) {
                reportLoaderError(modMain, kind, error);
            }
            return;
        case RecordFate::Kind::Audit:
            fWriteAuditReport(modMain, fate.auditMessage.text(), modMain.appPath, kind.auditReport);
            return;
        case RecordFate::Kind::Error:
        case RecordFate::Kind::AskOrderDetails:
            reportLoaderError(modMain, kind, fate.error.value_or(ProgramError(0, {})));
            return;
    }
}

void loadRecord(ModMain& modMain, const UploadLoader& kind, TextArray& fields) {
    carryOut(modMain, kind, decideRecord(modMain, kind, fields));
}
