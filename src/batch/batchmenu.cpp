#include "batch/batchmenu.h"

#include <cstring>

namespace {

constexpr QStringView kRecordStatus = u"Processing Barcode=";
constexpr QStringView kItemStatus = u"Processing BarCode=";

// True when the text begins with the status, compared as plain memory.
bool beginsWith(const QString& text, QStringView status) {
    return text.size() >= status.size() &&
           std::memcmp(text.constData(), status.data(), status.size() * sizeof(QChar)) == 0;
}

}  // namespace

// Each record's status line counts one record done. An export shows one for every item, so the
// test is the cheapest there is.
void BatchMenu::setStatus(const QString& text) {
    if (beginsWith(text, kRecordStatus) || beginsWith(text, kItemStatus)) {
        progress_.recordDone();
    }
}

void BatchMenu::yield() {
    events_.deliver();
}
