#include "batch/batchorderdetails.h"

#include "imports/numerictext.h"
#include "startup/modmain.h"

void BatchOrderDetails::openOrderDetails(ModMain& modMain) {
    if (supplierId_) {
        modMain.lSupplierID = *supplierId_;
        modMain.prompts.notice(QStringLiteral("you have chosen Supplier-") + QString::number(*supplierId_) +
                               QStringLiteral(" is this correct?"));
    }
    if (!orderNo_) {
        return;
    }
    // The dialog's own checks: a blank or non-numeric number keeps it open, which here means
    // nobody pressed OK.
    if (orderNo_->trimmed().isEmpty()) {
        modMain.prompts.notice(QStringLiteral("Order Number cannot be blank"));
        return;
    }
    if (!isNumericText(*orderNo_)) {
        modMain.prompts.criticalNotice(QStringLiteral("Order number must be numeric"));
        return;
    }
    modMain.prompts.notice(
        QStringLiteral("Do you want to apply this Order number to all future blank Order#'s"));
    modMain.bApplyOrderNoToAll = applyToAll_;
    modMain.sChosenOrderNo = *orderNo_;
}
