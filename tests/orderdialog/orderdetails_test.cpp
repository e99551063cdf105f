#include "orderdialog/frmorderdetails.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSqlField>
#include <QSqlQuery>
#include <QTimer>
#include <memory>
#include <optional>

#include "mocks.h"
#include "orderdialog/widgetorderdetailsopener.h"
#include "platform/connection.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "startup/modmain.h"
#include "testshop.h"

namespace {

using testing::Return;

const QString kDemoBarcode = QStringLiteral("9310000000018");  // the demo shop's item 1
const QString kChooseSupplier = QStringLiteral("You must select a Supplier from the drop down");
const QString kMockConnection = QStringLiteral("orderdetails-mock");

// Hands out the demo shop's own connection, the demo's next order number and its item 1.
class DemoMockShop : public testing::NiceMock<MockShopData> {
public:
    DemoMockShop() {
        ON_CALL(*this, GetConnection)
            .WillByDefault(Return(platform::openConnection("dsn=MYOBRM", kMockConnection)));
        ON_CALL(*this, GetNextOrderNo).WillByDefault(Return(1001));
        ON_CALL(*this, GetItemByBarcode).WillByDefault([](const QString& barcode, QSqlRecord& item) {
            for (const auto& [name, value] : {std::pair<const char*, QVariant>{"Supplier_id", 2},
                                              {"BarCode", kDemoBarcode},
                                              {"Description", "Demo item 1"}}) {
                item.append(QSqlField(QLatin1String(name)));
                item.setValue(QLatin1String(name), value);
            }
            return barcode == kDemoBarcode;
        });
    }
    ~DemoMockShop() override {
        testing::Mock::VerifyAndClear(this);  // drops the mock's copies of the connection
        platform::closeConnection(kMockConnection);
    }
};

// The dialog over a fresh demo shop, shown without a modal loop, once with the mocked shop data
// object (parameter true) and once with the real one.
class OrderDetailsTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { startShop(); }
    void startShop() {  // a new demo shop, everything over the last one gone first
        dialog.reset();
        modMain.reset();
        shop.reset();
        testShop.reset();
        testShop = std::make_unique<TestShop>();
        testShop->registerDemoShop(20);
        if (GetParam()) {
            shop = std::make_unique<DemoMockShop>();
        } else {
            auto database = std::make_unique<ShopDatabase>();
            database->Connect();
            shop = std::move(database);
        }
        modMain = std::make_unique<ModMain>(prompts, tools, *shop, testShop->folder());
        modMain->sCurrentBarcode = kDemoBarcode;
    }
    void TearDown() override { EXPECT_TRUE(prompts.allAnswersUsed()); }
    void open() {  // shows a new dialog and lets its activation run
        prompts.shown.clear();
        dialog = std::make_unique<frmOrderDetails>(*modMain);
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
        return dialog->findChild<Control*>(QLatin1String(name));
    }
    bool okEnabled() const { return get<QPushButton>("cmdOK")->isEnabled(); }
    QStringList orders() const {
        QStringList texts;
        for (const QListWidgetItem* item : get<QListWidget>("lstOrders")->findItems("*", Qt::MatchWildcard)) {
            texts << item->text();
        }
        return texts;
    }

    ScriptedPrompts prompts;
    MockStringTools tools;
    std::unique_ptr<TestShop> testShop;
    std::unique_ptr<ShopDataObject> shop;
    std::unique_ptr<ModMain> modMain;
    std::unique_ptr<frmOrderDetails> dialog;
    QWidget menu;  // the owner the form is centred on
};

// What the form does by itself, whatever the shop data object: run over the real shop only.
class OrderDetailsFormTest : public OrderDetailsTest {};

