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
#include "menu/formfont.h"
#include "outside/shopdataobject.h"
#include "platform/programerror.h"
#include "platform/prompts.h"

namespace {

const QString kNoRecord = QStringLiteral("No Record found");

QString fieldText(const QSqlRecord& record, const QString& name) {
    if (record.indexOf(name) < 0) {
        throw itemNotFoundError();
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

frmOrderDetails::frmOrderDetails(Prompts& prompts, ShopDataObject& shop, QString barcode, qint32 supplierId,
                                 QWidget* owner)
    : QDialog(owner),
      prompts_(prompts),
      shop_(shop),
      barcode_(std::move(barcode)),
      rules_(prompts, supplierId),
      ui_(createOrderDetailsControls(this)) {
    setWindowTitle(QStringLiteral("Order Details"));
    setFont(formFont(font()));
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
    reportingFailure(prompts_, QStringLiteral("Error in Form_Activate = "), [this] {
        ui_.txtLastOrderNumber->setText(QString::number(shop_.GetNextOrderNo()));
        if (ui_.chkLastOrdNo->isChecked()) {
            ui_.txtOrderNo->setText(ui_.txtLastOrderNumber->text());
        }
        ui_.txtOrderNo->setFocus();
        ui_.cmdOK->setToolTip(OrderDetailsRules::chooseSupplierText());
        showScannedItem();
        fillSupplierList();
        showOk();
    });
}

void frmOrderDetails::showScannedItem() {
    QSqlRecord item;
    const bool found = shop_.GetItemByBarcode(barcode_, item);
    ui_.txtDefaultSupplier->setText(found ? fieldText(item, QStringLiteral("Supplier_id")) : kNoRecord);
    ui_.txtBarcode->setText(found ? fieldText(item, QStringLiteral("BarCode")) : kNoRecord);
    ui_.txtDescription->setText(found ? fieldText(item, QStringLiteral("Description")) : kNoRecord);
}

void frmOrderDetails::fillSupplierList() {
    QComboBox* suppliers = ui_.cbSupplier;
    suppliers->clear();
    const QStringList entries = shop_.supplierEntries();
    suppliers->addItems(entries);
    const QString shown = rules_.activate(entries);
    suppliers->setCurrentIndex(shown.isEmpty() ? -1 : 1);
    suppliers->setEditText(shown);
    // Show the entry from its start: the supplier id comes first.
    suppliers->lineEdit()->setCursorPosition(0);
}

void frmOrderDetails::cbSupplier_Click() {
    reportingFailure(prompts_, QStringLiteral("Error in cbSupplier_Click = "), [this] {
        rules_.pickSupplier(ui_.cbSupplier->currentText(), [this] { fillOrderList(); });
        showOk();
    });
}

void frmOrderDetails::fillOrderList() {
    QListWidget* orders = ui_.lstOrders;
    orders->clear();
    orders->addItems(shop_.supplierOrders(rules_.supplierId()));
    orders->setCurrentRow(OrderDetailsRules::currentOrderRow(orders->count()));
}

void frmOrderDetails::chkLastOrdNo_Click() {
    ui_.txtOrderNo->setText(ui_.chkLastOrdNo->isChecked() ? ui_.txtLastOrderNumber->text() : QString());
}

void frmOrderDetails::lstOrders_DblClick() {
    if (prompts_.question(QStringLiteral("Do you want to override the Order number in the top text box?"))) {
        const QListWidgetItem* current = ui_.lstOrders->currentItem();
        ui_.txtOrderNo->setText(current ? current->text() : QString());
    }
    rules_.enableOk();
    showOk();
}

void frmOrderDetails::showOk() {
    ui_.cmdOK->setEnabled(rules_.okEnabled());
}

void frmOrderDetails::cmdOK_Click() {
    const QString orderNo = ui_.txtOrderNo->text();
    switch (rules_.pressOk(orderNo)) {
        case OrderDetailsRules::Ok::Blank:
            // From the second character on, as far as the text goes, ready for retyping.
            ui_.txtOrderNo->setSelection(qMin(1, static_cast<int>(orderNo.size())),
                                         static_cast<int>(orderNo.size()));
            ui_.txtOrderNo->setFocus();
            return;
        case OrderDetailsRules::Ok::NotNumeric:
            ui_.txtOrderNo->clear();
            return;
        case OrderDetailsRules::Ok::Accepted:
            accept();
    }
}
