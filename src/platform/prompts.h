#pragma once

#include <QString>

// Every message box, question and file dialog the program shows goes through this interface, so
// that tests and the batch command line can answer them without a screen.
class Prompts {
public:
    virtual ~Prompts() = default;

    // An OK-only message box without a title of its own.
    virtual void notice(const QString& text) = 0;
    // An OK-only message box with the critical-stop icon.
    virtual void criticalNotice(const QString& text) = 0;
    // A Yes/No question without a title of its own; true on Yes.
    virtual bool question(const QString& text) = 0;
    // The same for a question whose Yes could do harm twice over: where a box has a default button,
    // it is No.
    virtual bool cautiousQuestion(const QString& text) { return question(text); }
    // A file-open dialog that starts on `fileName`; gives `fileName` back unchanged on cancel.
    virtual QString openFileName(const QString& fileName, const QString& filter, const QString& title) = 0;
    // A file-save dialog that starts on `fileName`; gives `fileName` back unchanged on cancel.
    virtual QString saveFileName(const QString& fileName, const QString& filter, const QString& title) = 0;
};
