#include "menu/menuartwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kNavy(0x1b, 0x3a, 0x5c);
const QColor kSky(0x3d, 0x7c, 0xb8);
const QColor kAwningRed(0xc6, 0x28, 0x28);
const QColor kCream(0xfb, 0xf3, 0xdf);
const QColor kWood(0x8d, 0x5b, 0x34);

// The bar widths of a barcode-like strip; a fixed pattern so the pictures never change.
constexpr int kBars[] = {2, 1, 1, 3, 1, 2, 2, 1, 3, 1, 1, 2, 1, 1, 3, 2, 1, 2, 1, 3, 1, 1, 2, 1, 2};

void drawAwning(QPainter& painter, const QRect& area) {
    const int stripes = 6;
    const int stripeWidth = area.width() / stripes;
    for (int i = 0; i < stripes; ++i) {
        QPainterPath stripe;
        const int left = area.left() + i * stripeWidth;
        stripe.moveTo(left, area.top());
        stripe.lineTo(left + stripeWidth, area.top());
        stripe.lineTo(left + stripeWidth, area.bottom() - 4);
        stripe.arcTo(left, area.bottom() - 8, stripeWidth, 8, 0, -180);
        stripe.closeSubpath();
        painter.fillPath(stripe, i % 2 == 0 ? kAwningRed : Qt::white);
    }
}

// A small shop front: a striped awning over a window and a door.
void drawShopFront(QPainter& painter, const QRect& area) {
    const QRect body(area.left() + 3, area.top() + 14, area.width() - 6, area.height() - 14);
    painter.fillRect(body, kCream);
    painter.setPen(QPen(kWood, 2));
    painter.drawRect(body);
    const QRect window(body.left() + 6, body.top() + 8, body.width() / 2 - 6, body.height() / 2);
    painter.fillRect(window, kSky.lighter(150));
    painter.drawRect(window);
    const QRect door(body.right() - body.width() / 3 - 2, body.top() + 8, body.width() / 3 - 4,
                     body.height() - 8);
    painter.fillRect(door, kWood);
    drawAwning(painter, QRect(area.left(), area.top(), area.width(), 18));
}

void drawBars(QPainter& painter, const QRect& area, const QColor& colour) {
    const int unit = qMax(1, area.width() / 40);
    int x = area.left();
    bool dark = true;
    for (const int bar : kBars) {
        if (x + bar * unit > area.right() + 1) {
            break;
        }
        if (dark) {
            painter.fillRect(x, area.top(), bar * unit, area.height(), colour);
        }
        x += bar * unit;
        dark = !dark;
    }
}

QPixmap iconImage(int size) {
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int margin = size / 16;
    const QRect card(margin, margin, size - 2 * margin, size - 2 * margin);
    painter.fillRect(card, Qt::white);
    painter.setPen(kNavy);
    painter.drawRect(card.adjusted(0, 0, -1, -1));
    drawBars(painter, card.adjusted(size / 8, size / 8, -size / 8, -size / 8), Qt::black);
    painter.fillRect(QRect(card.left(), size / 2 - size / 32, card.width(), qMax(1, size / 16)), Qt::red);
    return image;
}

}  // namespace

QPixmap menuLogo() {
    QPixmap logo(329, 84);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, logo.height());
    sky.setColorAt(0.0, kNavy);
    sky.setColorAt(1.0, kSky);
    painter.fillRect(logo.rect(), sky);

    // The picture box shows the top left 321 x 73 pixels, so everything that matters stays there.
    drawShopFront(painter, QRect(10, 8, 62, 58));
    QFont title = painter.font();
    title.setPixelSize(26);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(84, 6, 230, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("RM Stockhand"));
    QFont byline = painter.font();
    byline.setPixelSize(11);
    byline.setBold(false);
    painter.setFont(byline);
    painter.setPen(kCream);
    painter.drawText(QRect(84, 38, 230, 14), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("The NUX Group"));
    drawBars(painter, QRect(84, 55, 150, 12), kCream);
    return logo;
}

QIcon menuIcon() {
    QIcon icon;
    icon.addPixmap(iconImage(32));
    icon.addPixmap(iconImage(16));
    return icon;
}
