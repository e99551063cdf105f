#include "orderdialog/frmorderdetails.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSqlRecord>

#include "imports/numerictext.h"
#include "orderdialog/orderdetailsqueries.h"
#include "platform/formfont.h"
#include "startup/modmain.h"

namespace {

const QString kChooseSupplier = QStringLiteral("You must select a Supplier from the drop down");
const QString kNoRecord = QStringLiteral("No Record found");
const QString kEntrySeparator = QStringLiteral(" - ");

// The supplier id part of a supplier entry such as "12 - Acme".
QString supplierIdText(const QString& entry) {
    return entry.left(entry.indexOf(kEntrySeparator));
}

QString fieldText(const QSqlRecord& record, const QString& name) {
    if (record.indexOf(name) < 0) {
        throw ProgramError(errnum::ItemNotFound,
                           QStringLiteral("Item cannot be found in the collection "
                                          "corresponding to the requested name or ordinal."));
    }
    return record.value(name).toString();
}

// A failing query or shop data call is reported with the handler's prefix; the form stays open.
template <typename Body>
void reportingFailure(Prompts& prompts, const QString& prefix, Body&& body) {
    try {
        body();
    } catch (const ProgramError& error) {
        prompts.notice(errorText(prefix, error));
    }
}

}  // namespace

frmOrderDetails::frmOrderDetails(ModMain& modMain, QWidget* owner)
    : QDialog(owner), modMain_(modMain), ui_(createOrderDetailsControls(this)) {
    setWindowTitle(QStringLiteral("Order Details"));
    setFont(platform::formFont(font()));
    setFixedSize(455, 491);
    QPalette green = palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    setPalette(green);
    setAutoFillBackground(true);

    connect(ui_.cbSupplier, &QComboBox::activated, this, &frmOrderDetails::cbSupplier_Click);
    connect(ui_.chkLastOrdNo, &QCheckBox::toggled, this, &frmOrderDetails::chkLastOrdNo_Click);
    connect(ui_.cmdOK, &QPushButton::clicked, this, &frmOrderDetails::cmdOK_Click);
    // A double-click anywhere on the list counts, on an entry or on its empty part.
    ui_.lstOrders->viewport()->installEventFilter(this);
}

void frmOrderDetails::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        // Activation fills the form once it is on screen, every time it is shown.
        QMetaObject::invokeMethod(this, &frmOrderDetails::Form_Activate, Qt::QueuedConnection);
    }
}

bool frmOrderDetails::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.lstOrders->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lstOrders_DblClick();
    }
    return QDialog::eventFilter(watched, event);
}

void frmOrderDetails::Form_Activate() {
    reportingFailure(modMain_.prompts, QStringLiteral("Error in Form_Activate = "), [this] {
        ui_.txtLastOrderNumber->setText(QString::number(modMain_.shop.GetNextOrderNo()));
        if (ui_.chkLastOrdNo->isChecked()) {
            ui_.txtOrderNo->setText(ui_.txtLastOrderNumber->text());
        }
        ui_.txtOrderNo->setFocus();
        ui_.cmdOK->setEnabled(false);
        ui_.cmdOK->setToolTip(kChooseSupplier);
        showScannedItem();
        fillSupplierList();
    });
}

void frmOrderDetails::showScannedItem() {
    QSqlRecord item;
    const bool found = modMain_.shop.GetItemByBarcode(modMain_.sCurrentBarcode, item);
    ui_.txtDefaultSupplier->setText(found ? fieldText(item, QStringLiteral("Supplier_id")) : kNoRecord);
    ui_.txtBarcode->setText(found ? fieldText(item, QStringLiteral("BarCode")) : kNoRecord);
    ui_.txtDescription->setText(found ? fieldText(item, QStringLiteral("Description")) : kNoRecord);
}

void frmOrderDetails::fillSupplierList() {
    QComboBox* suppliers = ui_.cbSupplier;
    suppliers->clear();
    suppliers->addItems(supplierEntries(modMain_.shop.GetConnection()));
    // The second supplier is offered first, as the shop has always seen it.
    const bool offerSecond = suppliers->count() >= 2;
    const QString shown = offerSecond ? suppliers->itemText(1).trimmed() : QString();
    suppliers->setCurrentIndex(offerSecond ? 1 : -1);
    suppliers->setEditText(shown);
    // Show the entry from its start: the supplier id comes first.
    suppliers->lineEdit()->setCursorPosition(0);
    if (!shown.isEmpty()) {
        modMain_.lSupplierID = strictLong(supplierIdText(shown));
    }
}

void frmOrderDetails::cbSupplier_Click() {
    reportingFailure(modMain_.prompts, QStringLiteral("Error in cbSupplier_Click = "), [this] {
        const QString picked = ui_.cbSupplier->currentText();
        if (picked.contains(kEntrySeparator)) {
            modMain_.lSupplierID = roundToLong(valOf(supplierIdText(picked)));
        }
        const QString question = QStringLiteral("you have chosen Supplier-") +
                                 QString::number(modMain_.lSupplierID) + QStringLiteral(" is this correct?");
        if (!modMain_.prompts.question(question)) {
            ui_.cmdOK->setEnabled(false);
            modMain_.prompts.notice(kChooseSupplier);
            return;
        }
        fillOrderList();
        const QString confirmed = ui_.cbSupplier->currentText();
        if (!confirmed.isEmpty()) {
            modMain_.lSupplierID = strictLong(supplierIdText(confirmed));
        }
        ui_.cmdOK->setEnabled(true);
    });
}

void frmOrderDetails::fillOrderList() {
    QListWidget* orders = ui_.lstOrders;
    orders->clear();
    orders->addItems(supplierOrders(modMain_.shop.GetConnection(), modMain_.lSupplierID));
    if (orders->count() >= 2) {
        orders->setCurrentRow(1);
    }
}

void frmOrderDetails::chkLastOrdNo_Click() {
    ui_.txtOrderNo->setText(ui_.chkLastOrdNo->isChecked() ? ui_.txtLastOrderNumber->text() : QString());
}

void frmOrderDetails::lstOrders_DblClick() {
    if (modMain_.prompts.question(
            QStringLiteral("Do you want to override the Order number in the top text box?"))) {
        const QListWidgetItem* current = ui_.lstOrders->currentItem();
        ui_.txtOrderNo->setText(current ? current->text() : QString());
    }
    ui_.cmdOK->setEnabled(true);
}

void frmOrderDetails::cmdOK_Click() {
    const QString orderNo = ui_.txtOrderNo->text();
    if (orderNo.trimmed().isEmpty()) {
        modMain_.prompts.notice(QStringLiteral("Order Number cannot be blank"));
        // From the second character on, as far as the text goes, ready for retyping.
        ui_.txtOrderNo->setSelection(qMin(1, static_cast<int>(orderNo.size())),
                                     static_cast<int>(orderNo.size()));
        ui_.txtOrderNo->setFocus();
        return;
    }
    if (!isNumericText(orderNo)) {
        modMain_.prompts.criticalNotice(QStringLiteral("Order number must be numeric"));
        ui_.txtOrderNo->clear();
        return;
    }
    modMain_.bApplyOrderNoToAll = modMain_.prompts.question(
        QStringLiteral("Do you want to apply this Order number to all future blank Order#'s"));
    modMain_.sChosenOrderNo = orderNo;
    accept();
}
