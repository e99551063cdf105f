#include "imports/goodsreceivedimport.h"
#include "platform/scannerfiles.h"

#include "imports/auditreport.h"
#include "imports/importrun.h"
#include "imports/numerictext.h"
#include "imports/recordloading.h"
#include "startup/modmain.h"

namespace {

// The record's own order number, the one the user applied to all blank ones, or the one the user
// gave in the order details dialog for this record; nothing when the dialog must be asked first.
bool settleOrderNo(ModMain& modMain, const TextArray& fields, bool orderDetailsAnswered) {
    if (orderDetailsAnswered) {
        modMain.lOrderNo = roundToLong(valOf(modMain.sChosenOrderNo));
    } else if (modMain.lOrderNo != 0) {
        modMain.lOrderNo = strictLong(fields.at(4));
    } else if (modMain.bApplyOrderNoToAll) {
        modMain.lOrderNo = strictLong(modMain.sChosenOrderNo);
    } else {
        return false;
    }
    return true;
}

RecordFate goodsFate(ModMain& modMain, TextArray& fields, qint32 fieldThree) {
    applyBarcodeRule(fields.at(2));
    const qint32 stockId = roundToLong(valOf(fields.at(1)));
    qint32 itemKey = 0;
    double quantityFactor = 0;
    if (stockId != 0) {
        modMain.shop.LookupStockItem(stockId, itemKey, quantityFactor);
    }
    if (!modMain.shop.MatchItemBarcode(itemKey, fields.at(2))) {
        return RecordFate::auditing(auditMessage("Error writing Stock barcode: ", "Barcode = ", fields, 5));
    }
    const QString quantity = generalNumber(quantityProduct(valOf(fields.at(5)), quantityFactor));
    return RecordFate::writing(GoodsLine{itemKey, modMain.lOrderNo, fieldThree, quantity, modMain.lSupplierID,
                                         modMain.sCurrentBarcode});
}

// The steps before the order details dialog are taken once: asked again once the dialog has
// answered, the decision goes on from the dialog.
RecordFate decideGoodsRecord(ModMain& modMain, TextArray& fields, bool orderDetailsAnswered) {
    if (!orderDetailsAnswered) {
        modMain.lOrderNo = roundToLong(valOf(trimBlanks(fields.at(4))));
        modMain.sCurrentBarcode = trimBlanks(fields.at(2));
        if (fields.at(1) == QLatin1String(scannerfiles::kGoodsReceivedHeader) ||
            fields.at(2) == QLatin1String(scannerfiles::kDeletedMarker)) {
            return RecordFate::auditing(
                auditMessage("Record has been deleted out of your scanner: ", "BarCode = ", fields, 5));
        }
        if (modMain.shop.FindBarcode(modMain.sCurrentBarcode) == 0) {
            return RecordFate::auditing(
                auditMessage("Error writing Stock barcode: ", "BarCode = ", fields, 5));
        }
    }
    if (!settleOrderNo(modMain, fields, orderDetailsAnswered)) {
        return RecordFate::askingOrderDetails();
    }
    const qint32 fieldThree = trimBlanks(fields.at(3)).isEmpty() ? 0 : strictLong(fields.at(3));
    return goodsFate(modMain, fields, fieldThree);
}

}  // namespace

const UploadLoader& goodsReceivedUpload() {
    static const UploadLoader kind{QStringLiteral("goods"), QLatin1String(scannerfiles::kGoodsReceivedPrefix),
                                   QStringLiteral("\\GoodsRecAuditFile"),
                                   QStringLiteral("Error in fLoadGoodsRecPDTDetails_Error="),
                                   decideGoodsRecord};
    return kind;
}

ProcessOutcome fProcessGoodsReceivedFile(ModMain& modMain) {
    try {
        modMain.shop.StartGoodsReceived(-1, 5, 2);
    } catch (const ProgramError& error) {
        reportProcessingError(modMain, error);
        return ProcessOutcome::Stopped;
    }
    const ProcessOutcome outcome =
        processImport(modMain, goodsReceivedUpload(), modMain.menu->downloadPath(), fLoadGoodsRecPDTDetails);
    if (outcome != ProcessOutcome::Stopped) {
        modMain.menu->setStatus(QStringLiteral("Completed Processing Barcodes"));
    }
    return outcome;
}

void fLoadGoodsRecPDTDetails(ModMain& modMain, TextArray& fields) {
    loadRecord(modMain, goodsReceivedUpload(), fields);
}
