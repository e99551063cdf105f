#pragma once

#include <QString>

#include "outside/importruns.h"
#include "outside/shopdataobject.h"
#include "platform/clock.h"
#include "platform/filedevices.h"
#include "platform/prompts.h"
#include "platform/stringtoolsobject.h"
#include "startup/modmain.h"
#include "startup/progresssink.h"
#include "startup/uploadrun.h"

class OrderChooser;
class RunQuestions;

// What the program's procedures work with for one run: the outside objects, the prompts, the
// program's folder and its helpers' folder, the devices and the clock, where progress shows, what
// the faces answer for the imports, and modMain's shared values.
struct Program {
    // A program whose files and helpers share one folder, as one run from its build folder.
    Program(Prompts& prompts, StringToolsObject& tools, ShopDataObject& shop, const QString& appPath)
        : Program(prompts, tools, shop, appPath, appPath) {}
    Program(Prompts& prompts, StringToolsObject& tools, ShopDataObject& shop, QString appPath,
            QString helperPath)
        : prompts(prompts),
          tools(tools),
          shop(shop),
          appPath(std::move(appPath)),
          helperPath(std::move(helperPath)) {}

    Prompts& prompts;
    StringToolsObject& tools;
    ShopDataObject& shop;
    // The program's folder, without a trailing separator.
    QString appPath;
    // The folder the helper programs (the transfer utility) are run from: the installed program's
    // own folder, not the user's data folder that is then the program's folder.
    QString helperPath;
    // The executable's name; the settings file is this name + ".config.ini" in the current directory.
    QString exeName = QStringLiteral("rmstockhand");
    // The devices the settings file, the item file and the audit reports are written through.
    platform::FileDevices files;
    // The clock of the audit reports' time stamps.
    platform::Clock now = platform::systemTime;

    // Where the commands show how they go.
    ProgressSink* progress = nullptr;
    // Answers the order details dialog for a goods-received record without an order number.
    OrderChooser* orderChooser = nullptr;
    // The shop database's record of the imports, and who answers the questions it raises; without
    // it, imports keep no record.
    ImportRuns* runs = nullptr;
    RunQuestions* runQuestions = nullptr;
    // What the processing of the current upload file met.
    UploadRun run;

    ModMain modMain;
};
