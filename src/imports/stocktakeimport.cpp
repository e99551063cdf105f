#include "imports/stocktakeimport.h"
#include "platform/scannerfiles.h"

#include "imports/auditreport.h"
#include "imports/importrun.h"
#include "imports/numerictext.h"
#include "imports/recordloading.h"
#include "startup/program.h"

namespace {

RecordFate decideStocktakeRecord(TextArray& fields, ShopDataObject& shop, const GoodsSession&, bool) {
    applyBarcodeRule(fields.at(2));
    const qint32 stockId = roundToLong(valOf(fields.at(1)));
    if (fields.at(2) == QLatin1String(scannerfiles::kDeletedMarker) ||
        fields.at(1) == QLatin1String(scannerfiles::kStocktakeHeader)) {
        return RecordFate::auditing(auditMessage(
            "Record had been deleted in your scanner, record skipped: ", "Barcode = ", fields, 3));
    }
    const char* const unwritten = "Error writing Stocktake barcode: ";
    const std::optional<StockItem> item = lookUpStockItem(shop, stockId);
    if (item) {
        const double quantity = quantityProduct(valOf(fields.at(3)), item->quantityFactor);
        // The shop writes no count for item key 0: such a record goes to the audit report.
        if (item->itemKey != 0) {
            return RecordFate::writing(StocktakeCount{item->itemKey, quantity},
                                       auditMessage(unwritten, "Barcode = ", fields, 3), item);
        }
    }
    return RecordFate::auditing(auditMessage(unwritten, "Barcode = ", fields, 3), item);
}

}  // namespace

const UploadLoader& stocktakeUpload() {
    static const UploadLoader kind{QStringLiteral("stocktake"), QLatin1String(scannerfiles::kStocktakePrefix),
                                   QStringLiteral("\\StockTakeAuditFile"),
                                   QStringLiteral("Error in fLoadPDTDetails_Error="), decideStocktakeRecord};
    return kind;
}

ProcessOutcome fProcessStocktakeFile(Program& program, const QString& path) {
    return processImport(program, stocktakeUpload(), path, fLoadPDTDetails);
}

void fLoadPDTDetails(Program& program, TextArray& fields) {
    loadRecord(program, stocktakeUpload(), fields);
}
