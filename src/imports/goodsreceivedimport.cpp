#include "imports/goodsreceivedimport.h"
#include "platform/scannerfiles.h"

#include "imports/auditreport.h"
#include "imports/importrun.h"
#include "imports/numerictext.h"
#include "imports/recordloading.h"
#include "startup/program.h"

namespace {

// The shop says what the receipt would leave on hand, and refuses a quantity it could not book.
RecordFate goodsFate(TextArray& fields, ShopDataObject& shop, const GoodsSession& session, qint32 orderNo,
                     qint32 supplierId, const QString& barcode) {
    const qint32 fieldThree = trimBlanks(fields.at(3)).isEmpty() ? 0 : strictLong(fields.at(3));
    applyBarcodeRule(fields.at(2));
    const std::optional<StockItem> item = lookUpStockItem(shop, roundToLong(valOf(fields.at(1))));
    qint32 itemKey = item ? item->itemKey : 0;
    if (!shop.MatchItemBarcode(itemKey, fields.at(2))) {
        return RecordFate::auditing(auditMessage("Error writing Stock barcode: ", "Barcode = ", fields, 5),
                                    item);
    }
    const double quantityFactor = item ? item->quantityFactor : 0;
    const QString quantity = generalNumber(quantityProduct(valOf(fields.at(5)), quantityFactor));
    const std::optional<double> onHand =
        shop.onHandAfterReceiving(itemKey, quantity, session.unwrittenOnHand(itemKey));
    return RecordFate::writing(GoodsLine{itemKey, orderNo, fieldThree, quantity, supplierId, barcode, onHand},
                               {}, item);
}

// The order number is the record's own, the one the user applied to all blank ones, or the one the
// user gave in the order details dialog for this record, which is asked for first. Asked again
// once the dialog has answered, the decision goes on from the dialog's answer.
RecordFate decideGoodsRecord(TextArray& fields, ShopDataObject& shop, const GoodsSession& session,
                             bool orderDetailsAnswered) {
    qint32 orderNo = roundToLong(valOf(trimBlanks(fields.at(4))));
    const QString barcode = trimBlanks(fields.at(2));
    if (orderDetailsAnswered) {
        return goodsFate(fields, shop, session, roundToLong(valOf(session.sChosenOrderNo)),
                         session.lSupplierID, barcode);
    }
    if (fields.at(1) == QLatin1String(scannerfiles::kGoodsReceivedHeader) ||
        fields.at(2) == QLatin1String(scannerfiles::kDeletedMarker)) {
        return RecordFate::auditing(
            auditMessage("Record has been deleted out of your scanner: ", "BarCode = ", fields, 5));
    }
    if (shop.FindBarcode(barcode) == 0) {
        return RecordFate::auditing(auditMessage("Error writing Stock barcode: ", "BarCode = ", fields, 5));
    }
    if (orderNo != 0) {
        orderNo = strictLong(fields.at(4));
    } else if (session.bApplyOrderNoToAll) {
        orderNo = strictLong(session.sChosenOrderNo);
    } else {
        return RecordFate::askingOrderDetails(barcode);
    }
    return goodsFate(fields, shop, session, orderNo, session.lSupplierID, barcode);
}

}  // namespace

const UploadLoader& goodsReceivedUpload() {
    static const UploadLoader kind{QStringLiteral("goods"), QLatin1String(scannerfiles::kGoodsReceivedPrefix),
                                   QStringLiteral("\\GoodsRecAuditFile"),
                                   QStringLiteral("Error in fLoadGoodsRecPDTDetails_Error="),
                                   decideGoodsRecord};
    return kind;
}

ProcessOutcome fProcessGoodsReceivedFile(Program& program, const QString& path) {
    try {
        program.shop.StartGoodsReceived(-1, 5, 2);
    } catch (const ProgramError& error) {
        reportProcessingError(program, error);
        return ProcessOutcome::Stopped;
    }
    const ProcessOutcome outcome =
        processImport(program, goodsReceivedUpload(), path, fLoadGoodsRecPDTDetails);
    if (outcome != ProcessOutcome::Stopped) {
        program.progress->setStatus(QStringLiteral("Completed Processing Barcodes"));
    }
    return outcome;
}

void fLoadGoodsRecPDTDetails(Program& program, TextArray& fields) {
    loadRecord(program, goodsReceivedUpload(), fields);
}
