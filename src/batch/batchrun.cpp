#include "batch/batchrun.h"

#include <QDir>
#include <QFileInfo>

#include "batch/batchcheck.h"
#include "batch/batchmenu.h"
#include "batch/batchorderdetails.h"
#include "batch/batchprompts.h"
#include "batch/batchrunquestions.h"
#include "batch/batchruns.h"
#include "batch/batchscanner.h"
#include "batch/standardoutput.h"
#include "imports/goodsreceivedimport.h"
#include "imports/ordersimport.h"
#include "imports/stocktakeimport.h"
#include "imports/uploadreceive.h"
#include "platform/odbcregistry.h"
#include "platform/programfolder.h"
#include "scanner/itemexport.h"
#include "scanner/transferpdtfile.h"
#include "startup/modmain.h"
#include "startup/settings.h"
#include "startup/startup.h"

namespace {

using Command = BatchOptions::Command;

QString setting(ModMain& modMain, const QString& key) {
    QString value;
    ManageDefaults(modMain, modMain.exeName, QStringLiteral("GET"), key, value);
    return value;
}

// The menu as its activation leaves it: the saved port and download path.
BatchMenu activatedMenu(ModMain& modMain, ProgressLine& progress) {
    const QString path = setting(modMain, kDespatchPathKey);
    return BatchMenu(setting(modMain, kComPortKey) == QLatin1String("1"),
                     path.isEmpty() ? QStringLiteral("Not Chosen") : path, progress);
}

// The exit status of an import that processed its file to the end but met refused writes.
constexpr int kShopRefusedWrites = 4;

ProcessOutcome processUpload(ModMain& modMain, Command command) {
    switch (command) {
        case Command::ImportStocktake:
            return fProcessStocktakeFile(modMain);
        case Command::ImportOrders:
            return fProcessOrdersFile(modMain);
        default:
            return fProcessGoodsReceivedFile(modMain);
    }
}

// An import stops at the first record that the shop database cannot write, when the next one
// could not be written either, and says where to start again; refusals it could go on past are
// counted at the end, so that a schedule sees each of them in the exit status.
int importStatus(ModMain& modMain, ProcessOutcome outcome, const QString& file) {
    const UploadRun& run = modMain.run;
    if (run.stoppedAtLine > 0) {
        modMain.prompts.notice(
            QStringLiteral("The shop database cannot take writes now: stopped at line %1 of %2, "
                           "after %3 records loaded; start again from line %1")
                .arg(run.stoppedAtLine)
                .arg(file)
                .arg(run.loaded()));
        return 1;
    }
    if (outcome == ProcessOutcome::Stopped) {
        return 1;
    }
    if (run.refused > 0) {
        modMain.prompts.notice(
            QStringLiteral("The shop database refused %1 of %2 records").arg(run.refused).arg(run.records));
        return kShopRefusedWrites;
    }
    return 0;
}

int runImport(ModMain& modMain, const BatchOptions& options) {
    const QString file = QDir::toNativeSeparators(QFileInfo(options.path).absoluteFilePath());
    modMain.menu->setDownloadPath(file);
    modMain.run.stopWhenTheShopCannotWrite = true;
    return importStatus(modMain, processUpload(modMain, options.command), file);
}

UploadKind uploadKind(Command command) {
    switch (command) {
        case Command::UploadStocktake:
            return UploadKind::Stocktake;
        case Command::UploadOrders:
            return UploadKind::Orders;
        default:
            return UploadKind::GoodsReceived;
    }
}

// The upload button's work: the file comes from the scanner into the program's folder, then is
// imported. Nothing received is a failure, which the utility has explained on standard error.
int runUpload(ModMain& modMain, const BatchOptions& options) {
    const UploadKind kind = uploadKind(options.command);
    if (receiveUpload(modMain, kind) != 0) {
        return 1;
    }
    modMain.run.stopWhenTheShopCannotWrite = true;
    return importStatus(modMain, uploadKindInfo(kind).process(modMain), modMain.menu->downloadPath());
}

int runExport(ModMain& modMain, const BatchOptions& options) {
    if (!writeItemFile(modMain)) {
        return 1;
    }
    // The utility has said why on standard error when the item file did not reach the scanner.
    if (options.send && transferPDTFile(modMain, QStringLiteral(" PriceCheck ")) != 0) {
        return 1;
    }
    return 0;
}

int runCommand(ModMain& modMain, const BatchOptions& options) {
    switch (options.command) {
        case Command::ExportItems:
            return runExport(modMain, options);
        case Command::CheckStocktake:
        case Command::CheckOrders:
        case Command::CheckGoods:
            return runCheck(modMain, options);
        case Command::Runs:
            return listRuns(modMain);
        case Command::Undo:
            return undoRun(modMain, options);
        case Command::Variance:
            return reportVariance(modMain, options);
        case Command::UploadStocktake:
        case Command::UploadOrders:
        case Command::UploadGoods:
            return runUpload(modMain, options);
        default:
            return runImport(modMain, options);
    }
}

// Runs a command that works on the shop database, prepared as start-up prepares it.
int runOnShop(ModMain& modMain, const BatchOptions& options) {
    if (!dataSourceRegistered(modMain, shopDataSource())) {
        modMain.prompts.notice(notConfiguredMessage());
        return 1;
    }
    try {
        prepareShopData(modMain);
    } catch (const ProgramError& error) {
        modMain.prompts.notice(runTimeErrorText(error));
        return 1;
    }
    ProgressLine progress;
    BatchMenu menu = activatedMenu(modMain, progress);
    BatchOrderDetails orderDetails(options.supplierId, options.orderNo, options.applyToAll);
    BatchRunQuestions runQuestions(modMain.prompts, options.undoUnfinished, options.resume, options.again);
    modMain.menu = &menu;
    modMain.orderDetails = &orderDetails;
    modMain.runQuestions = &runQuestions;
    int status = 1;
    try {
        status = runCommand(modMain, options);
    } catch (const ProgramError& error) {
        modMain.prompts.notice(runTimeErrorText(error));
    }
    progress.finish();
    return status;
}

// Registers the shop database, a file or a server, as the data source "MYOBRM"; unlike the
// window's first run, a refusal is reported, since a schedule relies on the exit status.
int registerShopDatabase(ModMain& modMain, const BatchOptions& options) {
    const platform::DataSource source =
        options.server ? platform::serverDataSource(*options.server)
                       : platform::fileDataSource(QFileInfo(options.path).absoluteFilePath());
    if (!platform::registerDataSource(shopDataSource(), source)) {
        modMain.prompts.notice(
            QStringLiteral("The data source \"%1\" could not be registered").arg(shopDataSource()));
        return 1;
    }
    return 0;
}

}  // namespace

int runBatch(const BatchOptions& options, StringToolsObject& tools, ShopDataObject& shop, ImportRuns& runs) {
    if (options.command == Command::Help || options.command == Command::Version) {
        const QString text = options.command == Command::Help
                                 ? batchUsage().chopped(1)
                                 : QStringLiteral("rmstockhand-batch " RMSTOCKHAND_VERSION);
        writeOutputLine(text);
        return 0;
    }
    BatchPrompts prompts(options.yes);
    const std::optional<QString> appPath = openProgramFolder(prompts);
    if (!appPath) {
        return 1;
    }
    ModMain modMain(prompts, tools, shop, *appPath, platform::helperFolder());
    modMain.runs = &runs;
    switch (options.command) {
        case Command::RegisterShopDb:
            return registerShopDatabase(modMain, options);
        case Command::ScannerPort:
            return setScannerPort(modMain, options.path, options.device);
        case Command::ScannerTest:
            return testScannerPort(modMain, options.path);
        default:
            break;
    }
    return runOnShop(modMain, options);
}
