// The four transfer commands from end to end: the real menu, the stand-in transfer utility, the
// scanner simulator and a demo shop through ODBC; only the message boxes are scripted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QSqlQuery>
#include <QTimer>

#include "batch/batchorderdetails.h"
#include "menu/frmmenu.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "startup/modmain.h"
#include "startup/settings.h"
#include "stringtools/stringtools.h"
#include "testshop.h"

namespace {

const QString kItemCount = QStringLiteral("60");
const QString kAuditWarning = QStringLiteral(
    "You have scanned a barcode(s) that does not exist in RetailManager, refer to AuditFile for details");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The records of an upload file, each split into its fields.
QList<QStringList> uploadRecords(const QString& path) {
    QList<QStringList> records;
    for (const QByteArray& line : readAll(path).split('\n')) {
        const QString record = QString::fromLatin1(line).trimmed();
        if (!record.isEmpty() && !record.startsWith(QLatin1String("NX"))) {
            records << record.split(QLatin1Char(','));
        }
    }
    return records;
}

// The audit report's lines without their time stamps.
QStringList auditMessages(const QString& path) {
    QStringList messages;
    for (const QByteArray& line : readAll(path).split('\n')) {
        if (!line.isEmpty()) {
            messages << QString::fromLatin1(line).section(QLatin1Char('-'), 1).chopped(2);
        }
    }
    return messages;
}

class MenuCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        shopFile = testShop.registerDemoShop(kItemCount.toInt());
        qputenv("PDT_SIM_DIR", scannerFolder().toLocal8Bit());
        ASSERT_TRUE(QFile::copy(QStringLiteral(RM_BIN_DIR "/Tsr-tu3a.exe"), inFolder("Tsr-tu3a.exe")));
        shop.Connect();
        modMain.menu = &menu;
        modMain.orderDetails = &orderDetails;
        menu.show();
        QCoreApplication::processEvents();  // the menu's first activation
    }

    void TearDown() override { qunsetenv("PDT_SIM_DIR"); }

    QString inFolder(const char* name) const {
        return testShop.folder() + QLatin1Char('/') + QLatin1String(name);
    }
    QString scannerFolder() const { return testShop.folder() + QStringLiteral("/scanner"); }
    QPushButton* button(const char* name) { return menu.findChild<QPushButton*>(QLatin1String(name)); }
    QString text(const char* box) { return menu.findChild<QLineEdit*>(QLatin1String(box))->text(); }

    // The scanner holds the item file and an upload of each kind, made as a shop assistant would.
    void fillScanner() {
        prompts.answerNext(true);
        button("cmdDownloadItemFile")->click();
        for (const char* mode : {"stocktake", "orders", "goods"}) {
            ASSERT_EQ(
                QProcess::execute(QStringLiteral(RM_BIN_DIR "/pdt-sim"),
                                  {QLatin1String(mode), QStringLiteral("--records"), QStringLiteral("30")}),
                0);
        }
        prompts.shown.clear();
    }

    int rows(const char* sql) {
        QSqlQuery query(shop.GetConnection());
        return query.exec(QLatin1String(sql)) && query.next() ? query.value(0).toInt() : -1;
    }

    QString setting(const char* key) {
        QString value;
        ManageDefaults(modMain, modMain.exeName, QStringLiteral("GET"), QLatin1String(key), value);
        return value;
    }

    bool knownItem(const QString& stockId) const {
        const int id = stockId.toInt();
        return id >= 1 && id <= kItemCount.toInt();
    }

    void expectFinished(const char* fileName) {
        EXPECT_EQ(text("txtStatus"), QStringLiteral("Completed Processing Barcodes"));
        EXPECT_EQ(menu.palette().color(QPalette::Window),
                  QApplication::palette().color(QPalette::ToolTipBase));
        EXPECT_EQ(text("txtDownLoadPath"), inFolder(fileName));
        EXPECT_EQ(setting("DESPATCHPATH"), inFolder(fileName));
        EXPECT_FALSE(menu.commandRunning());
    }

    TestShop testShop;
    QString shopFile;
    ScriptedPrompts prompts;
    StringTools tools;
    ShopDatabase shop;
    ModMain modMain{prompts, tools, shop, testShop.folder()};
    BatchOrderDetails orderDetails{3, QStringLiteral("5678"), true};
    frmMenu menu{modMain};
};

TEST_F(MenuCommandsTest, DownloadSendsTheItemFileIntoTheScanner) {
    fillScanner();
    const QByteArray sent = readAll(inFolder("rmItems.dat"));
    EXPECT_EQ(readAll(scannerFolder() + QStringLiteral("/rmItems.dat")), sent);
    const QList<QByteArray> records = sent.split('\n');
    EXPECT_EQ(records.size(), kItemCount.toInt() + 1);
    EXPECT_EQ(records.first().size(), 75);  // 74 characters and the CR
    EXPECT_EQ(text("txtStatus"), QStringLiteral("Finished Processing"));
}

