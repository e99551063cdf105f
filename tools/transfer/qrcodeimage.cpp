#include "qrcodeimage.h"

#include <qrencode.h>

#include <QPainter>
#include <algorithm>
#include <memory>

namespace {

// The blank border a reader needs around the code, in modules.
constexpr int kQuietZone = 4;

struct CodeReleaser {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

}  // namespace

QImage qrCodeImage(const QByteArray& text, int moduleSize) {
    const std::unique_ptr<QRcode, CodeReleaser> code(
        QRcode_encodeData(static_cast<int>(text.size()),
                          reinterpret_cast<const unsigned char*>(text.constData()), 0, QR_ECLEVEL_M));
    if (!code) {
        return QImage();
    }
    const int module = std::max(moduleSize, 1);
    const int side = (code->width + 2 * kQuietZone) * module;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // The lowest bit of each module's byte says whether it is dark.
            if ((code->data[y * code->width + x] & 1) != 0) {
                painter.fillRect((x + kQuietZone) * module, (y + kQuietZone) * module, module, module,
                                 Qt::black);
            }
        }
    }
    return image;
}
