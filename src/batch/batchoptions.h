#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

#include "platform/odbcregistry.h"

// One command of the batch command line, as parsed from its arguments.
struct BatchOptions {
    enum class Command {
        RegisterShopDb,
        ImportStocktake,
        ImportOrders,
        ImportGoods,
        ExportItems,
        CheckStocktake,
        CheckOrders,
        CheckGoods,
        Runs,
        Undo,
        Variance,
        // Receive an upload from the scanner through the transfer utility, then import it.
        UploadStocktake,
        UploadOrders,
        UploadGoods,
        // Receive an upload from the scanner into the program's folder, without importing it.
        ReceiveStocktake,
        ReceiveOrders,
        ReceiveGoods,
        // Name the device of a scanner port, and see whether the scanner answers on it.
        ScannerPort,
        ScannerTest,
        // List the handhelds paired with the transfer utility's handheld page, and take one out.
        ScannerDevices,
        Forget,
        // How to use the command line, and which version it is: to standard output.
        Help,
        Version
    };

    Command command = Command::ExportItems;
    // The database file to register, the upload file to import or check, the run to undo, the
    // scanner port, or the handheld to forget.
    QString path;
    // The device a scanner port is to name.
    QString device;
    // The database server to register instead of a file.
    std::optional<platform::ServerAddress> server;
    std::optional<qint32> supplierId;
    std::optional<QString> orderNo;
    bool applyToAll = false;
    // The answers to an import's questions about an earlier import of its kind.
    bool undoUnfinished = false;
    bool resume = false;
    bool again = false;
    // A file already loaded is passed over as nothing new, which is no failure.
    bool ifNew = false;
    // An upload that looks like another kind of file, or not like text, is loaded all the same.
    bool loadAnyway = false;
    // The shop database is registered without first connecting to it.
    bool noCheck = false;
    // The run to undo, or the stocktake run of a variance report and the spreadsheet file it is also
    // written to.
    std::optional<qint64> run;
    QString csvFile;
    bool send = false;
    bool yes = false;
    // Qt's and the drivers' own messages pass to standard error too.
    bool verbose = false;
};

// The options of a command line (without the program name), or, when it is wrong, one line that
// names the mistake.
std::variant<BatchOptions, QString> parseBatchOptions(const QStringList& arguments);

// How the command line is used, for --help.
QString batchUsage();
