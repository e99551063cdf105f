#pragma once

#include <QString>
#include <functional>

#include "imports/recordfate.h"
#include "platform/textarray.h"

struct ModMain;

// One kind of upload file and its loader: its kind of run, the header that begins its first line, its audit
// report, the loader's error text, and the loader's decision over one record. The decision may
// read the shop but never writes; with `orderDetailsAnswered` it goes on past the order details
// dialog that it asked for.
struct UploadLoader {
    // The kind of import run the shop database keeps: "stocktake", "orders" or "goods".
    QString runKind;
    QString headerPrefix;
    QString auditReport;
    QString errorPrefix;
    std::function<RecordFate(ModMain& modMain, TextArray& fields, bool orderDetailsAnswered)> decide;
};

const UploadLoader& stocktakeUpload();
const UploadLoader& ordersUpload();
const UploadLoader& goodsReceivedUpload();
