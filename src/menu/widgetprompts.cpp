#include "menu/widgetprompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

// Message boxes carry the program's name as their title, as boxes without a title of their own do.
QString title() {
    return QApplication::applicationDisplayName();
}

void showOk(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, title(), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

void WidgetPrompts::notice(const QString& text) {
    showOk(parent_, QMessageBox::NoIcon, text);
}

void WidgetPrompts::criticalNotice(const QString& text) {
    showOk(parent_, QMessageBox::Critical, text);
}

bool WidgetPrompts::question(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

QString WidgetPrompts::openFileName(const QString& fileName, const QString& filter, const QString& title) {
    const QString chosen = QFileDialog::getOpenFileName(parent_, title, fileName, filter);
    return chosen.isEmpty() ? fileName : chosen;
}
