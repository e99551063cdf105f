#pragma once

#include <QDialog>

#include "imports/orderdetailsrules.h"
#include "orderdialog/orderdetailscontrols.h"

class Prompts;
class ShopDataObject;

// The order details dialog: the user settles the supplier and the order number of a received item
// that came from the scanner without one. OK closes it; its answer says what was settled.
class frmOrderDetails : public QDialog {
    Q_OBJECT

public:
    // The dialog for the scanned `barcode`, from the supplier settled so far, over its owner, the
    // main menu, in whose centre it is shown.
    frmOrderDetails(Prompts& prompts, ShopDataObject& shop, QString barcode, qint32 supplierId,
                    QWidget* owner = nullptr);

    // What the dialog settled: the supplier, and the order number once OK has accepted one.
    const OrderDetailsAnswer& answer() const { return rules_.answer(); }

    // Each time the form is shown: the next order number, the scanned item and the supplier list.
    void Form_Activate();
    // The user picked a supplier from the list: confirm it and list its existing orders.
    void cbSupplier_Click();
    // The "Use?" box changed: ticked copies the next order number, unticked empties the order number.
    void chkLastOrdNo_Click();
    // A double-click on the orders list offers the current order as the order number.
    void lstOrders_DblClick();
    // Checks the order number, asks whether it applies to all later blank ones, hands it back, closes.
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showScannedItem();
    void fillSupplierList();
    void fillOrderList();
    // The OK button as the rules have it: the one place the button is enabled or disabled.
    void showOk();

    Prompts& prompts_;
    ShopDataObject& shop_;
    const QString barcode_;
    OrderDetailsRules rules_;
    OrderDetailsControls ui_;
};
