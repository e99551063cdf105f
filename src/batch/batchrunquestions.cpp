#include "batch/batchrunquestions.h"

#include "batch/standardoutput.h"

RunQuestions::Unfinished BatchRunQuestions::unfinishedRun(const QString& question, bool sameFile,
                                                          qint64 nextLine) {
    prompts_.notice(question);
    if (undoUnfinished_) {
        return Unfinished::Undo;
    }
    if (resume_ && sameFile) {
        return Unfinished::Resume;
    }
    writeOutputLine(resume_
                        ? QStringLiteral("Nothing was loaded: --resume carries on the same file only")
                        : QStringLiteral("Nothing was loaded: give --undo-unfinished to undo it first, or "
                                         "--resume to carry the same file on from line %1")
                              .arg(nextLine));
    return Unfinished::Stop;
}

bool BatchRunQuestions::loadAgain(const QString& question) {
    if (ifNew_) {
        passedOver_ = true;
        return false;
    }
    prompts_.notice(question);
    if (!again_) {
        writeOutputLine(
            QStringLiteral("Nothing was loaded: give --again to load it again, or --if-new to pass "
                           "over a file already loaded"));
    }
    return again_;
}
