#pragma once

#include "imports/runquestions.h"
#include "platform/prompts.h"

// The run questions put to the user as Yes/No questions: Yes undoes an unfinished import before
// loading again, or loads an already loaded file again; No loads nothing.
class PromptedRunQuestions : public RunQuestions {
public:
    explicit PromptedRunQuestions(Prompts& prompts) : prompts_(prompts) {}

    Unfinished unfinishedRun(const QString& question, bool /*sameFile*/, qint64 /*nextLine*/) override {
        return prompts_.question(question) ? Unfinished::Undo : Unfinished::Stop;
    }
    bool loadAgain(const QString& question) override { return prompts_.cautiousQuestion(question); }

private:
    Prompts& prompts_;
};
