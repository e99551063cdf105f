#include "menu/uploadcommands.h"

#include <QColor>
#include <QLineEdit>

#include "startup/program.h"

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

void uploadCommand(Program& program, UploadKind kind, const ScannerPort& port, QLineEdit& downloadPathBox) {
    ProgressSink& menu = *program.progress;
    menu.setBackColour(busyColour(kind));
    downloadPathBox.setText(uploadPath(program, kind));
    menu.setBusyPointer(true);
    if (receiveUpload(program, kind, port)) {
        uploadKindInfo(kind).process(program, downloadPathBox.text());
    }
    if (kind == UploadKind::GoodsReceived) {
        // Every goods-received upload asks afresh for its first blank order number.
        program.modMain.goods.bApplyOrderNoToAll = false;
    }
    menu.setStatus(QStringLiteral("Completed Processing Barcodes"));
    menu.setBusyPointer(false);
    menu.restoreIdleColour();
}
