#include "menu/widgetprompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

// Message boxes carry the program's name as their title, as boxes without a title of their own do.
QString title() {
    return QStringLiteral("RM Stockhand");
}

bool ask(QWidget* parent, const QString& text, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultButton);
    return box.exec() == QMessageBox::Yes;
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
    return ask(parent_, text, QMessageBox::Yes);
}

bool WidgetPrompts::cautiousQuestion(const QString& text) {
    return ask(parent_, text, QMessageBox::No);
}

QString WidgetPrompts::openFileName(const QString& fileName, const QString& filter, const QString& title) {
    const QString chosen = QFileDialog::getOpenFileName(parent_, title, fileName, filter);
    return chosen.isEmpty() ? fileName : chosen;
}

QString WidgetPrompts::saveFileName(const QString& fileName, const QString& filter, const QString& title) {
    const QString chosen = QFileDialog::getSaveFileName(parent_, title, fileName, filter);
    return chosen.isEmpty() ? fileName : chosen;
}
