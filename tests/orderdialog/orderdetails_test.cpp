#include "orderdialog/frmorderdetails.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "mocks.h"
#include "orderdialog/widgetorderdetailsopener.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "shoprows.h"
#include "testshop.h"

namespace {

const QString kDemoBarcode = "9310000000018";  // the demo shop's item 1
const QString kChooseSupplier = "You must select a Supplier from the drop down";

// The dialog over a fresh demo shop, shown without a modal loop.
class OrderDetailsTest : public testing::Test {
protected:
    OrderDetailsTest() {
        testShop.registerDemoShop(20);
        database.Connect();
    }
    void TearDown() override { EXPECT_TRUE(prompts.allAnswersUsed()); }

    void open() {  // a new dialog, its activation run
        prompts.shown.clear();
        dialog = std::make_unique<frmOrderDetails>(prompts, database, barcode, startingSupplier);
        dialog->show();
        QCoreApplication::processEvents();
    }
    void pick(int index, bool yes) {
        prompts.answerNext(yes);
        get<QComboBox>("cbSupplier")->setCurrentIndex(index);
        dialog->cbSupplier_Click();
    }
    template <typename Control = QLineEdit>
    Control* get(const char* name) const {
        return dialog->findChild<Control*>(name);
    }
    bool okEnabled() const { return get<QPushButton>("cmdOK")->isEnabled(); }
    qint32 settledSupplier() const { return dialog->answer().supplierId.value_or(startingSupplier); }
    QStringList orders() const {
        QStringList texts;
        for (const QListWidgetItem* item : get<QListWidget>("lstOrders")->findItems("*", Qt::MatchWildcard)) {
            texts << item->text();
        }
        return texts;
    }
    void exec(const char* sql) { ASSERT_EQ(db.exec(sql), "") << sql; }

    TestShop testShop;
    ShopRows db;
    ScriptedPrompts prompts;
    ShopDatabase database;
    QString barcode = kDemoBarcode;
    qint32 startingSupplier = 0;
    std::unique_ptr<frmOrderDetails> dialog;
};

TEST_F(OrderDetailsTest, ShowingFillsTheFormAndOffersTheSecondSupplier) {
    const QStringList item{"2", kDemoBarcode, "Demo item 1"}, none(3, "No Record found");
    for (const auto& [scanned, sql, suppliers, shown, supplierId] :
         {std::tuple<QString, const char*, int, QString, qint32>{kDemoBarcode, nullptr, 3,
                                                                 "2 - Beta Distributors", 2},
          {"0000000000000", nullptr, 3, "2 - Beta Distributors", 2},
          {kDemoBarcode, "update supplier set Supplier = Supplier || '   '", 3, "2 - Beta Distributors", 2},
          {kDemoBarcode, "delete from supplier where Supplier_id<>1", 1, "", 77}}) {  // keeps the id
        SCOPED_TRACE(scanned.toStdString() + (sql ? sql : ""));
        if (sql) {
            exec(sql);
        }
        barcode = scanned;
        startingSupplier = 77;
        open();
        EXPECT_EQ(get("txtLastOrderNumber")->text(), "1001");
        EXPECT_EQ(QStringList({get("txtDefaultSupplier")->text(), get("txtBarcode")->text(),
                               get("txtDescription")->text()}),
                  scanned == kDemoBarcode ? item : none);
        EXPECT_EQ(get<QComboBox>("cbSupplier")->count(), suppliers);
        EXPECT_EQ(get<QComboBox>("cbSupplier")->currentText(), shown);
        EXPECT_EQ(settledSupplier(), supplierId);
        EXPECT_EQ(dialog->focusWidget(), get("txtOrderNo"));
        EXPECT_TRUE(prompts.shown.isEmpty());
    }
}

TEST_F(OrderDetailsTest, EachSupplierAnswerDecidesTheOrdersListAndOk) {
    const QStringList gamma{"101", "102", "103"};
    exec("insert into orders (order_id, supplier_id, order_date) values (301, 1, '2024-03-20')");
    exec("insert into orders (order_id, supplier_id, order_date) values (302, 1, '2024-03-21')");
    open();
    // One pick after another: the supplier's index, the answer, and the dialog afterwards.
    for (const auto& [index, yes, supplierId, listed, current, ok, lastShown] :
         {std::tuple<int, bool, qint32, QStringList, int, bool, QString>{
              2, false, 3, {}, -1, false, kChooseSupplier},
          {1, true, 2, {"201"}, -1, true, "you have chosen Supplier-2 is this correct?"},  // none current
          {2, true, 3, gamma, 1, true, "you have chosen Supplier-3 is this correct?"},
          {0, false, 1, gamma, 1, false, kChooseSupplier},  // a No keeps the list
          {0, true, 1, {"301", "302"}, 1, true, "you have chosen Supplier-1 is this correct?"}}) {
        SCOPED_TRACE(lastShown.toStdString() + " after picking " + std::to_string(index));
        pick(index, yes);
        EXPECT_EQ(settledSupplier(), supplierId);
        EXPECT_EQ(orders(), listed);
        EXPECT_EQ(get<QListWidget>("lstOrders")->currentRow(), current);
        EXPECT_EQ(okEnabled(), ok);
        EXPECT_EQ(prompts.shown.last(), lastShown);
    }
}

TEST_F(OrderDetailsTest, DoubleClickAndUseBoxFillTheOrderNumber) {
    open();
    pick(2, true);
    QListWidget* list = get<QListWidget>("lstOrders");
    list->setCurrentRow(2);
    get("txtOrderNo")->setText("555");
    for (const bool yes : {false, true}) {
        dialog->Form_Activate();  // shown again: OK waits for a supplier once more
        EXPECT_FALSE(okEnabled());
        prompts.answerNext(yes);
        const QPointF onOrder = list->visualItemRect(list->item(2)).center();
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, onOrder, list->viewport()->mapToGlobal(onOrder),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &doubleClick);
        EXPECT_EQ(prompts.shown.last(), "Do you want to override the Order number in the top text box?");
        EXPECT_EQ(get("txtOrderNo")->text(), QString(yes ? "103" : "555"));
        EXPECT_TRUE(okEnabled());
    }
    QCheckBox* use = get<QCheckBox>("chkLastOrdNo");
    use->setChecked(true);
    EXPECT_EQ(get("txtOrderNo")->text(), "1001");
    use->setChecked(false);
    get("txtLastOrderNumber")->setText("4321");  // a number typed over the database's is copied
    use->setChecked(true);
    EXPECT_EQ(get("txtOrderNo")->text(), "4321");
}

