// The main menu: the form with the shop data faked, the item file's records, and the four commands end to
// end through the stand-in utility, the scanner simulator and a demo shop; only message boxes are scripted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTimer>

#include "batch/batchorderdetails.h"
#include "faultydevices.h"
#include "menu/frmmenu.h"
#include "menu/widgetprompts.h"
#include "mocks.h"
#include "platform/stringtools.h"
#include "programfiles.h"
#include "scanner/itemexport.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "shoprows.h"
#include "startup/program.h"
#include "testshop.h"

namespace {

class MenuTest : public testing::Test {
protected:
    MenuTest() {
        program.modMain.sVersion = "v9.8.7";
        ON_CALL(tools, Split).WillByDefault(testing::Invoke(&realTools, &StringTools::Split));
        ON_CALL(tools, ListDataSources).WillByDefault(testing::ReturnPointee(&dataSources));
    }

    QString dataSources = "RM\tSQLite3";  // the shop's "MYOBRM" not yet registered
    TestShop shop;
    ScriptedPrompts prompts;
    StringTools realTools;
    testing::NiceMock<MockStringTools> tools;
    testing::NiceMock<MockShopData> data;
    Program program{prompts, tools, data, shop.folder()};
    frmMenu menu{program};

    bool comm1() const { return menu.findChild<QAbstractButton*>("optcomm1")->isChecked(); }
};

// Without the shop database only Quit and the runs window stay usable, even once the shop is there; each
// activation takes the port, and a path when there is one, from the settings over an unsaved choice.
TEST_F(MenuTest, ActivationNeedsTheShopAndResetsThePortAndPathFromTheSettings) {
    menu.Form_Activate();
    menu.Form_Activate();
    EXPECT_EQ(
        prompts.shown,
        QStringList(2, "You have not configured RM Stockhand correctly yet, please Exit and try again"));
    EXPECT_FALSE(comm1());  // no settings file
    dataSources += "|MYOBRM\tSQLite3";
    for (const char* settings : {"COMPORT=1\r\nDESPATCHPATH=/shop/Stock.dat\r\n", "COMPORT=1 \r\n",
                                 "COMPORT=3\r\n", "COMPORT=2\r\nDESPATCHPATH=\r\n"}) {
        const bool comm1 = QByteArray(settings).startsWith("COMPORT=1");
        writeBytes("rmstockhand.config.ini", settings);
        menu.findChild<QAbstractButton*>(comm1 ? "optcomm2" : "optcomm1")->setChecked(true);
        menu.Form_Activate();
        EXPECT_EQ(this->comm1(), comm1) << settings;
        EXPECT_EQ(menu.findChild<QLineEdit*>("txtDownLoadPath")->text(), "/shop/Stock.dat") << settings;
    }
    EXPECT_EQ(prompts.shown.size(), 2);
    for (const char* name : {"cmdDownloadItemFile", "cmdGoodsReceived", "cmdUploadOrders", "cmdUploadPDT"}) {
        EXPECT_FALSE(menu.findChild<QWidget*>(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(menu.findChild<QWidget*>("cmdCancel")->isEnabled());
    // The runs window's button stays, so that the window can say what is missing.
    EXPECT_TRUE(menu.findChild<QWidget*>("cmdRuns")->isEnabled());
    EXPECT_EQ(menu.findChild<QWidget*>("cmdGoodsReceived")->nextInFocusChain(),
              menu.findChild<QWidget*>("cmdRuns"));
}

TEST_F(MenuTest, QuitAsksAndOnlyYesUnloadsWhileClosingDoesNotAsk) {
    menu.show();
    prompts.answerNext(false);
    menu.findChild<QAbstractButton*>("cmdCancel")->click();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    prompts.answerNext(false);
    QCoreApplication::sendEvent(&menu, &escape);
    EXPECT_TRUE(menu.isVisible());
    prompts.answerNext(true);
    menu.findChild<QAbstractButton*>("cmdCancel")->click();
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(prompts.shown, QStringList(3, "Are you sure?"));
    menu.show();
    menu.close();  // unloads without the question
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(prompts.shown.size(), 3);
}

TEST_F(MenuTest, TheFirstShowActivatesAndAnUntrappedErrorEndsTheMenu) {
    EXPECT_CALL(tools, ListDataSources())
        .WillOnce(testing::Throw(ProgramError(errnum::DeviceIoError, "Device I/O error")));
    // Should activation never run, the menu would wait for the user; this ends the wait.
    QTimer::singleShot(10000, &menu, &QDialog::reject);
    EXPECT_THROW(menu.showModal(), ProgramError);
    EXPECT_EQ(menu.findChild<QLineEdit*>("txtVers")->text(), "v9.8.7");
}

// A box's title is the program's name alone. Enter answers Yes to a question, but No to one whose
// Yes could do harm twice, such as loading a file again.
TEST(WidgetPromptsTest, EnterAnswersNoToACautiousQuestion) {
    WidgetPrompts prompts;
    for (const bool cautious : {false, true}) {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "RM Stockhand");
            box->defaultButton()->click();
        });
        EXPECT_EQ(cautious ? prompts.cautiousQuestion("Load it again?") : prompts.question("Go on?"),
                  !cautious);
    }
}

TEST_F(MenuTest, ItemFileRecordsRenderEachFieldAtItsWidth) {
    // Prices have two decimals and no leading zero; each rounds as its exact value does: a half cent
    // to the even cent, a price a hair below or above one to the cent on that side, a large price too.
    // clang-format off
    const std::pair<double, const char*> prices[] = {
        {0, ".00"}, {57.95, "57.95"}, {3, "3.00"}, {-0.25, "-.25"}, {1234567.891, "1234567.89"}, {-0.001, ".00"},
        {-0.0, ".00"}, {0.125, ".12"}, {0.135, ".14"}, {2.675, "2.67"}, {1.005, "1.00"}, {-2.675, "-2.67"},
        {0.285, ".28"}, {-0.005, "-.01"}, {9999999.995, "9999999.99"}, {1e7 + 0.125, "10000000.12"}};
    // clang-format on
    for (const auto& [price, text] : prices) {
        EXPECT_EQ(priceText(price), QString(text)) << price;
    }
    // Each field padded or cut to its width (5, 15, 40, 9, 5), shown here between bars; a price of 0 and
    // the second value keep their plain forms.
    const struct {
        qint32 stockId;
        QString barcode, description;
        double price, second;
        QString fields;
    } records[] = {
        {123456, "12345678901234567890", QString(50, 'd'), 1000000, 2.5,
         "12345|123456789012345|" + QString(40, 'd') + "|1000000.0|2.5  "},
        {1, "", "", 0, 12, "1    |" + QString(15, ' ') + '|' + QString(40, ' ') + "|.00      |12   "},
        {-7, "4", "Négatif", -0.5, 123456,
         "-7   |4" + QString(14, ' ') + "|Négatif" + QString(33, ' ') + "|-.50     |12345"},
        // A line break or another control character inside a field becomes a space: one record, one
        // line; a character beyond Latin-1 is a "?" in the file.
        {7, "93\r\n10", "Crème\r\nbrûlée\tà\u0085la €5", 1, 1,
         "7    |93  10         |Crème  brûlée à la ?5" + QString(19, ' ') + "|1.00     |1    "}};
    for (const auto& c : records) {
        QByteArray file("before");
        appendItemLine(file, c.stockId, c.barcode, c.description, c.price, c.second);
        EXPECT_EQ(file, "before" + QString(c.fields).remove('|').toLatin1() + "\r\n");
    }
}

class MenuCommandsTest : public testing::Test {
protected:
    static constexpr int kItems = 60;
    void SetUp() override {
        testShop.registerDemoShop(kItems);
        qputenv("PDT_SIM_DIR", inFolder("scanner").toLocal8Bit());
        ASSERT_TRUE(QFile::copy(RM_BIN_DIR "/Tsr-tu3a.exe", inFolder("Tsr-tu3a.exe")));
        shop.Connect();
        program.progress = &menu;
        program.orderChooser = &orderDetails;
        menu.show();
        QCoreApplication::processEvents();  // the menu's first activation
    }

