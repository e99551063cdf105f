#pragma once

#include <QSqlDatabase>

#include "outside/importruns.h"
#include "platform/clock.h"
#include "shopdata/shopstatement.h"

class ShopBackend;

// The select behind a stocktake run's variance report, with the run's number in its text: what the
// benchmarks also hand the engine's own command line, so that both run the same query.
QString varianceSql(qint64 runId);

// The shop database's record of the program's imports: the runs table, and the undo and the
// variance report over the rows that carry a run's number. Every statement but the variance's
// is prepared once.
class RunLedger {
public:
    // `clock` stamps when runs start, end and are undone.
    RunLedger(const QSqlDatabase& connection, const ShopBackend& backend, const platform::Clock& clock);

    qint64 begin(const QString& kind, const QString& fileName, const QString& checksum, qint64 linesInFile,
                 const QString& process);
    void resume(qint64 runId, const QString& process);
    void end(qint64 runId, qint64 lastLine);
    std::optional<ImportRun> run(qint64 runId);
    QList<ImportRun> unfinished(const QString& kind);
    std::optional<ImportRun> endedOfFile(const QString& kind, const QString& checksum);
    QList<ImportRun> runs();
    QString undo(qint64 runId);
    void variance(qint64 runId, const std::function<void(const ItemVariance&)>& each);

private:
    ImportRun fromRow(const QVariantList& row);
    std::optional<ImportRun> fromRow(const std::optional<QVariantList>& row);
    // Why a later run stops this one from being undone; empty when none does.
    QString builtOnBy(qint64 runId);
    void takeBack(qint64 runId);

    QSqlDatabase connection_;
    const ShopBackend& backend_;
    const platform::Clock& clock_;
    ShopStatement begin_, resume_, lastKey_, end_, byId_, unfinished_, endedOfFile_, all_, written_,
        lastWritten_;
    ShopStatement markUndone_, dependents_, lowerOnHand_, restoreStatuses_, deleteReceived_, deleteReceipts_,
        deleteCounts_, deleteLines_, rewindOrderNo_, deleteOrders_, deleteStatuses_;
};
