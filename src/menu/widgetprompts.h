#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompts.h"

// Prompts shown as real Qt message boxes and file dialogs over a parent window.
class WidgetPrompts : public Prompts {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    void notice(const QString& text) override;
    void criticalNotice(const QString& text) override;
    bool question(const QString& text) override;
    bool cautiousQuestion(const QString& text) override;
    QString openFileName(const QString& fileName, const QString& filter, const QString& title) override;
    QString saveFileName(const QString& fileName, const QString& filter, const QString& title) override;

private:
    QPointer<QWidget> parent_;
};
