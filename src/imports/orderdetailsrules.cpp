#include "imports/orderdetailsrules.h"

#include "imports/numerictext.h"
#include "platform/prompts.h"

namespace {

const QString kEntrySeparator = QStringLiteral(" - ");

}  // namespace

QString OrderDetailsRules::supplierIdText(const QString& entry) {
    return entry.left(entry.indexOf(kEntrySeparator));
}

QString OrderDetailsRules::chooseSupplierText() {
    return QStringLiteral("You must select a Supplier from the drop down");
}

// The second supplier is offered first, as the shop has always seen it.
QString OrderDetailsRules::activate(const QStringList& supplierEntries) {
    okEnabled_ = false;
    const QString shown = supplierEntries.size() >= 2 ? supplierEntries[1].trimmed() : QString();
    if (!shown.isEmpty()) {
        answer_.supplierId = strictLong(supplierIdText(shown));
    }
    return shown;
}

bool OrderDetailsRules::pickSupplier(const QString& picked, const std::function<void()>& listOrders) {
    if (picked.contains(kEntrySeparator)) {
        answer_.supplierId = roundToLong(valOf(supplierIdText(picked)));
    }
    const QString question = QStringLiteral("you have chosen Supplier-") + QString::number(supplierId()) +
                             QStringLiteral(" is this correct?");
    if (!prompts_.question(question)) {
        okEnabled_ = false;
        prompts_.notice(chooseSupplierText());
        return false;
    }
    listOrders();
    if (!picked.isEmpty()) {
        answer_.supplierId = strictLong(supplierIdText(picked));
    }
    okEnabled_ = true;
    return true;
}

OrderDetailsRules::Ok OrderDetailsRules::pressOk(const QString& orderNo) {
    if (orderNo.trimmed().isEmpty()) {
        prompts_.notice(QStringLiteral("Order Number cannot be blank"));
        return Ok::Blank;
    }
    if (!isNumericText(orderNo)) {
        prompts_.criticalNotice(QStringLiteral("Order number must be numeric"));
        return Ok::NotNumeric;
    }
    answer_.applyToAll = prompts_.question(
        QStringLiteral("Do you want to apply this Order number to all future blank Order#'s"));
    answer_.orderNo = orderNo;
    return Ok::Accepted;
}
