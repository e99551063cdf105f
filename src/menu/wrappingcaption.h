#pragma once

#include <QCheckBox>
#include <QPushButton>

// A push button whose caption wraps onto further lines, as the menu's narrow buttons need; the
// caption's "&" still marks its access key.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    WrappingButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A check box whose caption wraps beside its indicator.
class WrappingCheckBox : public QCheckBox {
    Q_OBJECT
public:
    WrappingCheckBox(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
