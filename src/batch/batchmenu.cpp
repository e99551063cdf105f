#include "batch/batchmenu.h"

void BatchMenu::setStatus(const QString& text) {
    if (text.startsWith(QLatin1String("Processing Barcode=")) ||
        text.startsWith(QLatin1String("Processing BarCode="))) {
        progress_.recordDone();
    }
}

void BatchMenu::yield() {
    events_.deliver();
}
