#include "imports/ordersimport.h"
#include "platform/scannerfiles.h"

#include "imports/auditreport.h"
#include "imports/importrun.h"
#include "imports/numerictext.h"
#include "imports/recordloading.h"
#include "startup/modmain.h"

namespace {

RecordFate decideOrderRecord(ModMain& modMain, TextArray& fields, bool) {
    applyBarcodeRule(fields.at(2));
    if (fields.at(1) == QLatin1String(scannerfiles::kOrdersHeader) ||
        fields.at(2) == QLatin1String(scannerfiles::kDeletedMarker)) {
        return RecordFate::auditing(auditMessage(
            "Record has been deleted in your scanner, record skipped: ", "Barcode = ", fields, 3));
    }
    const qint32 stockId = roundToLong(valOf(fields.at(1)));
    qint32 itemKey = 0;
    double quantityFactor = 0;
    if (stockId != 0) {
        modMain.shop.LookupStockItem(stockId, itemKey, quantityFactor);
    }
    if (modMain.shop.MatchItemBarcode(itemKey, fields.at(2))) {
        return RecordFate::writing(OrderLine{itemKey, quantityProduct(valOf(fields.at(3)), quantityFactor)});
    }
    return RecordFate::auditing(auditMessage("Error writing Stock barcode: ", "Barcode = ", fields, 3));
}

}  // namespace

const UploadLoader& ordersUpload() {
    static const UploadLoader kind{QStringLiteral("orders"), QLatin1String(scannerfiles::kOrdersPrefix),
                                   QStringLiteral("\\OrdersAuditFile"),
                                   QStringLiteral("Error in fLoadOrderPDTDetails_Error="), decideOrderRecord};
    return kind;
}

ProcessOutcome fProcessOrdersFile(ModMain& modMain) {
    return processImport(modMain, ordersUpload(), modMain.menu->downloadPath(), fLoadOrderPDTDetails);
}

void fLoadOrderPDTDetails(ModMain& modMain, TextArray& fields) {
    loadRecord(modMain, ordersUpload(), fields);
}