TEST_F(OrderDetailsTest, OkHandsBackOnlyANumericOrderNumber) {
    open();
    get("txtOrderNo")->setText("   ");
    dialog->cmdOK_Click();
    EXPECT_EQ(get("txtOrderNo")->selectedText(), "  ");  // from the second character on
    get("txtOrderNo")->setText("12A");
    dialog->cmdOK_Click();
    EXPECT_EQ(prompts.shown, QStringList({"Order Number cannot be blank", "Order number must be numeric"}));
    EXPECT_EQ(prompts.critical, QStringList{"Order number must be numeric"});
    EXPECT_EQ(get("txtOrderNo")->text(), "");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->answer().orderNo, std::nullopt);
    // A number is handed back as typed, blanks and all (the opener's case answers Yes).
    get("txtOrderNo")->setText(" 5678 ");
    prompts.answerNext(false);
    dialog->cmdOK_Click();
    EXPECT_EQ(prompts.shown.last(), "Do you want to apply this Order number to all future blank Order#'s");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->answer().orderNo, " 5678 ");
    EXPECT_FALSE(dialog->answer().applyToAll);
}

TEST_F(OrderDetailsTest, AFailingQueryIsReportedAndTheFormStaysUsable) {
    open();
    exec("drop table orders");
    pick(2, true);
    ASSERT_EQ(prompts.shown.size(), 2);  // the question, then one report
    EXPECT_TRUE(prompts.shown[1].startsWith("Error in cbSupplier_Click = -2147467259-"));
    EXPECT_FALSE(okEnabled());
    EXPECT_TRUE(dialog->isVisible());
    exec("drop table supplier");
    open();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith("Error in Form_Activate = -2147467259-"));
    get("txtOrderNo")->setText("42");
    prompts.answerNext(false);
    dialog->cmdOK_Click();
    EXPECT_EQ(dialog->answer().orderNo, "42");
}

TEST_F(OrderDetailsTest, TheOpenerShowsTheFormModallyCentredOnTheMenuAndReactivatesTheMenuAfter) {
    QWidget menu;
    menu.setGeometry(50, 40, 600, 500);
    menu.show();
    int menuActivations = 0;
    WidgetOrderDetailsOpener opener(prompts, database, &menu, [&] {
        ++menuActivations;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    });
    QTimer::singleShot(0, &menu, [&] {  // the user, once the form waits modally
        auto* form = qobject_cast<frmOrderDetails*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->parentWidget(), &menu);
        EXPECT_LE((form->geometry().center() - menu.geometry().center()).manhattanLength(), 2);
        form->findChild<QLineEdit*>("txtOrderNo")->setText("5678");
        prompts.answerNext(true);
        form->cmdOK_Click();
    });
    const OrderDetailsAnswer answer = opener.chooseOrder(kDemoBarcode, 0);
    EXPECT_EQ(menuActivations, 1);
    EXPECT_EQ(answer.supplierId, 2);
    EXPECT_EQ(answer.orderNo, "5678");
    EXPECT_TRUE(answer.applyToAll);
}

}  // namespace
