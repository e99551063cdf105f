#pragma once

#include <QString>

#include "startup/goodssession.h"

// The values the menu, the scanner link, the goods-received loader and the order details dialog
// share for the life of the program.
struct ModMain {
    // "V " and the program's version, as the menu shows it.
    QString sVersion;
    // The settings as the menu last read them: the scanner's port digit and the download path.
    QString sCommPort;
    QString sDespatchPath;
    // True sends the item file; false receives into the download path.
    bool bDownloadItemFile = false;
    GoodsSession goods;
};
