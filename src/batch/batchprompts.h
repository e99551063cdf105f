#pragma once

#include <QTextStream>

#include "platform/prompts.h"

// The batch command line's message boxes: every text goes to standard error as one line, and
// questions take the answer given on the command line (No unless --yes).
class BatchPrompts : public Prompts {
public:
    explicit BatchPrompts(bool answerYes) : answerYes_(answerYes) {}

    void notice(const QString& text) override { writeLine(text); }
    void criticalNotice(const QString& text) override { writeLine(text); }
    bool question(const QString& text) override;
    QString openFileName(const QString& fileName, const QString& filter, const QString& title) override;
    QString saveFileName(const QString& fileName, const QString& filter, const QString& title) override;

private:
    void writeLine(const QString& text);

    bool answerYes_;
};
