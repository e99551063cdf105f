#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <array>
#include <numeric>
#include <stdexcept>

#include "platform/scannerfiles.h"
#include "platform/userfolders.h"

// The scanner's memory as the transfer utility and the scanner simulator both see it: a folder
// that holds the item file and one upload per mode, and the layouts of those files.
namespace scanner {

// Why a tool gave up: one line for its standard error.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& reason) : std::runtime_error(reason.toStdString()) {}
};

using scannerfiles::kBarcodeWidth;
using scannerfiles::kItemFieldWidths;
using scannerfiles::kItemRecordLength;
using scannerfiles::kStockIdWidth;

inline const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
// The name under which the scanner's price-check program keeps the item file.
inline const QString kItemFileName = QLatin1String(scannerfiles::kItemFile);
// What the scanner writes in the barcode field of a record the user deleted.
inline const QByteArray kDeletedMarker = scannerfiles::kDeletedMarker;

// One of the scanner's upload modes: its simulator command, its file, the magic of its header
// line and the number of fields of its records.
struct UploadMode {
    const char* command;
    const char* fileName;
    const char* magic;
    int fields;
};

inline const std::array<UploadMode, 3> kUploadModes{{
    {"stocktake", scannerfiles::kStocktake, scannerfiles::kStocktakeHeader, 3},  // stock_id,barcode,qty
    {"orders", scannerfiles::kOrders, scannerfiles::kOrdersHeader, 3},           // stock_id,barcode,qty
    // stock_id,barcode,field3number,orderNo,qty
    {"goods", scannerfiles::kGoodsReceived, scannerfiles::kGoodsReceivedHeader, 5},
}};

// The upload mode whose file is `fileName` (Stock.dat, Orders.dat, Goods.dat), or none.
inline const UploadMode* uploadModeOfFile(const QString& fileName) {
    for (const UploadMode& mode : kUploadModes) {
        if (fileName == QLatin1String(mode.fileName)) {
            return &mode;
        }
    }
    return nullptr;
}

using scannerfiles::itemFieldWidthsText;

// The scanner's memory: PDT_SIM_DIR when set, else the folder "scanner-memory" beside the tool;
// the installed tools, whose own folder is the system's, keep it in the user's data folder instead.
inline QString memoryFolder() {
    const QString chosen = qEnvironmentVariable("PDT_SIM_DIR");
    if (!chosen.isEmpty()) {
        return chosen;
    }
    const platform::FolderSettings settings = platform::currentFolderSettings();
    const QString base =
        platform::runsInstalled(settings) ? platform::userDataFolder(settings) : settings.executableFolder;
    return base + QStringLiteral("/scanner-memory");
}

inline QString memoryFile(const QString& name) {
    return memoryFolder() + QLatin1Char('/') + name;
}

// The whole of the file at `path`.
inline QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(
            QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return file.readAll();
}

// Replaces `path` with `bytes` through a temporary file, so a reader never sees half a file.
inline void writeAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw Failure(
            QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

}  // namespace scanner
