#pragma once

#include <QString>

#include "imports/orderdetailsopener.h"
#include "imports/runquestions.h"
#include "imports/uploadrun.h"
#include "outside/importruns.h"
#include "outside/shopdataobject.h"
#include "platform/clock.h"
#include "platform/filedevices.h"
#include "platform/prompts.h"
#include "platform/stringtoolsobject.h"
#include "startup/menuview.h"

// What the program's procedures share for one run: the outside objects, the prompts, the form the
// commands work on, the program's folder and its helpers' folder, and modMain's shared values.
struct ModMain {
    // A program whose files and helpers share one folder, as one run from its build folder.
    ModMain(Prompts& prompts, StringToolsObject& tools, ShopDataObject& shop, const QString& appPath)
        : ModMain(prompts, tools, shop, appPath, appPath) {}
    ModMain(Prompts& prompts, StringToolsObject& tools, ShopDataObject& shop, QString appPath,
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
    // The form the commands show progress on.
    MenuView* menu = nullptr;
    // Opens the order details dialog for a goods-received record without an order number.
    OrderDetailsOpener* orderDetails = nullptr;
    // The shop database's record of the imports, and who answers the questions it raises; without
    // it, imports keep no record.
    ImportRuns* runs = nullptr;
    RunQuestions* runQuestions = nullptr;
    // What the processing of the current upload file met.
    UploadRun run;
    // The devices the settings file, the item file and the audit reports are written through.
    platform::FileDevices files;
    // The clock of the audit reports' time stamps.
    platform::Clock now = platform::systemTime;

    QString sVersion;
    QString sCommPort;
    QString sDespatchPath;
    // True sends the item file; false receives into the download path.
    bool bDownloadItemFile = false;

    // The goods-received hand-over values between the loader and the order details dialog.
    QString sCurrentBarcode;
    qint32 lOrderNo = 0;
    QString sChosenOrderNo;
    bool bApplyOrderNoToAll = false;
    qint32 lSupplierID = 0;
};
