#include "orderdialog/orderdetailscontrols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

// The form was drawn in twips; fifteen of them make one pixel.
constexpr int pixels(int twips) {
    return twips / 15;
}

template <typename Control>
Control* place(Control* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
    return control;
}

void addLabel(QWidget* form, const char* name, const char* caption, int left, int top, int width,
              int height) {
    auto* label = place(new QLabel(QLatin1String(caption), form), name, left, top, width, height);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QLineEdit* addTextBox(QWidget* form, const char* name, int left, int top, int width, int height) {
    return place(new QLineEdit(form), name, left, top, width, height);
}

}  // namespace

OrderDetailsControls createOrderDetailsControls(QWidget* form) {
    // Created in tab order, which is the order the focus walks them.
    OrderDetailsControls c;
    c.cmdOK = place(new QPushButton(QStringLiteral("OK"), form), "cmdOK", 480, 6360, 1095, 855);
    c.txtOrderNo = addTextBox(form, "txtOrderNo", 480, 1200, 1455, 285);
    addLabel(form, "lblOrderNo", "Order Number", 480, 720, 1455, 255);
    c.cbSupplier = place(new QComboBox(form), "cbSupplier", 480, 2520, 1935, 315);
    addLabel(form, "lblSupplierID", "Supplier ID", 480, 2040, 1815, 255);
    c.lstOrders = place(new QListWidget(form), "lstOrders", 480, 4200, 1935, 1815);
    addLabel(form, "lblExistingOrders", "Existing Orders for Supplier Selected", 480, 3240, 1935, 495);
    addLabel(form, "lblExplainOrders",
             "Orders existing against Supplier chosen, please select one or create new Order against Order "
             "Number entered",
             2640, 5280, 3615, 735);
    c.txtBarcode = addTextBox(form, "txtBarcode", 3360, 2280, 2895, 375);
    c.txtDescription = addTextBox(form, "txtDescription", 3360, 3480, 2895, 375);
    c.txtDefaultSupplier = addTextBox(form, "txtDefaultSupplier", 3360, 4680, 2895, 375);
    addLabel(form, "lblBarcode", "Barcode", 3360, 1800, 2895, 255);
    addLabel(form, "lblDescription", "Description", 3360, 3000, 2895, 255);
    addLabel(form, "lblDefaultSupplier", "Default Supplier", 3360, 4200, 2895, 255);
    c.txtLastOrderNumber = addTextBox(form, "txtLastOrderNumber", 3360, 1200, 1455, 285);
    // As wide as the labels below it: at its first width the caption did not fit on one line.
    addLabel(form, "lblLastOrderNo", "Next Order Number in MYOB:", 3360, 720, 2895, 255);
    c.chkLastOrdNo = place(new QCheckBox(QStringLiteral("Use?"), form), "chkLastOrdNo", 5400, 1200, 855, 255);

    // The supplier box takes typing, but only a pick from its list counts as a choice.
    c.cbSupplier->setEditable(true);
    c.cbSupplier->setInsertPolicy(QComboBox::NoInsert);
    c.cmdOK->setEnabled(false);
    return c;
}
