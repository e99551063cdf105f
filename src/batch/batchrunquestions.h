#pragma once

#include "imports/runquestions.h"
#include "platform/prompts.h"

// The run questions answered from the batch's options: --undo-unfinished undoes an unfinished
// import first, --resume carries the same file on, --again loads a file again. Without the
// option, the question is answered by loading nothing, and the batch says which option would.
class BatchRunQuestions : public RunQuestions {
public:
    BatchRunQuestions(Prompts& prompts, bool undoUnfinished, bool resume, bool again)
        : prompts_(prompts), undoUnfinished_(undoUnfinished), resume_(resume), again_(again) {}

    Unfinished unfinishedRun(const QString& question, bool sameFile, qint64 nextLine) override;
    bool loadAgain(const QString& question) override;

private:
    Prompts& prompts_;
    bool undoUnfinished_, resume_, again_;
};
