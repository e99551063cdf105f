#include "imports/stocktakeimport.h"
#include "platform/scannerfiles.h"

#include "imports/auditreport.h"
#include "imports/importrun.h"
#include "imports/numerictext.h"
#include "imports/recordloading.h"
#include "startup/modmain.h"

namespace {

RecordFate decideStocktakeRecord(ModMain& modMain, TextArray& fields, bool) {
    applyBarcodeRule(fields.at(2));
    const qint32 stockId = roundToLong(valOf(fields.at(1)));
    if (fields.at(2) == QLatin1String(scannerfiles::kDeletedMarker) ||
        fields.at(1) == QLatin1String(scannerfiles::kStocktakeHeader)) {
        return RecordFate::auditing(auditMessage(
            "Record had been deleted in your scanner, record skipped: ", "Barcode = ", fields, 3));
    }
    const char* const unwritten = "Error writing Stocktake barcode: ";
    if (stockId != 0) {
        qint32 itemKey = 0;
        double quantityFactor = 0;
        modMain.shop.LookupStockItem(stockId, itemKey, quantityFactor);
        const double quantity = quantityProduct(valOf(fields.at(3)), quantityFactor);
        // The shop writes no count for item key 0: such a record goes to the audit report.
        if (itemKey != 0) {
            return RecordFate::writing(StocktakeCount{itemKey, quantity},
                                       auditMessage(unwritten, "Barcode = ", fields, 3));
        }
    }
    return RecordFate::auditing(auditMessage(unwritten, "Barcode = ", fields, 3));
}

}  // namespace

const UploadLoader& stocktakeUpload() {
    static const UploadLoader kind{QStringLiteral("stocktake"), QLatin1String(scannerfiles::kStocktakePrefix),
                                   QStringLiteral("\\StockTakeAuditFile"),
                                   QStringLiteral("Error in fLoadPDTDetails_Error="), decideStocktakeRecord};
    return kind;
}

ProcessOutcome fProcessStocktakeFile(ModMain& modMain) {
    return processImport(modMain, stocktakeUpload(), modMain.menu->downloadPath(), fLoadPDTDetails);
}

void fLoadPDTDetails(ModMain& modMain, TextArray& fields) {
    loadRecord(modMain, stocktakeUpload(), fields);
}
