#include "imports/uploadreceive.h"

#include <QDir>

#include "imports/goodsreceivedimport.h"
#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"
#include "platform/scannerfiles.h"
#include "startup/program.h"

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

QString uploadPath(const Program& program, UploadKind kind) {
    return QDir::toNativeSeparators(program.appPath + QLatin1Char('/') +
                                    QLatin1String(uploadKindInfo(kind).fileName));
}

std::optional<int> receiveUpload(Program& program, UploadKind kind, const ScannerPort& port) {
    program.modMain.bDownloadItemFile = false;
    const TransferRequest request{program.modMain.bDownloadItemFile, uploadPath(program, kind), port};
    return transferPDTFile(program, QLatin1String(uploadKindInfo(kind).mode), request);
}
