#include "batch/batchrunquestions.h"

RunQuestions::Unfinished BatchRunQuestions::unfinishedRun(const QString& question, bool sameFile,
                                                          qint64 nextLine) {
    prompts_.notice(question);
    if (undoUnfinished_) {
        return Unfinished::Undo;
    }
    if (resume_ && sameFile) {
        return Unfinished::Resume;
    }
    prompts_.notice(resume_
                        ? QStringLiteral("Nothing was loaded: --resume carries on the same file only")
                        : QStringLiteral("Nothing was loaded: give --undo-unfinished to undo it first, or "
                                         "--resume to carry the same file on from line %1")
                              .arg(nextLine));
    return Unfinished::Stop;
}

bool BatchRunQuestions::loadAgain(const QString& question) {
    prompts_.notice(question);
    if (!again_) {
        prompts_.notice(QStringLiteral("Nothing was loaded: give --again to load it again"));
    }
    return again_;
}
