#include "batch/batchrun.h"

#include <QDir>
#include <QFileInfo>

#include "batch/batchcheck.h"
#include "batch/batchimport.h"
#include "batch/batchmenu.h"
#include "batch/batchorderdetails.h"
#include "batch/batchprompts.h"
#include "batch/batchrunquestions.h"
#include "batch/batchruns.h"
#include "batch/batchscanner.h"
#include "batch/standardoutput.h"
#include "imports/uploadreceive.h"
#include "platform/odbcregistry.h"
#include "platform/programfolder.h"
#include "scanner/itemexport.h"
#include "scanner/transferpdtfile.h"
#include "shopdata/shopdatabase.h"
#include "startup/connectionfailure.h"
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

// The upload a command receives from the scanner.
UploadKind scannerUploadKind(Command command) {
    switch (command) {
        case Command::UploadStocktake:
        case Command::ReceiveStocktake:
            return UploadKind::Stocktake;
        case Command::UploadOrders:
        case Command::ReceiveOrders:
            return UploadKind::Orders;
        default:
            return UploadKind::GoodsReceived;
    }
}

// The upload button's work: the file comes from the scanner into the program's folder, then is
// imported. Nothing received is a failure, which the utility has explained on standard error.
int runUpload(Program& program, const BatchOptions& options, const BatchRunQuestions& questions) {
    const UploadKind kind = scannerUploadKind(options.command);
    if (receiveUpload(program, kind, savedPort(program)) != 0) {
        return 1;
    }
    return importUpload(program, options, uploadPath(program, kind),
                        [&questions] { return questions.passedOver(); });
}

// Writes the item file, and with --send sends it as the menu's button does; only then are the
// scanner's settings read.
// Receives an upload into the program's folder as the upload button does, without importing it.
int receiveOnly(Program& program, Command command) {
    const UploadKind kind = scannerUploadKind(command);
    ProgressLine progress;
    BatchMenu menu(progress);
    program.progress = &menu;
    const bool received = receiveUpload(program, kind, savedPort(program)) == 0;
    progress.finish();
    if (!received) {
        return 1;
    }
    writeOutputLine(QStringLiteral("The scanner's upload is in %1").arg(uploadPath(program, kind)));
    return 0;
}

int runExport(Program& program, const BatchOptions& options) {
    if (!writeItemFile(program)) {
        writeOutputLine(QStringLiteral("the item file: %1").arg(itemFilePath(program)));
        return 1;
    }
    if (!options.send) {
        return 0;
    }
    // The utility has said why on standard error when the item file did not reach the scanner.
    const TransferRequest request{program.modMain.bDownloadItemFile, savedDownloadPath(program),
                                  savedPort(program)};
    return transferPDTFile(program, QStringLiteral(" PriceCheck "), request) != 0 ? 1 : 0;
}

int runCommand(Program& program, const BatchOptions& options, const BatchRunQuestions& questions) {
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
            return runUpload(program, options, questions);
        default:
            return importUpload(program, options, options.path,
                                [&questions] { return questions.passedOver(); });
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
        program.prompts.notice(shopConnectionError(error).description());
        return 1;
    }
    ProgressLine progress;
    BatchMenu menu(progress);
    BatchOrderDetails orderDetails(program.prompts, program.shop, options.supplierId, options.orderNo,
                                   options.applyToAll);
    BatchRunQuestions runQuestions(program.prompts, options.undoUnfinished, options.resume, options.again,
                                   options.ifNew);
    program.progress = &menu;
    program.orderChooser = &orderDetails;
    program.runQuestions = &runQuestions;
    int status = 1;
    try {
        status = runCommand(program, options, runQuestions);
    } catch (const ProgramError& error) {
        program.prompts.notice(shopConnectionError(error).description());
    }
    progress.finish();
    return status;
}

// Where a shop database about to be registered is, as its failures name it.
QString registeredDatabaseName(const BatchOptions& options) {
    return options.server
               ? QStringLiteral("the database \"%1\" on the server %2")
                     .arg(options.server->database, options.server->host)
               : QStringLiteral("the database file %1").arg(QFileInfo(options.path).absoluteFilePath());
}

// Registers the shop database, a file or a server, as the data source "MYOBRM", once it has been
// reached and found to hold the shop's tables (unless --no-check); unlike the window's first run, a
// refusal is reported, since a schedule relies on the exit status.
int registerShopDatabase(Program& program, const BatchOptions& options) {
    const platform::DataSource source =
        options.server ? platform::serverDataSource(*options.server)
                       : platform::fileDataSource(QFileInfo(options.path).absoluteFilePath());
    if (!options.noCheck) {
        try {
            ShopDatabase::CheckShopDatabase(platform::connectionString(source));
        } catch (const ProgramError& error) {
            program.prompts.notice(
                connectionFailureText(registeredDatabaseName(options), error.description()) +
                QStringLiteral(" Nothing was registered; --no-check registers it all the same"));
            return 1;
        }
    }
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
    QString appPath;
    try {
        appPath = platform::programFolder();
    } catch (const ProgramError& error) {
        prompts.notice(error.description());
        return 1;
    }
    Program program(prompts, tools, shop, appPath, platform::helperFolder());
    program.runs = &runs;
    switch (options.command) {
        case Command::RegisterShopDb:
            return registerShopDatabase(program, options);
        case Command::ScannerPort:
            return setScannerPort(program, options.path, options.device);
        case Command::ScannerTest:
            return testScannerPort(program, options.path);
        case Command::ScannerDevices:
            return listPairedHandhelds(program);
        case Command::Forget:
            return forgetPairedHandheld(program, options.path);
        case Command::ReceiveStocktake:
        case Command::ReceiveOrders:
        case Command::ReceiveGoods:
            return receiveOnly(program, options.command);
        default:
            break;
    }
    return runOnShop(program, options);
}
