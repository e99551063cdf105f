#include "menu/wrappingcaption.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// Paints the control with its caption left out, then the caption wrapped within its contents.
void paintWrapped(QWidget& widget, QStyleOptionButton option, QStyle::ControlElement control,
                  QStyle::SubElement contents, Qt::Alignment alignment) {
    QStylePainter painter(&widget);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(control, option);
    const QRect area = widget.style()->subElementRect(contents, &option, &widget);
    const int mnemonic = widget.style()->styleHint(QStyle::SH_UnderlineShortcut, &option, &widget)
                             ? Qt::TextShowMnemonic
                             : Qt::TextHideMnemonic;
    painter.drawItemText(area, static_cast<int>(alignment) | Qt::TextWordWrap | mnemonic, widget.palette(),
                         widget.isEnabled(), caption, QPalette::ButtonText);
}

}  // namespace

WrappingButton::WrappingButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void WrappingButton::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    paintWrapped(*this, option, QStyle::CE_PushButton, QStyle::SE_PushButtonContents, Qt::AlignCenter);
}

WrappingCheckBox::WrappingCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

void WrappingCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    paintWrapped(*this, option, QStyle::CE_CheckBox, QStyle::SE_CheckBoxContents,
                 Qt::AlignLeft | Qt::AlignVCenter);
}
