#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// One import of an upload file as the shop database keeps it: its kind ("stocktake", "orders",
// "goods"), the file and its checksum, when it started, ended and was undone (UTC, "YYYY-MM-DD
// HH:MM:SS"; empty when it has not), the file's lines, how far it came, and the process that
// runs it.
struct ImportRun {
    qint64 id = 0;
    QString kind;
    QString fileName;
    QString checksum;
    QString startedAt, endedAt, undoneAt;
    qint64 linesInFile = 0;
    // The records it wrote to the shop, and the last line of the file it took in: for a run that
    // did not end, the line of the last record that it wrote.
    qint64 recordsWritten = 0;
    qint64 lastLine = 0;
    QString process;

    bool ended() const { return !endedAt.isEmpty(); }
    bool undone() const { return !undoneAt.isEmpty(); }
};

// One item of a stocktake run beside the stock the shop expected of it.
struct ItemVariance {
    qint32 stockId = 0;
    QString barcode, description;
    double onHand = 0;
    // The sum of the run's counts of the item (two shelves are two counts); 0 when not counted.
    double counted = 0;
    bool wasCounted = false;
    double price = 0;

    double difference() const { return counted - onHand; }
    double value() const { return difference() * price; }
};

// The shop database's record of the program's imports: every row an import writes carries its
// run's number and the line of the file it came from, so a run can be found, resumed or undone.
// Operations raise ProgramError when the database fails.
class ImportRuns {
public:
    virtual ~ImportRuns() = default;

    // Starts a run in a process and gives its number, which the run's writes then carry.
    virtual qint64 BeginRun(const QString& kind, const QString& fileName, const QString& checksum,
                            qint64 linesInFile, const QString& process) = 0;
    // Carries on a run that did not end, in this process.
    virtual void ResumeRun(qint64 runId, const QString& process) = 0;
    // Ends a run at the last line of its file. A run that stopped part of the way is left as it is.
    virtual void EndRun(qint64 runId, qint64 lastLine) = 0;

    // The runs of a kind that neither ended nor were undone, the latest first.
    virtual QList<ImportRun> UnfinishedRuns(const QString& kind) = 0;
    // The latest run of a kind over a file with this checksum that ended and was not undone.
    virtual std::optional<ImportRun> EndedRunOfFile(const QString& kind, const QString& checksum) = 0;
    // Every run, the oldest first.
    virtual QList<ImportRun> Runs() = 0;
    // Takes back everything a run wrote, in one transaction, and marks it undone. Gives why it
    // cannot be undone (unknown, undone already, built on by a later run), or an empty text.
    virtual QString UndoRun(qint64 runId) = 0;
    // Hands `each` a stocktake run's items one at a time, each it counted and each with stock on
    // hand that it did not: the largest value of difference first, in whole cents as
    // valueInCents rounds it and whatever its sign, then by stock id.
    virtual void Variance(qint64 runId, const std::function<void(const ItemVariance&)>& each) = 0;
};
