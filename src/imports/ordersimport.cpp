#include "imports/ordersimport.h"

#include "imports/auditreport.h"
#include "imports/numerictext.h"
#include "startup/modmain.h"

namespace {

void audit(ModMain& modMain, const QString& message) {
    fWriteAuditReport(modMain, message, modMain.appPath, QStringLiteral("\\OrdersAuditFile"));
}

void loadOrderRecord(ModMain& modMain, TextArray& fields) {
    applyBarcodeRule(fields.at(2));
    if (fields.at(1) == QLatin1String("NXORV100") || fields.at(2) == QLatin1String("NUXADEL")) {
        audit(modMain, auditMessage("Record has been deleted in your scanner, record skipped: ", "Barcode = ",
                                    fields, 3));
        return;
    }
    const qint32 stockId = roundToLong(valOf(fields.at(1)));
    qint32 itemKey = 0;
    double quantityFactor = 0;
    if (stockId != 0) {
        modMain.shop.LookupStockItem(stockId, itemKey, quantityFactor);
    }
    if (modMain.shop.MatchItemBarcode(itemKey, fields.at(2))) {
        modMain.shop.WriteOrderQty(itemKey, quantityProduct(valOf(fields.at(3)), quantityFactor));
        return;
    }
    audit(modMain, auditMessage("Error writing Stock barcode: ", "Barcode = ", fields, 3));
}

}  // namespace

ProcessOutcome fProcessOrdersFile(ModMain& modMain) {
    return processUploadFile(modMain, modMain.menu->downloadPath(), QStringLiteral("NXOR"),
                             fLoadOrderPDTDetails);
}

void fLoadOrderPDTDetails(ModMain& modMain, TextArray& fields) {
    try {
        loadOrderRecord(modMain, fields);
    } catch (const ProgramError& error) {
        modMain.run.noteLoaderError(error);
        modMain.prompts.notice(errorText(QStringLiteral("Error in fLoadOrderPDTDetails_Error="), error));
    }
}
