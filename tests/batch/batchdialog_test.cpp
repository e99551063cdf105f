// A goods-received upload imported through the window, a person answering the order details
// dialog, and through the batch command line, its options giving the same answers, leaves the same
// rows in the shop and shows the same texts.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "batchprogram.h"
#include "fakeprogress.h"
#include "imports/goodsreceivedimport.h"
#include "orderdialog/frmorderdetails.h"
#include "orderdialog/widgetorderdetailsopener.h"
#include "platform/stringtools.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "shoprows.h"
#include "startup/program.h"
#include "testshop.h"

namespace {

// Two records without an order number between two with one: the dialog opens for each blank one
// until its number is applied to all.
const QByteArray kGoods =
    "NXGRV100\r\n10,9310000000100,4,102,3\r\n5,9310000000056,0,,2\r\n7,9310000000070,0, ,1\r\n"
    "8,9310000000087,0,201,5\r\n";

// What a person does in the dialog: the supplier picked and confirmed (0: none), the order number
// typed before OK (none: the dialog is closed without OK), the answer to applying it to all; and
// the batch options that say the same.
struct Answers {
    const char* name;
    int supplier;
    const char* orderNo;
    bool applyToAll;
    QStringList options;
};

QString shopRows() {
    ShopRows db;
    return db.rows(
               "select order_id, supplier_id, reference, quantity, barcode, stock_id from goods_received "
               "order by received_id") +
           " / " + db.rows("select order_id, status from orders order by order_id") + " / " +
           db.rows("select sum(QtyOnHand) from stock");
}

// Answers the order details dialog on screen, if one is and it was not answered yet, as a person at
// the window would.
void answerDialog(const Answers& answers, ScriptedPrompts& prompts, int& opened) {
    auto* dialog = qobject_cast<frmOrderDetails*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || dialog->property("answered").toBool()) {
        return;
    }
    dialog->setProperty("answered", true);
    ++opened;
    if (answers.supplier != 0) {
        auto* suppliers = dialog->findChild<QComboBox*>("cbSupplier");
        suppliers->setCurrentIndex(
            suppliers->findText(QString::number(answers.supplier), Qt::MatchStartsWith));
        prompts.answerNext(true);
        dialog->cbSupplier_Click();
    }
    if (answers.orderNo == nullptr) {
        dialog->reject();
        return;
    }
    dialog->findChild<QLineEdit*>("txtOrderNo")->setText(answers.orderNo);
    prompts.answerNext(answers.applyToAll);
    dialog->findChild<QPushButton*>("cmdOK")->click();
}

class DialogAnswers : public testing::TestWithParam<Answers> {};

TEST_P(DialogAnswers, TheWindowAndTheBatchLeaveTheSameRowsAndShowTheSameTexts) {
    const Answers& answers = GetParam();
    QString windowRows, windowShown;
    {
        TestShop testShop;
        testShop.registerDemoShop(20);
        ScriptedPrompts prompts;
        StringTools tools;
        ShopDatabase shop;
        shop.Connect();
        Program program(prompts, tools, shop, testShop.folder());
        FakeProgress menu;
        WidgetOrderDetailsOpener orderDetails(prompts, shop, nullptr, {});
        program.progress = &menu;
        program.orderChooser = &orderDetails;
        int opened = 0;
        QTimer person;
        QObject::connect(&person, &QTimer::timeout, [&] { answerDialog(answers, prompts, opened); });
        person.start(5);
        fProcessGoodsReceivedFile(program, writeBytes(testShop.folder() + "/Goods.dat", kGoods));
        EXPECT_TRUE(prompts.allAnswersUsed());
        EXPECT_EQ(opened, answers.applyToAll ? 1 : 2);  // once for each blank record, until applied to all
        windowRows = shopRows();
        windowShown = prompts.shown.isEmpty() ? QString() : prompts.shown.join('\n') + '\n';
    }
    TestShop testShop;
    testShop.registerDemoShop(20);
    const ProgramRun run = batch(
        QStringList{"import-goods", writeBytes(testShop.folder() + "/Goods.dat", kGoods)} + answers.options);
    EXPECT_EQ(shopRows(), windowRows);
    EXPECT_EQ(QString::fromLocal8Bit(run.errors), windowShown);
}

INSTANTIATE_TEST_SUITE_P(
    GoodsReceived, DialogAnswers,
    testing::Values(
        Answers{"ClosedWithoutOk", 0, nullptr, false, {}},
        Answers{"SupplierOnly", 3, nullptr, false, {"--supplier", "3"}},
        Answers{"EachRecordAsked", 3, "5678", false, {"--supplier", "3", "--order-no", "5678"}},
        Answers{"AppliedToAll", 1, "77", true, {"--supplier", "1", "--order-no", "77", "--apply-to-all"}}),
    [](const testing::TestParamInfo<Answers>& info) { return std::string(info.param.name); });

}  // namespace
