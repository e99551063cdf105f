#pragma once

#include <QString>

// The questions an import asks before it writes anything, when an earlier import of its kind
// makes it doubtful; the window asks the user, the batch answers from its options.
class RunQuestions {
public:
    enum class Unfinished { Undo, Resume, Stop };

    virtual ~RunQuestions() = default;
    // An earlier import stopped part of the way: undo what it wrote and load the file from the
    // start, carry on from the line after its last (only when `sameFile`), or load nothing.
    virtual Unfinished unfinishedRun(const QString& question, bool sameFile, qint64 nextLine) = 0;
    // The file was loaded before: true loads it again.
    virtual bool loadAgain(const QString& question) = 0;
};
