#include "menu/wrappingcaption.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// Draws the caption that the style was told to leave out, wrapped within `area`.
void drawWrappedCaption(QStylePainter& painter, const QWidget& widget, const QStyleOptionButton& option,
                        const QRect& area, Qt::Alignment alignment, const QString& caption) {
    const int mnemonic = widget.style()->styleHint(QStyle::SH_UnderlineShortcut, &option, &widget)
                             ? Qt::TextShowMnemonic
                             : Qt::TextHideMnemonic;
    painter.drawItemText(area, static_cast<int>(alignment) | Qt::TextWordWrap | mnemonic, widget.palette(),
                         widget.isEnabled(), caption, QPalette::ButtonText);
}

}  // namespace

WrappingButton::WrappingButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void WrappingButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    drawWrappedCaption(painter, *this, option, area, Qt::AlignCenter, text());
}

WrappingCheckBox::WrappingCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

void WrappingCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);
    const QRect area = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    drawWrappedCaption(painter, *this, option, area, Qt::AlignLeft | Qt::AlignVCenter, text());
}
