#pragma once

#include <QQueue>
#include <QStringList>

#include "platform/prompts.h"

// Prompts that tests script: questions take the next scripted answer (a question nobody scripted
// fails the test), the file dialog returns the next scripted name, and every text is recorded.
class ScriptedPrompts : public Prompts {
public:
    void answerNext(bool yes) { answers_.enqueue(yes); }
    void chooseNextFile(const QString& name) { files_.enqueue(name); }
    bool allAnswersUsed() const { return answers_.isEmpty() && files_.isEmpty(); }

    void notice(const QString& text) override;
    void criticalNotice(const QString& text) override;
    bool question(const QString& text) override;
    bool cautiousQuestion(const QString& text) override {
        cautious << text;
        return question(text);
    }
    QString openFileName(const QString& fileName, const QString& filter, const QString& title) override;
    QString saveFileName(const QString& fileName, const QString& filter, const QString& title) override;

    // Every notice, critical notice and question, in the order shown.
    QStringList shown;
    // The texts of the questions whose default answer is No alone.
    QStringList cautious;
    // The texts of the critical notices alone.
    QStringList critical;
    // Each file dialog as "title|fileName|filter".
    QStringList fileDialogs;

private:
    QQueue<bool> answers_;
    QQueue<QString> files_;
};
