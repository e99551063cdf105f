// A handheld's browser as the scanner, end to end: a real headless Chromium pairs with the transfer
// utility, takes the item file the menu wrote, price-checks, counts a stocktake by typing and with
// its camera, survives a reload with the network gone, and sends; the menu's upload button then
// imports exactly the counts scanned.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>

#include "handheldutility.h"
#include "menu/frmmenu.h"
#include "platform/stringtools.h"
#include "scanner/itemexport.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "shoprows.h"
#include "startup/program.h"
#include "testshop.h"

namespace {

// An item of the item file: its stock id, barcode and quantity factor.
struct Item {
    QString stockId, barcode;
    double factor;
};

QList<Item> itemsOf(const QByteArray& itemFile) {
    QList<Item> items;
    for (const QByteArray& record : itemFile.split('\n')) {
        if (record.size() >= 74) {
            items.append({QString(record.left(5)).trimmed(), QString(record.mid(5, 15)).trimmed(),
                          record.mid(69, 5).trimmed().toDouble()});
        }
    }
    return items;
}

// The browser driver's next line on standard output, as JSON; empty when it ended or said nothing.
QJsonObject nextStep(QProcess& browser, int msecs) {
    while (!browser.canReadLine() && browser.waitForReadyRead(msecs)) {
    }
    return QJsonDocument::fromJson(browser.readLine()).object();
}

}  // namespace

TEST(HandheldPageTest, ABrowserCountsOfflineAndTheUploadButtonImportsExactlyItsCounts) {
    TestShop testShop;
    testShop.registerDemoShop(40);
    ScriptedPrompts prompts;
    StringTools tools;
    ShopDatabase shop;
    Program program{prompts, tools, shop, testShop.folder()};
    frmMenu menu{program};
    ShopRows shopRows;
    shop.Connect();
    program.progress = &menu;
    menu.show();
    QCoreApplication::processEvents();
    menu.findChild<QAbstractButton*>("optcomm1")->setChecked(true);
    ASSERT_TRUE(QFile::copy(RM_BIN_DIR "/Tsr-tu3a.exe", testShop.folder() + "/Tsr-tu3a.exe"));
    ASSERT_TRUE(writeItemFile(program));
    const QList<Item> items = itemsOf(readBytes(itemFilePath(program)));
    ASSERT_GE(items.size(), 5);

    HandheldUtility utility;
    qputenv("RMSTOCKHAND_SCANNER_SETTINGS", utility.settingsPath().toLocal8Bit());
    ASSERT_TRUE(utility.start({"COM1:9600,n,8,1", "n", 'D' + itemFilePath(program), "/f5,15,40,9,5"}));
    const QString unknown = "9399999000007";
    QProcess browser;
    browser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    startCommand(browser, "/usr/bin/python3",
                 {RM_SOURCE_DIR "/tests/web/handheld.py", "--page",
                  QString("https://localhost:%1/").arg(utility.port()), "--code", utility.code(), "--items",
                  itemFilePath(program), "--authority", utility.path("web/authority.crt"), "--scans",
                  QStringList{items[0].barcode, items[1].barcode, items[0].barcode, unknown}.join(','),
                  "--camera-barcodes", QStringList{items[3].barcode, items[4].barcode}.join(','),
                  "--screenshot", QString(RM_BIN_DIR "/handheld-page.png")});
    ASSERT_EQ(utility.finish().exitCode, 0);  // the handheld took the item file whole

    QJsonObject step;
    while (step.value("step") != "counted") {
        step = nextStep(browser, 120000);
        ASSERT_FALSE(step.isEmpty()) << "the browser driver ended before it had counted";
    }
    const QJsonObject counts = step.value("counts").toObject();
    EXPECT_EQ(step.value("unknown").toArray().toVariantList(), QVariantList{unknown});
    menu.findChild<QPushButton*>("cmdUploadPDT")->click();
    while (step.value("step") != "sent") {
        step = nextStep(browser, 120000);
        ASSERT_FALSE(step.isEmpty()) << "the browser driver ended before it had sent";
    }
    ASSERT_TRUE(browser.waitForFinished(30000));
    EXPECT_EQ(browser.exitCode(), 0);

    QStringList expected;
    for (const Item& item : items) {
        if (counts.contains(item.barcode)) {
            expected << item.stockId + ':' +
                            QString::number(counts.value(item.barcode).toDouble() * item.factor);
        }
    }
    EXPECT_EQ(expected.size(), 4);  // typed and filmed items, not the unknown one
    EXPECT_EQ(shopRows.rows("select stock_id, sum(quantity) from stocktake_counts group by stock_id order by "
                            "stock_id"),
              expected.join('|'));
    EXPECT_EQ(menu.findChild<QLineEdit*>("txtStatus")->text(), "Completed Processing Barcodes");
}
