#include "orderdialog/widgetorderdetailsopener.h"

#include "orderdialog/frmorderdetails.h"

WidgetOrderDetailsOpener::WidgetOrderDetailsOpener(Prompts& prompts, ShopDataObject& shop, QWidget* owner,
                                                   std::function<void()> ownerActivated)
    : prompts_(prompts), shop_(shop), owner_(owner), ownerActivated_(std::move(ownerActivated)) {}

OrderDetailsAnswer WidgetOrderDetailsOpener::chooseOrder(const QString& barcode, qint32 supplierId) {
    OrderDetailsAnswer answer;
    {
        // Loaded afresh for every record, so each opening starts from the form's first state.
        frmOrderDetails dialog(prompts_, shop_, barcode, supplierId, owner_);
        dialog.exec();
        answer = dialog.answer();
    }
    if (ownerActivated_) {
        ownerActivated_();
    }
    return answer;
}
