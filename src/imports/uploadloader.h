#pragma once

#include <QString>
#include <functional>

#include "imports/recordfate.h"
#include "outside/shopdataobject.h"
#include "platform/textarray.h"
#include "startup/goodssession.h"

// One kind of upload file and its loader: its kind of run, the header that begins its first line,
// its audit report, the loader's error text, and the loader's decision over one record. The
// decision reads the record, the shop and the goods-received session and writes none of them
// (but for the barcode rule, which a record's own field 2 takes in place); with
// `orderDetailsAnswered` it goes on past the order details dialog that it asked for.
struct UploadLoader {
    // The kind of import run the shop database keeps: "stocktake", "orders" or "goods".
    QString runKind;
    QString headerPrefix;
    QString auditReport;
    QString errorPrefix;
    std::function<RecordFate(TextArray& fields, ShopDataObject& shop, const GoodsSession& session,
                             bool orderDetailsAnswered)>
        decide;
};

// The item of a record's stock id, as the loaders look it up: nothing is looked up for stock id 0.
std::optional<StockItem> lookUpStockItem(ShopDataObject& shop, qint32 stockId);

const UploadLoader& stocktakeUpload();
const UploadLoader& ordersUpload();
const UploadLoader& goodsReceivedUpload();
