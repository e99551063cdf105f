#include "menu/itemexport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlQuery>

#include "fakemenuview.h"
#include "mocks.h"
#include "platform/connection.h"
#include "scriptedprompts.h"
#include "shopdata/shopdatabase.h"
#include "startup/modmain.h"
#include "stringtools/stringtools.h"
#include "testshop.h"

namespace {

struct PriceCase {
    double price;
    const char* text;
};

class PriceTextTest : public testing::TestWithParam<PriceCase> {};

TEST_P(PriceTextTest, RendersThePatternWithTwoDecimalsAndNoLeadingZero) {
    EXPECT_EQ(priceText(GetParam().price), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Prices, PriceTextTest,
                         testing::Values(PriceCase{0, ".00"}, PriceCase{57.95, "57.95"}, PriceCase{3, "3.00"},
                                         PriceCase{-0.25, "-.25"}, PriceCase{1234567.891, "1234567.89"},
                                         PriceCase{-0.001, ".00"}));

class ItemRecordTest : public testing::Test {
protected:
    ScriptedPrompts prompts;
    StringTools tools;
    MockShopData shop;
    ModMain modMain{prompts, tools, shop, QStringLiteral("/shop")};
};

// Each field padded or cut to its width (5, 15, 40, 9, 5); a price of 0 and the second value keep their
// plain forms.
TEST_F(ItemRecordTest, PadsOrCutsEachFieldToItsWidth) {
    const struct {
        QString stockId, barcode, description;
        double price, second;
        QStringList fields;
    } cases[] = {
        {"57",
         "9310000000575",
         "Demo item 57",
         57.95,
         1,
         {"57   ", "9310000000575  ", QString("Demo item 57").leftJustified(40), "57.95    ", "1    "}},
        {"123456",
         "12345678901234567890",
         QString(50, 'd'),
         1000000,
         2.5,
         {"12345", "123456789012345", QString(40, 'd'), "1000000.0", "2.5  "}},
        {"1", "", "", 0, 12, {"1    ", QString(15, ' '), QString(40, ' '), ".00      ", "12   "}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(itemRecord(modMain, c.stockId, c.barcode, c.description, c.price, c.second),
                  c.fields.join(""));
    }
}

TEST_F(ItemRecordTest, ANegativeWidthIsReportedAndGivesAnEmptyField) {
    EXPECT_EQ(fPadItem(modMain, QStringLiteral("abc"), -1), QString());
    EXPECT_EQ(prompts.shown,
              QStringList{QStringLiteral("Error in Padding sItems =5-Invalid procedure call or argument")});
}

// The export over a real demo shop, through the real ODBC driver.
class ItemFileTest : public testing::Test {
protected:
    void SetUp() override {
        shopFile = testShop.registerDemoShop(30);
        shop.Connect();
        modMain.menu = &menu;
    }

    QByteArray itemFile() const {
        QFile file(testShop.folder() + QStringLiteral("/rmItems.dat"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    TestShop testShop;
    QString shopFile;
    ScriptedPrompts prompts;
    StringTools tools;
    ShopDatabase shop;
    FakeMenuView menu;
    ModMain modMain{prompts, tools, shop, testShop.folder()};
};

TEST_F(ItemFileTest, WritesOneRecordPerItemInStockIdOrder) {
    ASSERT_TRUE(writeItemFile(modMain));
    const QList<QByteArray> lines = itemFile().split('\n');
    ASSERT_EQ(lines.size(), 31);  // 30 records, each ended by CR LF
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_EQ(lines[29].left(5), "30   ");
    EXPECT_EQ(lines[9],
              QByteArray("10   9310000000100  Demo item 10                            10.95    12   \r"));
    EXPECT_EQ(menu.status(), QStringLiteral("Finished Processing"));
    EXPECT_TRUE(modMain.bDownloadItemFile);
    EXPECT_FALSE(menu.busyPointer);
}

TEST_F(ItemFileTest, AnEmptyStockTableGivesAnEmptyFile) {
    QSqlQuery(shop.GetConnection()).exec(QStringLiteral("delete from stock"));
    ASSERT_TRUE(writeItemFile(modMain));
    EXPECT_EQ(itemFile(), QByteArray());
    EXPECT_EQ(menu.status(), QStringLiteral("Finished Processing"));
}

TEST_F(ItemFileTest, AFailedQueryLeavesTheOldItemFileAndRestoresTheForm) {
    QFile old(testShop.folder() + QStringLiteral("/rmItems.dat"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old item file\r\n");
    old.close();
    QSqlQuery(shop.GetConnection()).exec(QStringLiteral("drop table stock"));

    EXPECT_FALSE(writeItemFile(modMain));
    EXPECT_EQ(itemFile(), QByteArray("old item file\r\n"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(
        prompts.shown.first().startsWith(QStringLiteral("Error in Download Item File = -2147467259-")));
    EXPECT_EQ(menu.backColour, FakeMenuView::idleColour());
    EXPECT_FALSE(menu.busyPointer);
}

}  // namespace
