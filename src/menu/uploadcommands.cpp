#include "menu/uploadcommands.h"

#include <QColor>

#include "startup/modmain.h"

namespace {

// The form's colour while an upload of each kind runs.
QColor busyColour(UploadKind kind) {
    switch (kind) {
        case UploadKind::Stocktake:
            return {192, 255, 192};
        case UploadKind::Orders:
            return {255, 128, 0};
        case UploadKind::GoodsReceived:
            break;
    }
    return {0, 128, 0};
}

}  // namespace

void uploadCommand(ModMain& modMain, UploadKind kind) {
    MenuView& menu = *modMain.menu;
    menu.setBackColour(busyColour(kind));
    menu.setBusyPointer(true);
    if (receiveUpload(modMain, kind)) {
        uploadKindInfo(kind).process(modMain);
    }
    if (kind == UploadKind::GoodsReceived) {
        // Every goods-received upload asks afresh for its first blank order number.
        modMain.bApplyOrderNoToAll = false;
    }
    menu.setStatus(QStringLiteral("Completed Processing Barcodes"));
    menu.setBusyPointer(false);
    menu.restoreIdleColour();
}
