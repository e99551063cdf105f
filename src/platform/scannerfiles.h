#pragma once

#include <QString>
#include <array>
#include <numeric>

// The files that pass between the program and the scanner: their names in the program's folder,
// the item file's fixed-width layout, and the marks of the scanner's uploads. The program and the
// scanner's tools (the transfer utility, the simulator) read them from here alone.
namespace scannerfiles {

inline const char* const kStocktake = "Stock.dat";
inline const char* const kOrders = "Orders.dat";
inline const char* const kGoodsReceived = "Goods.dat";
inline const char* const kItemFile = "rmItems.dat";

// The item file's five fields, in record order: stock id, barcode, description, price, and the
// quantity factor.
inline constexpr std::array<int, 5> kItemFieldWidths{5, 15, 40, 9, 5};
inline constexpr int kStockIdWidth = kItemFieldWidths[0];
inline constexpr int kBarcodeWidth = kItemFieldWidths[1];
inline constexpr int kDescriptionWidth = kItemFieldWidths[2];
inline constexpr int kPriceWidth = kItemFieldWidths[3];
inline constexpr int kLastFieldWidth = kItemFieldWidths[4];
inline constexpr int kItemRecordLength = std::accumulate(kItemFieldWidths.begin(), kItemFieldWidths.end(), 0);

// The widths as the transfer utility's "/f" option lists them: "5,15,40,9,5".
inline QString itemFieldWidthsText() {
    QString text;
    for (int width : kItemFieldWidths) {
        text += (text.isEmpty() ? QString() : QStringLiteral(",")) + QString::number(width);
    }
    return text;
}

// An upload's header line, by its kind, and the prefix by which the processing knows it and
// passes it by.
inline const char* const kStocktakeHeader = "NXSTV100";
inline const char* const kOrdersHeader = "NXORV100";
inline const char* const kGoodsReceivedHeader = "NXGRV100";
inline const char* const kStocktakePrefix = "NXST";
inline const char* const kOrdersPrefix = "NXOR";
inline const char* const kGoodsReceivedPrefix = "NXGR";

// What the scanner writes in the barcode field of a record the user deleted.
inline const char* const kDeletedMarker = "NUXADEL";

// True when a file of this name (without its folder) is one of them, in any case.
inline bool isScannerFile(const QString& fileName) {
    for (const char* name : {kStocktake, kOrders, kGoodsReceived, kItemFile}) {
        if (fileName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace scannerfiles
