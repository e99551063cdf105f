#include "imports/ordersimport.h"
#include "platform/scannerfiles.h"

#include "imports/auditreport.h"
#include "imports/importrun.h"
#include "imports/numerictext.h"
#include "imports/recordloading.h"
#include "startup/program.h"

namespace {

RecordFate decideOrderRecord(TextArray& fields, ShopDataObject& shop, const GoodsSession&, bool) {
    applyBarcodeRule(fields.at(2));
    if (fields.at(1) == QLatin1String(scannerfiles::kOrdersHeader) ||
        fields.at(2) == QLatin1String(scannerfiles::kDeletedMarker)) {
        return RecordFate::auditing(auditMessage(
            "Record has been deleted in your scanner, record skipped: ", "Barcode = ", fields, 3));
    }
    const std::optional<StockItem> item = lookUpStockItem(shop, roundToLong(valOf(fields.at(1))));
    qint32 itemKey = item ? item->itemKey : 0;
    if (shop.MatchItemBarcode(itemKey, fields.at(2))) {
        const double quantityFactor = item ? item->quantityFactor : 0;
        return RecordFate::writing(OrderLine{itemKey, quantityProduct(valOf(fields.at(3)), quantityFactor)},
                                   {}, item);
    }
    return RecordFate::auditing(auditMessage("Error writing Stock barcode: ", "Barcode = ", fields, 3), item);
}

}  // namespace

const UploadLoader& ordersUpload() {
    static const UploadLoader kind{QStringLiteral("orders"), QLatin1String(scannerfiles::kOrdersPrefix),
                                   QStringLiteral("\\OrdersAuditFile"),
                                   QStringLiteral("Error in fLoadOrderPDTDetails_Error="), decideOrderRecord};
    return kind;
}

ProcessOutcome fProcessOrdersFile(Program& program, const QString& path) {
    return processImport(program, ordersUpload(), path, fLoadOrderPDTDetails);
}

void fLoadOrderPDTDetails(Program& program, TextArray& fields) {
    loadRecord(program, ordersUpload(), fields);
}
