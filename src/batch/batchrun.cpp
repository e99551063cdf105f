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
#include "startup/program.h"
#include "startup/settings.h"
#include "startup/startup.h"

namespace {

using Command = BatchOptions::Command;

QString setting(Program& program, const QString& key) {
    QString value;
    ManageDefaults(program, program.exeName, QStringLiteral("GET"), key, value);
    return value;
}

// The port as the menu's activation leaves it, the saved one, with the overwrite box ticked as
// when the menu opens.
ScannerPort savedPort(Program& program) {
    return {setting(program, kComPortKey) == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("2"),
            true};
}

// The download path box as the menu's activation leaves it.
QString savedDownloadPath(Program& program) {
    const QString path = setting(program, kDespatchPathKey);
    return path.isEmpty() ? QStringLiteral("Not Chosen") : path;
}

// The exit status of an import that processed its file to the end but met refused writes.
constexpr int kShopRefusedWrites = 4;

ProcessOutcome processUpload(Program& program, Command command, const QString& path) {
    switch (command) {
        case Command::ImportStocktake:
            return fProcessStocktakeFile(program, path);
        case Command::ImportOrders:
            return fProcessOrdersFile(program, path);
        default:
            return fProcessGoodsReceivedFile(program, path);
    }
}

// An import stops at the first record that the shop database cannot write, when the next one
// could not be written either, and says where to start again; refusals it could go on past are
// counted at the end, so that a schedule sees each of them in the exit status.
int importStatus(Program& program, ProcessOutcome outcome, const QString& file) {
    const UploadRun& run = program.run;
    if (run.stoppedAtLine > 0) {
        program.prompts.notice(
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
        program.prompts.notice(
            QStringLiteral("The shop database refused %1 of %2 records").arg(run.refused).arg(run.records));
        return kShopRefusedWrites;
    }
    return 0;
}

int runImport(Program& program, const BatchOptions& options) {
    const QString file = QDir::toNativeSeparators(QFileInfo(options.path).absoluteFilePath());
    program.run.stopWhenTheShopCannotWrite = true;
    return importStatus(program, processUpload(program, options.command, file), file);
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
int runUpload(Program& program, const BatchOptions& options) {
    const UploadKind kind = uploadKind(options.command);
    if (receiveUpload(program, kind, savedPort(program)) != 0) {
        return 1;
    }
    const QString path = uploadPath(program, kind);
    program.run.stopWhenTheShopCannotWrite = true;
    return importStatus(program, uploadKindInfo(kind).process(program, path), path);
}

int runExport(Program& program, const BatchOptions& options) {
    if (!writeItemFile(program)) {
        return 1;
    }
    // The utility has said why on standard error when the item file did not reach the scanner.
    const TransferRequest request{program.modMain.bDownloadItemFile, savedDownloadPath(program),
                                  savedPort(program)};
    if (options.send && transferPDTFile(program, QStringLiteral(" PriceCheck "), request) != 0) {
        return 1;
    }
    return 0;
}

int runCommand(Program& program, const BatchOptions& options) {
    switch (options.command) {
        case Command::ExportItems:
            return runExport(program, options);
        case Command::CheckStocktake:
        case Command::CheckOrders:
        case Command::CheckGoods:
            return runCheck(program, options);
        case Command::Runs:
            return listRuns(program);
        case Command::Undo:
            return undoRun(program, options);
        case Command::Variance:
            return reportVariance(program, options);
        case Command::UploadStocktake:
        case Command::UploadOrders:
        case Command::UploadGoods:
            return runUpload(program, options);
        default:
            return runImport(program, options);
    }
}

// Runs a command that works on the shop database, prepared as start-up prepares it.
int runOnShop(Program& program, const BatchOptions& options) {
    if (!dataSourceRegistered(program, shopDataSource())) {
        program.prompts.notice(notConfiguredMessage());
        return 1;
    }
    try {
        prepareShopData(program);
    } catch (const ProgramError& error) {
        program.prompts.notice(runTimeErrorText(error));
        return 1;
    }
    ProgressLine progress;
    BatchMenu menu(progress);
    BatchOrderDetails orderDetails(program.prompts, program.shop, options.supplierId, options.orderNo,
                                   options.applyToAll);
    BatchRunQuestions runQuestions(program.prompts, options.undoUnfinished, options.resume, options.again);
    program.progress = &menu;
    program.orderChooser = &orderDetails;
    program.runQuestions = &runQuestions;
    int status = 1;
    try {
        status = runCommand(program, options);
    } catch (const ProgramError& error) {
        program.prompts.notice(runTimeErrorText(error));
    }
    progress.finish();
    return status;
}

// Registers the shop database, a file or a server, as the data source "MYOBRM"; unlike the
// window's first run, a refusal is reported, since a schedule relies on the exit status.
int registerShopDatabase(Program& program, const BatchOptions& options) {
    const platform::DataSource source =
        options.server ? platform::serverDataSource(*options.server)
                       : platform::fileDataSource(QFileInfo(options.path).absoluteFilePath());
    if (!platform::registerDataSource(shopDataSource(), source)) {
        program.prompts.notice(
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
    Program program(prompts, tools, shop, *appPath, platform::helperFolder());
    program.runs = &runs;
    switch (options.command) {
        case Command::RegisterShopDb:
            return registerShopDatabase(program, options);
        case Command::ScannerPort:
            return setScannerPort(program, options.path, options.device);
        case Command::ScannerTest:
            return testScannerPort(program, options.path);
        default:
            break;
    }
    return runOnShop(program, options);
}