TEST_P(OrderDetailsTest, ShowingFillsTheFormAndOffersTheSecondSupplier) {
    struct Case {
        QString barcode;
        QStringList item;
        int suppliers;
        QString shown;
        qint32 supplierId;
        const char* sql = nullptr;  // run on the shop first
    };
    const QString none = QStringLiteral("No Record found");
    const Case cases[] = {
        {kDemoBarcode, {"2", kDemoBarcode, "Demo item 1"}, 3, "2 - Beta Distributors", 2},
        {"0000000000000", {none, none, none}, 3, "2 - Beta Distributors", 2},
        {kDemoBarcode,
         {"2", kDemoBarcode, "Demo item 1"},
         1,
         "",
         77,
         "delete from supplier where Supplier_id<>1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.barcode.toStdString() + (c.sql ? c.sql : ""));
        ASSERT_TRUE(!c.sql || QSqlQuery(shop->GetConnection()).exec(QLatin1String(c.sql)));
        modMain->sCurrentBarcode = c.barcode;
        modMain->lSupplierID = 77;
        open();
        EXPECT_EQ(get("txtLastOrderNumber")->text(), QStringLiteral("1001"));
        EXPECT_EQ(QStringList({get("txtDefaultSupplier")->text(), get("txtBarcode")->text(),
                               get("txtDescription")->text()}),
                  c.item);
        EXPECT_EQ(get<QComboBox>("cbSupplier")->count(), c.suppliers);
        EXPECT_EQ(get<QComboBox>("cbSupplier")->currentText(), c.shown);
        EXPECT_EQ(modMain->lSupplierID, c.supplierId);
        EXPECT_FALSE(okEnabled());
        EXPECT_EQ(get<QPushButton>("cmdOK")->toolTip(), kChooseSupplier);
        EXPECT_EQ(dialog->focusWidget(), get("txtOrderNo"));
        EXPECT_TRUE(prompts.shown.isEmpty());
    }
}

TEST_P(OrderDetailsTest, PickingASupplierAsksAndListsItsOrdersOnYes) {
    struct Case {
        std::vector<std::pair<int, bool>> picks;
        qint32 supplierId;
        QStringList orders;
        int currentRow;
        bool okEnabled;
        QString lastShown;
    };
    const QStringList gamma{"101", "102", "103"};
    const Case cases[] = {
        {{{2, false}}, 3, {}, -1, false, kChooseSupplier},
        {{{2, true}}, 3, gamma, 1, true, "you have chosen Supplier-3 is this correct?"},
        {{{1, true}}, 2, {"201"}, -1, true, "you have chosen Supplier-2 is this correct?"},
        {{{2, true}, {0, false}}, 1, gamma, 1, false, kChooseSupplier},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastShown.toStdString() + " after " + std::to_string(c.picks.size()) + " picks");
        open();
        for (const auto& [index, yes] : c.picks) {
            pick(index, yes);
        }
        EXPECT_EQ(modMain->lSupplierID, c.supplierId);
        EXPECT_EQ(orders(), c.orders);
        EXPECT_EQ(get<QListWidget>("lstOrders")->currentRow(), c.currentRow);
        EXPECT_EQ(okEnabled(), c.okEnabled);
        EXPECT_EQ(prompts.shown.last(), c.lastShown);
    }
}

TEST_P(OrderDetailsTest, DoubleClickingAnOrderOffersItAndEnablesOk) {
    for (const bool yes : {true, false}) {
        open();
        pick(2, true);
        dialog->Form_Activate();  // shown again: OK waits for a supplier once more
        EXPECT_FALSE(okEnabled());
        get("txtOrderNo")->setText(QStringLiteral("555"));
        QListWidget* list = get<QListWidget>("lstOrders");
        list->setCurrentRow(2);
        prompts.answerNext(yes);
        const QPointF onOrder = list->visualItemRect(list->item(2)).center();
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, onOrder, list->viewport()->mapToGlobal(onOrder),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &doubleClick);
        EXPECT_EQ(prompts.shown.last(),
                  QStringLiteral("Do you want to override the Order number in the top text box?"));
        EXPECT_EQ(get("txtOrderNo")->text(), yes ? QStringLiteral("103") : QStringLiteral("555"));
        EXPECT_TRUE(okEnabled());
    }
}

TEST_P(OrderDetailsTest, UseBoxCopiesTheNextOrderNumberAndUntickingEmpties) {
    struct Case {
        const char* nextNumber;  // typed over the database's when set
        std::vector<bool> ticks;
        const char* orderNo;
    };
    for (const Case& c :
         {Case{nullptr, {true}, "1001"}, Case{"4321", {true}, "4321"}, Case{nullptr, {true, false}, ""}}) {
        open();
        get("txtOrderNo")->setText(QStringLiteral("777"));
        if (c.nextNumber) {
            get("txtLastOrderNumber")->setText(QLatin1String(c.nextNumber));
        }
        for (const bool tick : c.ticks) {
            get<QCheckBox>("chkLastOrdNo")->setChecked(tick);
        }
        EXPECT_EQ(get("txtOrderNo")->text(), QLatin1String(c.orderNo));
    }
}

