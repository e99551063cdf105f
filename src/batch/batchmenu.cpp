#include "batch/batchmenu.h"

// Each record's status line counts one record done. An export shows one for every item, so the
// test is a plain comparison of characters.
void BatchMenu::setStatus(const QString& text) {
    const QStringView start = QStringView(text).left(19);
    if (start == u"Processing Barcode=" || start == u"Processing BarCode=") {
        progress_.recordDone();
    }
}

void BatchMenu::yield() {
    events_.deliver();
}