    QString inFolder(const QString& name) const { return testShop.folder() + '/' + name; }
    QPushButton* button(const char* name) { return menu.findChild<QPushButton*>(name); }
    // Downloads the item file, answering Yes to the question; gives what was shown after it.
    QStringList download() {
        prompts.shown.clear();
        prompts.answerNext(true);
        button("cmdDownloadItemFile")->click();
        return prompts.shown.mid(1);
    }
    // The scanner holds the item file and an upload of each kind, made as a shop assistant would.
    void fillScanner() {
        download();
        for (const char* mode : {"stocktake", "orders", "goods"}) {
            ASSERT_EQ(runProgram("pdt-sim", {mode, "--records", "30"}).exitCode, 0);
        }
        prompts.shown.clear();
    }
    // The idle colour, the normal pointer, and the buttons free for the next command.
    void expectIdle() {
        EXPECT_EQ(menu.palette().window().color(), QApplication::palette().toolTipBase().color());
        EXPECT_NE(menu.cursor().shape(), Qt::WaitCursor);
        EXPECT_FALSE(menu.commandRunning());
    }
    // How every upload ends, whatever happened on the way.
    void expectFinished(const QString& fileName) {
        EXPECT_EQ(menu.findChild<QLineEdit*>("txtStatus")->text(), "Completed Processing Barcodes");
        expectIdle();
        EXPECT_EQ(menu.findChild<QLineEdit*>("txtDownLoadPath")->text(), inFolder(fileName));
        EXPECT_TRUE(QString(readBytes(inFolder("rmstockhand.config.ini")))
                        .contains("DESPATCHPATH=" + inFolder(fileName) + "\r\n"));
        EXPECT_FALSE(program.modMain.goods.bApplyOrderNoToAll);
    }

