#include "menu/uploadcommands.h"

#include <QColor>
#include <QDir>

#include "imports/goodsreceivedimport.h"
#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"
#include "scanner/scannerfiles.h"
#include "scanner/transferpdtfile.h"
#include "startup/modmain.h"

namespace {

// What sets one upload command apart from the others.
struct UploadConstants {
    QColor colour;
    const char* fileName;
    const char* mode;
    ProcessOutcome (*process)(ModMain&);
};

UploadConstants constantsFor(UploadKind kind) {
    switch (kind) {
        case UploadKind::Stocktake:
            return {QColor(192, 255, 192), scannerfiles::kStocktake, " StockTake ", fProcessStocktakeFile};
        case UploadKind::Orders:
            return {QColor(255, 128, 0), scannerfiles::kOrders, " Order ", fProcessOrdersFile};
        case UploadKind::GoodsReceived:
            break;
    }
    return {QColor(0, 128, 0), scannerfiles::kGoodsReceived, " Goods Received ", fProcessGoodsReceivedFile};
}

}  // namespace

void uploadCommand(ModMain& modMain, UploadKind kind) {
    const UploadConstants upload = constantsFor(kind);
    MenuView& menu = *modMain.menu;
    menu.setBackColour(upload.colour);
    modMain.bDownloadItemFile = false;
    menu.setBusyPointer(true);
    menu.setDownloadPath(
        QDir::toNativeSeparators(modMain.appPath + QLatin1Char('/') + QLatin1String(upload.fileName)));
    if (fTransferPDTFile(modMain, QLatin1String(upload.mode))) {
        upload.process(modMain);
    }
    if (kind == UploadKind::GoodsReceived) {
        // Every goods-received upload asks afresh for its first blank order number.
        modMain.bApplyOrderNoToAll = false;
    }
    menu.setStatus(QStringLiteral("Completed Processing Barcodes"));
    menu.setBusyPointer(false);
    menu.restoreIdleColour();
}
