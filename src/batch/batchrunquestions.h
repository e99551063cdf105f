#pragma once

#include "imports/runquestions.h"
#include "platform/prompts.h"

// The run questions answered from the batch's options: --undo-unfinished undoes an unfinished
// import first, --resume carries the same file on, --again loads a file again, and --if-new passes
// a file already loaded over without a word. Without the option, the question is answered by
// loading nothing, and the batch says on standard output which option would.
class BatchRunQuestions : public RunQuestions {
public:
    BatchRunQuestions(Prompts& prompts, bool undoUnfinished, bool resume, bool again, bool ifNew)
        : prompts_(prompts), undoUnfinished_(undoUnfinished), resume_(resume), again_(again), ifNew_(ifNew) {}

    Unfinished unfinishedRun(const QString& question, bool sameFile, qint64 nextLine) override;
    bool loadAgain(const QString& question) override;
    // True once a file already loaded was passed over under --if-new.
    bool passedOver() const { return passedOver_; }

private:
    Prompts& prompts_;
    bool undoUnfinished_, resume_, again_, ifNew_;
    bool passedOver_ = false;
};
