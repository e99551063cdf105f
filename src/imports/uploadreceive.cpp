#include "imports/uploadreceive.h"

#include <QDir>

#include "imports/goodsreceivedimport.h"
#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"
#include "platform/scannerfiles.h"
#include "scanner/transferpdtfile.h"
#include "startup/modmain.h"

const UploadKindInfo& uploadKindInfo(UploadKind kind) {
    static const UploadKindInfo stocktake{scannerfiles::kStocktake, " StockTake ", fProcessStocktakeFile};
    static const UploadKindInfo orders{scannerfiles::kOrders, " Order ", fProcessOrdersFile};
    static const UploadKindInfo goods{scannerfiles::kGoodsReceived, " Goods Received ",
                                      fProcessGoodsReceivedFile};
    switch (kind) {
        case UploadKind::Stocktake:
            return stocktake;
        case UploadKind::Orders:
            return orders;
        case UploadKind::GoodsReceived:
            break;
    }
    return goods;
}

std::optional<int> receiveUpload(ModMain& modMain, UploadKind kind) {
    const UploadKindInfo& upload = uploadKindInfo(kind);
    modMain.bDownloadItemFile = false;
    modMain.menu->setDownloadPath(
        QDir::toNativeSeparators(modMain.appPath + QLatin1Char('/') + QLatin1String(upload.fileName)));
    return transferPDTFile(modMain, QLatin1String(upload.mode));
}
