#include "batch/batchmenu.h"

#include <QCoreApplication>

void BatchMenu::setStatus(const QString& text) {
    if (text.startsWith(QLatin1String("Processing Barcode=")) ||
        text.startsWith(QLatin1String("Processing BarCode="))) {
        progress_.recordDone();
    }
}

void BatchMenu::yield() {
    QCoreApplication::processEvents();
}