    TestShop testShop;
    ShopRows shopRows;  // the test's own connection to the shop
    ScriptedPrompts prompts;
    StringTools tools;
    ShopDatabase shop;
    Program program{prompts, tools, shop, testShop.folder()};
    BatchOrderDetails orderDetails{prompts, shop, 3, QStringLiteral("5678"), true};
    frmMenu menu{program};
};

TEST_F(MenuCommandsTest, DownloadSendsTheItemFileIntoTheScanner) {
    fillScanner();
    const QByteArray sent = readBytes(inFolder("rmItems.dat"));
    EXPECT_EQ(readBytes(inFolder("scanner/rmItems.dat")), sent);
    const QList<QByteArray> records = sent.split('\n');
    ASSERT_EQ(records.size(), kItems + 1);  // in stock id order, each ended by CR LF
    EXPECT_EQ(records[9], "10   9310000000100  Demo item 10                            10.95    12   \r");
    EXPECT_EQ(records[kItems - 1].left(5), "60   ");
    EXPECT_EQ(menu.findChild<QLineEdit*>("txtStatus")->text(), "Finished Processing");
    expectIdle();
    // An empty stock table gives an empty item file, sent all the same.
    ASSERT_EQ(shopRows.exec("delete from stock"), "");
    download();
    EXPECT_EQ(readBytes(inFolder("scanner/rmItems.dat")), "");
    // A failed export keeps the old item file and sends nothing.
    writeBytes(inFolder("rmItems.dat"), "old item file\r\n");
    ASSERT_EQ(shopRows.exec("drop table stock"), "");
    const QStringList shown = download();
    EXPECT_EQ(readBytes(inFolder("rmItems.dat")), "old item file\r\n");
    EXPECT_EQ(readBytes(inFolder("scanner/rmItems.dat")), "");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Error in Download Item File = -2147467259-"));
    expectIdle();
}

// The disk fills on the first record of the item file, part way into it, just past the first
// mebibyte (a large file goes to the disk a piece at a time as it is written) or in the last record:
// the old item file stays byte for byte, nothing is left beside it, and nothing goes to the scanner.
TEST_F(MenuCommandsTest, AnItemFileWriteThatFailsPartWayKeepsTheOldFileAndSendsNothing) {
    constexpr int kMore = 15000;  // records of 76 bytes: over a mebibyte in all
    ASSERT_EQ(shopRows.exec(
                  QStringLiteral("insert into stock (stock_id, BarCode, Description, Supplier_id, Price, "
                                 "QtyOnHand, QtyFactor) with recursive n(i) as (select 1 union all select "
                                 "i + 1 from n where i < %1) select 1000 + i, '93' || i, 'More ' || i, 1, "
                                 "1.5, 0, 1 from n")
                      .arg(kMore)),
              "");
    constexpr qint64 kRecord = 76, kMebibyte = 1024 * 1024;
    for (const qint64 room :
         {qint64{0}, kItems / 2 * kRecord + 30, kMebibyte + 100, (kItems + kMore) * kRecord - 10}) {
        SCOPED_TRACE(room);
        writeBytes(inFolder("rmItems.dat"), "old item file\r\n");
        program.files = faultyDevices({room});
        EXPECT_EQ(download(), QStringList{"Error in Download Item File = 61-Disk full"});
        EXPECT_EQ(readBytes(inFolder("rmItems.dat")), "old item file\r\n");
        EXPECT_FALSE(QFile::exists(inFolder("scanner/rmItems.dat")));
        EXPECT_EQ(QDir(testShop.folder()).entryList({"rmItems*"}, QDir::Files), QStringList{"rmItems.dat"});
        expectIdle();
    }
    program.files = {};
    download();
    EXPECT_EQ(readBytes(inFolder("rmItems.dat")).count('\n'), kItems + kMore);
}

// A button, the mode its prompt names, its upload, its audit report and the table its records land in.
struct Upload {
    const char *button, *mode, *file, *auditFile, *table;
};

class UploadTest : public MenuCommandsTest, public testing::WithParamInterface<Upload> {};

// Each known record lands in the shop and each other one (deleted on the scanner, or of an item the
// shop does not know) has its audit line and its warning; the loaders' tests pin the lines' texts.
TEST_P(UploadTest, StoresEachKnownRecordAndAuditsExactlyTheOthers) {
    const Upload& u = GetParam();
    fillScanner();
    const double onHandBefore = shopRows.rows("select sum(QtyOnHand) from stock").toDouble();
    button(u.button)->click();
    int known = 0, audited = 0;
    QSet<QString> orderNumbers;
    for (const QString& line :
         QString(readBytes(inFolder(u.file))).split("\r\n", Qt::SkipEmptyParts).mid(1)) {
        const QStringList r = line.split(',');  // a record after the header line
        if (r[1] == "NUXADEL" || r[0].toInt() < 1 || r[0].toInt() > kItems) {
            ++audited;
            continue;
        }
        ++known;
        orderNumbers << (r.value(3).toInt() != 0 ? r[3] : "5678");
    }
    ASSERT_TRUE(known > 0 && audited > 0);  // both kinds of record were scanned
    EXPECT_EQ(shopRows.rows(QString("select count(*) from ") + u.table), QString::number(known));
    EXPECT_EQ(readBytes(inFolder(u.auditFile)).count("\r\n"), audited);
    EXPECT_EQ(prompts.shown.first(),
              QString("Please put BHT 8000 into") + u.mode + "download mode and plug cable in !!");
    EXPECT_EQ(prompts.shown.filter("You have scanned a barcode(s) that does not exist").size(), audited);
    if (u.table == QLatin1String("goods_received")) {  // the dialog's number fills each blank one
        EXPECT_EQ(shopRows.rows("select count(distinct order_id) from goods_received"),
                  QString::number(orderNumbers.size()));
        EXPECT_GT(shopRows.rows("select sum(QtyOnHand) from stock").toDouble(), onHandBefore);
    }
    expectFinished(u.file);
}

INSTANTIATE_TEST_SUITE_P(Buttons, UploadTest,
                         testing::Values(Upload{"cmdUploadPDT", " StockTake ", "Stock.dat",
                                                "StockTakeAuditFile.rep", "stocktake_counts"},
                                         Upload{"cmdUploadOrders", " Order ", "Orders.dat",
                                                "OrdersAuditFile.rep", "order_lines"},
                                         Upload{"cmdGoodsReceived", " Goods Received ", "Goods.dat",
                                                "GoodsRecAuditFile.rep", "goods_received"}));

TEST_F(MenuCommandsTest, AMissingUtilityStopsBeforeTheImportAndStillFinishes) {
    ASSERT_TRUE(QFile::remove(inFolder("Tsr-tu3a.exe")));
    menu.findChild<QAbstractButton*>("chOverwrite")->setChecked(false);
    writeBytes(inFolder("Goods.dat"), "NXGRV100\r\n10,9310000000100,0,77,5\r\n");  // old, not to be read
    program.modMain.goods.bApplyOrderNoToAll = true;
    button("cmdGoodsReceived")->click();
    EXPECT_EQ(prompts.shown.mid(1), QStringList{"Error in Shell=53-File not found"});  // after the prompt
    EXPECT_EQ(shopRows.rows("select count(*) from goods_received"), "0");
    expectFinished("Goods.dat");
}

TEST_F(MenuCommandsTest, NothingStartsAndNothingClosesWhileATransferWaits) {
    fillScanner();
    qputenv("PDT_SIM_DELAY_MS", "800");
    bool otherButtonEnabled = true, openAfterClose = false;
    QTimer::singleShot(300, &menu, [&] {
        otherButtonEnabled = button("cmdUploadOrders")->isEnabled();
        button("cmdUploadOrders")->click();
        menu.close();
        openAfterClose = menu.isVisible();
    });
    button("cmdUploadPDT")->click();
    qunsetenv("PDT_SIM_DELAY_MS");
    EXPECT_FALSE(otherButtonEnabled);
    EXPECT_TRUE(openAfterClose);
    EXPECT_EQ(prompts.shown.filter("Please put BHT 8000").size(), 1);
    EXPECT_EQ(shopRows.rows("select count(*) from order_lines"), "0");
    EXPECT_GT(shopRows.rows("select count(*) from stocktake_counts").toInt(), 0);
    // The close waited for the command, then unloaded the menu with its buttons as they were.
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(button("cmdUploadOrders")->isEnabled());
}

}  // namespace
