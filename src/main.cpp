#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "imports/promptedrunquestions.h"
#include "menu/frmmenu.h"
#include "menu/widgetprompts.h"
#include "orderdialog/widgetorderdetailsopener.h"
#include "platform/connection.h"
#include "platform/programfolder.h"
#include "platform/screen.h"
#include "platform/stringtools.h"
#include "shopdata/shopdatabase.h"
#include "startup/program.h"
#include "startup/startup.h"
#include "startup/windowoptions.h"

namespace {

// The exit status of a wrong command line, as the batch gives it too.
constexpr int kWrongCommandLine = 2;

void writeLine(const QString& text, std::FILE* stream) {
    std::fputs((text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n')).toLocal8Bit().constData(),
               stream);
}

// Answers --help and --version on standard output; true when the command line asked for either.
bool answered(const WindowOptions& options) {
    if (options.request == WindowOptions::Request::Run) {
        return false;
    }
    writeLine(options.request == WindowOptions::Request::Help ? windowUsage() : windowVersion(), stdout);
    return true;
}

QStringList givenArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// The main menu, shown modally until it is unloaded, over the program's folder.
int showMenu(const WindowOptions& options) {
    WidgetPrompts prompts;
    const std::optional<QString> appPath = openProgramFolder(prompts);
    if (!appPath) {
        return 1;
    }
    if (options.inProgramFolder) {
        QDir::setCurrent(*appPath);
    }
    StringTools tools;
    ShopDatabase shop;
    Program program(prompts, tools, shop, *appPath, platform::helperFolder());
    PromptedRunQuestions runQuestions(prompts);
    program.runs = &shop;
    program.runQuestions = &runQuestions;
    program.exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();

    frmMenu menu(program);
    WidgetOrderDetailsOpener orderDetails(prompts, shop, &menu, [&menu] { menu.Form_Activate(); });
    program.progress = &menu;
    program.orderChooser = &orderDetails;
    prompts.setParent(&menu);

    return runMain(program, platform::openConnection, [&menu] { menu.showModal(); });
}

}  // namespace

// RM Stockhand: start-up shows the main menu modally, and the program ends when it is unloaded.
// --help and --version need no screen; without one the program says so instead of the toolkit's abort.
int main(int argc, char** argv) {
    const QStringList given = givenArguments(argc, argv);
    const std::optional<WindowOptions> asked = parseWindowOptions(given);
    if (asked && answered(*asked)) {
        return 0;
    }
    if (!platform::hasScreen(given)) {
        writeLine(noScreenMessage(), stderr);
        return 1;
    }
    QApplication app(argc, argv);
    // The desktop matches the window to its menu entry, and so to its icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("rmstockhand"));
    const std::optional<WindowOptions> options = parseWindowOptions(QCoreApplication::arguments().mid(1));
    if (!options) {
        writeLine(windowUsage(), stderr);
        return kWrongCommandLine;
    }
    return answered(*options) ? 0 : showMenu(*options);
}
