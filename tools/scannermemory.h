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

#include "platform/userfolders.h"

// The scanner's memory as the transfer utility and the scanner simulator both see it: a folder
// that holds the item file and one upload per mode, and the layouts of those files.
namespace scanner {

// Why a tool gave up: one line for its standard error.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& reason) : std::runtime_error(reason.toStdString()) {}
};

// The item file's five fixed-width fields: stock id, barcode, description, price, second value.
inline constexpr std::array<int, 5> kItemFieldWidths{5, 15, 40, 9, 5};
inline constexpr int kItemRecordLength = std::accumulate(kItemFieldWidths.begin(), kItemFieldWidths.end(), 0);
inline constexpr int kStockIdWidth = kItemFieldWidths[0];
inline constexpr int kBarcodeWidth = kItemFieldWidths[1];

inline const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
// The name under which the scanner's price-check program keeps the item file.
inline const QString kItemFileName = QStringLiteral("rmItems.dat");
// What the scanner writes in the barcode field of a record the user deleted.
inline const QByteArray kDeletedMarker = QByteArrayLiteral("NUXADEL");

// One of the scanner's upload modes: its simulator command, its file, the magic of its header
// line and the number of fields of its records.
struct UploadMode {
    const char* command;
    const char* fileName;
    const char* magic;
    int fields;
};

inline constexpr std::array<UploadMode, 3> kUploadModes{{
    {"stocktake", "Stock.dat", "NXSTV100", 3},  // stock_id,barcode,qty
    {"orders", "Orders.dat", "NXORV100", 3},    // stock_id,barcode,qty
    {"goods", "Goods.dat", "NXGRV100", 5},      // stock_id,barcode,field3number,orderNo,qty
}};

// The widths as the transfer utility's "/f" option lists them: "5,15,40,9,5".
inline QString itemFieldWidthsText() {
    QStringList widths;
    for (int width : kItemFieldWidths) {
        widths << QString::number(width);
    }
    return widths.join(QLatin1Char(','));
}

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