TEST_F(MenuCommandsTest, StocktakeUploadWritesEachKnownCountAndAuditsTheRest) {
    fillScanner();
    button("cmdUploadPDT")->click();

    int known = 0;
    QStringList expectedAudit;
    for (const QStringList& r : uploadRecords(inFolder("Stock.dat"))) {
        if (r[1] == QLatin1String("NUXADEL")) {
            expectedAudit << "Record had been deleted in your scanner, record skipped: Barcode = " + r[1] +
                                 "Qty = " + r[2];
        } else if (!knownItem(r[0])) {
            expectedAudit << "Error writing Stocktake barcode: Barcode = " + r[1] + "Qty = " + r[2];
        } else {
            ++known;
        }
    }
    EXPECT_GT(known, 0);
    EXPECT_FALSE(expectedAudit.isEmpty());
    EXPECT_EQ(rows("select count(*) from stocktake_counts"), known);
    EXPECT_EQ(auditMessages(inFolder("StockTakeAuditFile.rep")), expectedAudit);
    EXPECT_EQ(prompts.shown.count(kAuditWarning), expectedAudit.size());
    EXPECT_EQ(prompts.shown.first(),
              QStringLiteral("Please put BHT 8000 into StockTake download mode and plug cable in !!"));
    expectFinished("Stock.dat");
}

TEST_F(MenuCommandsTest, OrdersUploadAddsOrderLinesAndAuditsTheRest) {
    fillScanner();
    button("cmdUploadOrders")->click();

    int known = 0;
    int audited = 0;
    for (const QStringList& r : uploadRecords(inFolder("Orders.dat"))) {
        knownItem(r[0]) && r[1] != QLatin1String("NUXADEL") ? ++known : ++audited;
    }
    EXPECT_EQ(rows("select count(*) from order_lines"), known);
    EXPECT_EQ(auditMessages(inFolder("OrdersAuditFile.rep")).size(), audited);
    expectFinished("Orders.dat");
}

TEST_F(MenuCommandsTest, GoodsUploadBooksEachKnownItemAndForgetsTheAppliedOrderNumber) {
    fillScanner();
    const int onHandBefore = rows("select sum(QtyOnHand) from stock");
    button("cmdGoodsReceived")->click();

    int known = 0;
    QSet<QString> orderNumbers;
    for (const QStringList& r : uploadRecords(inFolder("Goods.dat"))) {
        if (knownItem(r[0]) && r[1] != QLatin1String("NUXADEL")) {
            ++known;
            orderNumbers << (r[3].toInt() == 0 ? QStringLiteral("5678") : r[3]);
        }
    }
    EXPECT_EQ(rows("select count(*) from goods_received"), known);
    EXPECT_EQ(rows("select count(distinct order_id) from goods_received"), orderNumbers.size());
    EXPECT_GT(rows("select sum(QtyOnHand) from stock"), onHandBefore);
    EXPECT_FALSE(auditMessages(inFolder("GoodsRecAuditFile.rep")).isEmpty());
    EXPECT_FALSE(modMain.bApplyOrderNoToAll);
    expectFinished("Goods.dat");
}

TEST_F(MenuCommandsTest, AMissingUtilityStopsBeforeTheImportAndStillFinishes) {
    ASSERT_TRUE(QFile::remove(inFolder("Tsr-tu3a.exe")));
    modMain.bApplyOrderNoToAll = true;
    button("cmdGoodsReceived")->click();

    EXPECT_TRUE(prompts.shown.contains(QStringLiteral("Error in Shell=53-File not found")));
    EXPECT_EQ(rows("select count(*) from goods_received"), 0);
    EXPECT_FALSE(modMain.bApplyOrderNoToAll);
    expectFinished("Goods.dat");
}

TEST_F(MenuCommandsTest, NothingStartsAndNothingClosesWhileATransferWaits) {
    fillScanner();
    qputenv("PDT_SIM_DELAY_MS", "800");
    bool otherButtonEnabled = true;
    bool openAfterClose = false;
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
    EXPECT_EQ(prompts.shown.filter(QStringLiteral("Please put BHT 8000")).size(), 1);
    EXPECT_EQ(rows("select count(*) from order_lines"), 0);
    EXPECT_GT(rows("select count(*) from stocktake_counts"), 0);
    // The close waited for the command, then unloaded the menu with its buttons as they were.
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(button("cmdUploadOrders")->isEnabled());
}

}  // namespace
