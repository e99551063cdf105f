#pragma once

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// The controls of the order details form that its handlers read and change; the labels are
// placed on the form too but need no handle.
struct OrderDetailsControls {
    QPushButton* cmdOK = nullptr;
    QLineEdit* txtOrderNo = nullptr;
    QComboBox* cbSupplier = nullptr;
    QListWidget* lstOrders = nullptr;
    QLineEdit* txtBarcode = nullptr;
    QLineEdit* txtDescription = nullptr;
    QLineEdit* txtDefaultSupplier = nullptr;
    QLineEdit* txtLastOrderNumber = nullptr;
    QCheckBox* chkLastOrdNo = nullptr;
};

// Creates every control of the order details form on `form`, named, captioned and placed as the
// form was drawn, in its tab order, with OK disabled and everything else empty or unticked.
OrderDetailsControls createOrderDetailsControls(QWidget* form);
