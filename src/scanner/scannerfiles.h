#pragma once

#include <QString>

// The files that pass between the program and the scanner, by their names in the program's folder.
namespace scannerfiles {

inline const char* const kStocktake = "Stock.dat";
inline const char* const kOrders = "Orders.dat";
inline const char* const kGoodsReceived = "Goods.dat";
inline const char* const kItemFile = "rmItems.dat";

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
