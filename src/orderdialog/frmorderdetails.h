#pragma once

#include <QDialog>

#include "imports/orderdetailsrules.h"
#include "orderdialog/orderdetailscontrols.h"

struct ModMain;

// The order details dialog: the user settles the supplier and the order number of a received item
// that came from the scanner without one. OK hands them back through modMain's goods-received
// values (lSupplierID, sChosenOrderNo, bApplyOrderNoToAll) and closes the dialog.
class frmOrderDetails : public QDialog {
    Q_OBJECT

public:
    // The dialog over its owner, the main menu, in whose centre it is shown.
    explicit frmOrderDetails(ModMain& modMain, QWidget* owner = nullptr);

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

    ModMain& modMain_;
    OrderDetailsRules rules_;
    OrderDetailsControls ui_;
};
