#include "orderdialog/widgetorderdetailsopener.h"

#include "orderdialog/frmorderdetails.h"

WidgetOrderDetailsOpener::WidgetOrderDetailsOpener(QWidget* owner, std::function<void()> ownerActivated)
    : owner_(owner), ownerActivated_(std::move(ownerActivated)) {}

void WidgetOrderDetailsOpener::openOrderDetails(ModMain& modMain) {
    {
        // Loaded afresh for every record, so each opening starts from the form's first state.
        frmOrderDetails dialog(modMain, owner_);
        dialog.exec();
    }
    if (ownerActivated_) {
        ownerActivated_();
    }
}
