#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <optional>

#include "menu/frmmenu.h"
#include "mocks.h"
#include "scriptedprompts.h"
#include "startup/modmain.h"
#include "stringtools/stringtools.h"
#include "testshop.h"

using testing::Invoke;
using testing::NiceMock;
using testing::Return;
using testing::Throw;

namespace {

const QString kNotConfigured =
    QStringLiteral("You have not configured RM Stockhand correctly yet, please Exit and try again");
const char* const kTransferButtons[] = {"cmdDownloadItemFile", "cmdGoodsReceived", "cmdUploadOrders",
                                        "cmdUploadPDT"};

class MenuTest : public testing::Test {
protected:
    TestShop shop;
    ScriptedPrompts prompts;
    StringTools realTools;
    NiceMock<MockStringTools> tools;
    NiceMock<MockShopData> data;
    ModMain modMain{prompts, tools, data, shop.folder()};
    frmMenu menu{modMain};

    MenuTest() {
        modMain.sVersion = QStringLiteral("v9.8.7");
        ON_CALL(tools, Split).WillByDefault(Invoke(&realTools, &StringTools::Split));
        ON_CALL(tools, ListDataSources).WillByDefault(Return(QStringLiteral("RM\tSQLite3")));
    }

    template <class Widget = QWidget>
    Widget* control(const char* name) {
        auto* widget = menu.findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QString text(const char* name) { return control<QLineEdit>(name)->text(); }

    static void writeSettings(const QByteArray& text) {
        QFile file(QStringLiteral("rmstockhand.config.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    void registerShop() {
        ON_CALL(tools, ListDataSources).WillByDefault(Return(QStringLiteral("RM\tSQLite3|MYOBRM\tSQLite3")));
    }
};

TEST_F(MenuTest, TheFormStartsAsDesigned) {
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("The NUX Group RM Stockhand"));
    EXPECT_EQ(menu.maximumSize(), QSize(354, 493));
    EXPECT_TRUE(menu.overwriteTicked());
    EXPECT_TRUE(menu.comm1Selected());
    // A few representative controls: caption, tool tip and place (in twips on the form).
    const struct {
        const char* name;
        QString caption, toolTip;
        QRect twips;
    } controls[] = {
        {"cmdUploadPDT", "Upload &StockTake File", "Upload stock.dat from your PDT into RM Database",
         QRect(240, 1920, 1335, 735)},
        {"cmdDownloadItemFile", "Download RM &Item File",
         "Download the Item File from RM, and upload into your PDT for Price Checking",
         QRect(3720, 1920, 1335, 735)},
        {"optcomm2", "Comm2?", "", QRect(3720, 4320, 975, 375)},
        {"txtDownLoadPath", "Not Chosen",
         "Choose your download path. NB: Your path should be same path as application",
         QRect(240, 5160, 4815, 285)},
        {"Frame1", "Comm Port", "", QRect(3360, 3480, 1695, 1455)},
    };
    for (const auto& c : controls) {
        QWidget* widget = control(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->property(qobject_cast<QGroupBox*>(widget) ? "title" : "text").toString(),
                  c.caption);
        EXPECT_EQ(widget->toolTip(), c.toolTip) << c.name;
        EXPECT_EQ(QRect(widget->mapTo(&menu, QPoint(0, 0)), widget->size()),
                  QRect(c.twips.topLeft() / 15, c.twips.size() / 15))
            << c.name;
    }
}

struct ActivationCase {
    const char* name;
    std::optional<QByteArray> settings;
    bool comm1;
    QString path;
};

class MenuActivation : public MenuTest, public testing::WithParamInterface<ActivationCase> {};

TEST_P(MenuActivation, ResetsThePortAndPathFromTheSettings) {
    const ActivationCase& c = GetParam();
    registerShop();
    if (c.settings) {
        writeSettings(*c.settings);
    }
    // An unsaved choice on the form gives way to the settings.
    control<QAbstractButton>(c.comm1 ? "optcomm2" : "optcomm1")->setChecked(true);
    menu.Form_Activate();
    EXPECT_EQ(menu.comm1Selected(), c.comm1);
    EXPECT_EQ(menu.downloadPath(), c.path);
    EXPECT_EQ(text("txtVers"), QStringLiteral("v9.8.7"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    for (const char* name : kTransferButtons) {
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MenuActivation,
    testing::Values(ActivationCase{"PortOne", "COMPORT=1\r\nDESPATCHPATH=/shop/Stock.dat\r\n", true,
                                   QStringLiteral("/shop/Stock.dat")},
                    ActivationCase{"PortOneWithTrailingBlank", "COMPORT=1 \r\n", true,
                                   QStringLiteral("Not Chosen")},
                    ActivationCase{"PortThree", "COMPORT=3\r\n", false, QStringLiteral("Not Chosen")},
                    ActivationCase{"EmptyPathKeepsTheBox", "COMPORT=2\r\nDESPATCHPATH=\r\n", false,
                                   QStringLiteral("Not Chosen")},
                    ActivationCase{"NoSettingsFile", std::nullopt, false, QStringLiteral("Not Chosen")}),
    [](const testing::TestParamInfo<ActivationCase>& info) { return std::string(info.param.name); });

TEST_F(MenuTest, WithoutTheShopDatabaseOnlyQuitStaysUsable) {
    menu.Form_Activate();
    menu.Form_Activate();
    EXPECT_EQ(prompts.shown, QStringList(2, kNotConfigured));
    registerShop();
    menu.Form_Activate();
    for (const char* name : kTransferButtons) {
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(control("cmdCancel")->isEnabled());
}

TEST_F(MenuTest, QuitAsksAndOnlyYesUnloadsWhileClosingDoesNotAsk) {
    menu.show();
    prompts.answerNext(false);
    control<QAbstractButton>("cmdCancel")->click();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    prompts.answerNext(false);
    QCoreApplication::sendEvent(&menu, &escape);
    EXPECT_TRUE(menu.isVisible());
    prompts.answerNext(true);
    control<QAbstractButton>("cmdCancel")->click();
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(prompts.shown, QStringList(3, QStringLiteral("Are you sure?")));
    menu.show();
    menu.close();  // unloads without the question
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(prompts.shown.size(), 3);
}

TEST_F(MenuTest, TheFirstShowActivatesAndAnUntrappedErrorEndsTheMenu) {
    EXPECT_CALL(tools, ListDataSources())
        .WillOnce(Throw(ProgramError(errnum::DeviceIoError, "Device I/O error")));
    // Should activation never run, the menu would wait for the user; this ends the wait.
    QTimer::singleShot(10000, &menu, &QDialog::reject);
    EXPECT_THROW(menu.showModal(), ProgramError);
    EXPECT_EQ(text("txtVers"), QStringLiteral("v9.8.7"));
}

}  // namespace