TEST_P(OrderDetailsTest, OkHandsBackOnlyANumericOrderNumber) {
    const QString applyQuestion =
        QStringLiteral("Do you want to apply this Order number to all future blank Order#'s");
    struct Case {
        QString typed;
        std::optional<bool> answer;  // closes with OK when set
        QString lastShown;
        QString boxAfter;
        QString selected;
    };
    const Case cases[] = {
        {"   ", {}, "Order Number cannot be blank", "   ", "  "},
        {"12A", {}, "Order number must be numeric", "", ""},
        {"5678", true, applyQuestion, "5678", ""},
        {" 5678 ", false, applyQuestion, " 5678 ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        modMain->sChosenOrderNo = QStringLiteral("old");
        modMain->bApplyOrderNoToAll = !c.answer.value_or(false);
        open();
        prompts.critical.clear();
        get("txtOrderNo")->setText(c.typed);
        if (c.answer) {
            prompts.answerNext(*c.answer);
        }
        dialog->cmdOK_Click();
        EXPECT_EQ(prompts.shown.last(), c.lastShown);
        EXPECT_EQ(prompts.critical.size(), c.lastShown.endsWith(QStringLiteral("numeric")) ? 1 : 0);
        EXPECT_EQ(get("txtOrderNo")->text(), c.boxAfter);
        EXPECT_EQ(get("txtOrderNo")->selectedText(), c.selected);
        EXPECT_EQ(dialog->isVisible(), !c.answer);
        EXPECT_EQ(modMain->sChosenOrderNo, c.answer ? c.typed : QStringLiteral("old"));
        EXPECT_EQ(modMain->bApplyOrderNoToAll, c.answer ? *c.answer : true);
    }
}

TEST_P(OrderDetailsFormTest, AFailingQueryIsReportedAndTheFormStaysUsable) {
    for (const auto& [sql, afterShowing, prefix] :
         {std::tuple{"drop table supplier", false, "Error in Form_Activate = -2147467259-"},
          std::tuple{"drop table orders", true, "Error in cbSupplier_Click = -2147467259-"}}) {
        SCOPED_TRACE(sql);
        startShop();
        if (!afterShowing) {
            ASSERT_TRUE(QSqlQuery(shop->GetConnection()).exec(QLatin1String(sql)));
        }
        open();
        if (afterShowing) {
            ASSERT_TRUE(QSqlQuery(shop->GetConnection()).exec(QLatin1String(sql)));
            pick(2, true);
        }
        ASSERT_EQ(prompts.shown.filter(QStringLiteral("Error in")).size(), 1)
            << prompts.shown.join('|').toStdString();
        EXPECT_TRUE(prompts.shown.last().startsWith(QLatin1String(prefix)));
        EXPECT_FALSE(okEnabled());
        get("txtOrderNo")->setText(QStringLiteral("42"));
        prompts.answerNext(false);
        dialog->cmdOK_Click();
        EXPECT_EQ(modMain->sChosenOrderNo, QStringLiteral("42"));
    }
}

TEST_P(OrderDetailsFormTest, StartsAsDrawnCentredOnTheMenu) {
    menu.setGeometry(50, 40, 600, 500);
    menu.show();
    frmOrderDetails form(*modMain, &menu);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Order Details"));
    EXPECT_EQ(form.maximumSize(), QSize(455, 491));
    EXPECT_LE((form.geometry().center() - menu.geometry().center()).manhattanLength(), 2);
    for (const auto& [name, caption] :
         {std::pair{"lblLastOrderNo", "Next Order Number in MYOB:"}, std::pair{"chkLastOrdNo", "Use?"}}) {
        const auto* control = form.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->property("text").toString(), QLatin1String(caption)) << name;
    }
    EXPECT_TRUE(form.findChild<QComboBox*>(QStringLiteral("cbSupplier"))->isEditable());
}

TEST_P(OrderDetailsFormTest, OpenerShowsAModalFormOverTheMenuAndReactivatesTheMenuAfter) {
    menu.show();
    int menuActivations = 0;
    WidgetOrderDetailsOpener opener(&menu, [&] {
        ++menuActivations;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    });
    bool answered = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, &user, [&] {
        auto* form = qobject_cast<frmOrderDetails*>(QApplication::activeModalWidget());
        if (form && !answered) {
            answered = true;
            EXPECT_EQ(form->parentWidget(), &menu);
            form->findChild<QLineEdit*>(QStringLiteral("txtOrderNo"))->setText(QStringLiteral("5678"));
            prompts.answerNext(true);
            form->cmdOK_Click();
        }
    });
    user.start(5);
    opener.openOrderDetails(*modMain);
    EXPECT_EQ(menuActivations, 1);
    EXPECT_EQ(modMain->sChosenOrderNo, QStringLiteral("5678"));
    EXPECT_TRUE(modMain->bApplyOrderNoToAll);
}

INSTANTIATE_TEST_SUITE_P(ShopDataObjects, OrderDetailsTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Mock" : "ShopDatabase";
                         });

INSTANTIATE_TEST_SUITE_P(RealShop, OrderDetailsFormTest, testing::Values(false));

}  // namespace
