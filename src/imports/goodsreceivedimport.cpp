#include "imports/goodsreceivedimport.h"

#include "imports/auditreport.h"
#include "imports/numerictext.h"
#include "startup/modmain.h"

namespace {

void audit(ModMain& modMain, const QString& message) {
    fWriteAuditReport(modMain, message, modMain.appPath, QStringLiteral("\\GoodsRecAuditFile"));
}

// The record's own order number, the one the user applied to all blank ones, or the one the user
// gives in the order details dialog for this record.
void settleOrderNo(ModMain& modMain, const TextArray& fields) {
    if (modMain.lOrderNo != 0) {
        modMain.lOrderNo = strictLong(fields.at(4));
    } else if (modMain.bApplyOrderNoToAll) {
        modMain.lOrderNo = strictLong(modMain.sChosenOrderNo);
    } else {
        modMain.orderDetails->openOrderDetails(modMain);
        modMain.lOrderNo = roundToLong(valOf(modMain.sChosenOrderNo));
    }
}

void writeGoods(ModMain& modMain, TextArray& fields, qint32 fieldThree) {
    applyBarcodeRule(fields.at(2));
    const qint32 stockId = roundToLong(valOf(fields.at(1)));
    qint32 itemKey = 0;
    double quantityFactor = 0;
    if (stockId != 0) {
        modMain.shop.LookupStockItem(stockId, itemKey, quantityFactor);
    }
    if (!modMain.shop.MatchItemBarcode(itemKey, fields.at(2))) {
        audit(modMain, auditMessage("Error writing Stock barcode: ", "Barcode = ", fields, 5));
        return;
    }
    const QString quantity = generalNumber(quantityProduct(valOf(fields.at(5)), quantityFactor));
    modMain.shop.WriteGoodsReceived(itemKey, modMain.lOrderNo, fieldThree, quantity, modMain.lSupplierID,
                                    modMain.sCurrentBarcode);
}

void loadGoodsRecord(ModMain& modMain, TextArray& fields) {
    modMain.lOrderNo = roundToLong(valOf(trimBlanks(fields.at(4))));
    modMain.sCurrentBarcode = trimBlanks(fields.at(2));
    if (fields.at(1) == QLatin1String("NXGRV100") || fields.at(2) == QLatin1String("NUXADEL")) {
        audit(modMain,
              auditMessage("Record has been deleted out of your scanner: ", "BarCode = ", fields, 5));
        return;
    }
    if (modMain.shop.FindBarcode(modMain.sCurrentBarcode) == 0) {
        audit(modMain, auditMessage("Error writing Stock barcode: ", "BarCode = ", fields, 5));
        return;
    }
    settleOrderNo(modMain, fields);
    const qint32 fieldThree = trimBlanks(fields.at(3)).isEmpty() ? 0 : strictLong(fields.at(3));
    writeGoods(modMain, fields, fieldThree);
}

}  // namespace

ProcessOutcome fProcessGoodsReceivedFile(ModMain& modMain) {
    try {
        modMain.shop.StartGoodsReceived(-1, 5, 2);
    } catch (const ProgramError& error) {
        reportProcessingError(modMain, error);
        return ProcessOutcome::Stopped;
    }
    const ProcessOutcome outcome = processUploadFile(modMain, modMain.menu->downloadPath(),
                                                     QStringLiteral("NXGR"), fLoadGoodsRecPDTDetails);
    if (outcome != ProcessOutcome::Stopped) {
        modMain.menu->setStatus(QStringLiteral("Completed Processing Barcodes"));
    }
    return outcome;
}

void fLoadGoodsRecPDTDetails(ModMain& modMain, TextArray& fields) {
    try {
        loadGoodsRecord(modMain, fields);
    } catch (const ProgramError& error) {
        modMain.run.noteLoaderError(error);
        modMain.prompts.notice(errorText(QStringLiteral("Error in fLoadGoodsRecPDTDetails_Error="), error));
    }
}
