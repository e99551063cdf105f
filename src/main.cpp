#include <QApplication>
#include <QFileInfo>

#include "imports/promptedrunquestions.h"
#include "menu/frmmenu.h"
#include "orderdialog/widgetorderdetailsopener.h"
#include "platform/connection.h"
#include "platform/programfolder.h"
#include "platform/widgetprompts.h"
#include "shopdata/shopdatabase.h"
#include "startup/modmain.h"
#include "startup/startup.h"
#include "stringtools/stringtools.h"

// RM Stockhand: start-up shows the main menu modally, and the program ends when it is unloaded.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("RM Stockhand"));

    WidgetPrompts prompts;
    StringTools tools;
    ShopDatabase shop;
    ModMain modMain(prompts, tools, shop, platform::programFolder());
    PromptedRunQuestions runQuestions(prompts);
    modMain.runs = &shop;
    modMain.runQuestions = &runQuestions;
    modMain.exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();

    frmMenu menu(modMain);
    WidgetOrderDetailsOpener orderDetails(&menu, [&menu] { menu.Form_Activate(); });
    modMain.menu = &menu;
    modMain.orderDetails = &orderDetails;
    prompts.setParent(&menu);

    return runMain(modMain, platform::openConnection, [&menu] { menu.showModal(); });
}
