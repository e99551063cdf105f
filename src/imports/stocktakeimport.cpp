#include "imports/stocktakeimport.h"

#include "imports/auditreport.h"
#include "imports/numerictext.h"
#include "startup/modmain.h"

namespace {

void audit(ModMain& modMain, const QString& message) {
    fWriteAuditReport(modMain, message, modMain.appPath, QStringLiteral("\\StockTakeAuditFile"));
}

void loadStocktakeRecord(ModMain& modMain, TextArray& fields) {
    applyBarcodeRule(fields.at(2));
    const qint32 stockId = roundToLong(valOf(fields.at(1)));
    if (fields.at(2) == QLatin1String("NUXADEL") || fields.at(1) == QLatin1String("NXSTV100")) {
        audit(modMain, auditMessage("Record had been deleted in your scanner, record skipped: ", "Barcode = ",
                                    fields, 3));
        return;
    }
    if (stockId != 0) {
        qint32 itemKey = 0;
        double quantityFactor = 0;
        modMain.shop.LookupStockItem(stockId, itemKey, quantityFactor);
        const double quantity = quantityProduct(valOf(fields.at(3)), quantityFactor);
        if (modMain.shop.WriteStocktakeQty(itemKey, quantity)) {
            return;
        }
    }
    audit(modMain, auditMessage("Error writing Stocktake barcode: ", "Barcode = ", fields, 3));
}

}  // namespace

ProcessOutcome fProcessStocktakeFile(ModMain& modMain) {
    return processUploadFile(modMain, modMain.menu->downloadPath(), QStringLiteral("NXST"), fLoadPDTDetails);
}

void fLoadPDTDetails(ModMain& modMain, TextArray& fields) {
    try {
        loadStocktakeRecord(modMain, fields);
    } catch (const ProgramError& error) {
        modMain.run.noteLoaderError(error);
        modMain.prompts.notice(errorText(QStringLiteral("Error in fLoadPDTDetails_Error="), error));
    }
}
