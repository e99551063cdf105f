#include "shopdata/runledger.h"

#include "shopdata/shopbackend.h"
#include "shopdata/shoptransaction.h"

namespace {

constexpr const char* kRunColumns =
    "select run_id, kind, file_name, checksum, started_at, coalesce(ended_at, ''), coalesce(undone_at, ''), "
    "lines_in_file, coalesce(last_line, 0), coalesce(records_written, 0), process from import_runs ";

ShopStatement prepare(const QSqlDatabase& connection, const QString& sql, const ShopBackend& backend) {
    return ShopStatement(connection, sql, backend);
}

ShopStatement runsWhere(const QSqlDatabase& connection, const char* where, const ShopBackend& backend) {
    return prepare(connection, QLatin1String(kRunColumns) + QLatin1String(where), backend);
}

// A non-negative number rounded to a whole one, a half away from zero, in the engine's double
// arithmetic: the fraction is exact, so a half is found as the program's own rounding finds it.
QString roundedHalfUp(const QString& number) {
    return QStringLiteral("(floor(%1) + case when %1 - floor(%1) >= 0.5 then 1 else 0 end)").arg(number);
}

// The rows of a run in the three tables an import writes to, for statements that take them all.
constexpr const char* kWrittenRows =
    "(select line_no from stocktake_counts where run_id = ? union all "
    "select line_no from order_lines where run_id = ? union all "
    "select line_no from goods_received where run_id = ?) written";

}  // namespace

// A stocktake run's items with their counts, the largest value of difference in whole cents first
// (rounded twice, to millionths of a cent and then to the cent, as valueInCents rounds it), then by
// stock id. The run's number is written into the text: the driver of a shop database file reads
// the rows of a select without "?" places one at a time, where it holds every row of one with them.
QString varianceSql(qint64 runId) {
    const QString items =
        QStringLiteral(
            "select s.stock_id as stock_id, s.BarCode as barcode, s.Description as description, "
            "s.QtyOnHand as on_hand, s.Price as price, c.counted as counted, "
            "abs((coalesce(c.counted, 0) - s.QtyOnHand) * s.Price) * 100000000.0 as scaled from stock s "
            "left join (select stock_id, sum(quantity) as counted from stocktake_counts where run_id = %1 "
            "group by stock_id) c on c.stock_id = s.stock_id where c.counted is not null or s.QtyOnHand <> 0")
            .arg(runId);
    const QString cents = QStringLiteral("select i.*, %1 / 1000000.0 as cents from (%2) i")
                              .arg(roundedHalfUp(QStringLiteral("i.scaled")), items);
    return QStringLiteral(
               "select stock_id, barcode, description, on_hand, price, counted from (%1) v "
               "order by %2 desc, stock_id")
        .arg(cents, roundedHalfUp(QStringLiteral("v.cents")));
}

RunLedger::RunLedger(const QSqlDatabase& c, const ShopBackend& b, const platform::Clock& clock)
    : connection_(c),
      backend_(b),
      clock_(clock),
      begin_(prepare(
          c,
          QStringLiteral("insert into import_runs (kind, file_name, checksum, lines_in_file, process, "
                         "started_at) values (?, ?, ?, ?, ?, ?)"),
          b)),
      resume_(prepare(c, QStringLiteral("update import_runs set process = ? where run_id = ?"), b)),
      lastKey_(prepare(c, b.lastInsertedKey(), b)),
      end_(prepare(c,
                   QStringLiteral("update import_runs set ended_at = ?, last_line = ?, records_written = ? "
                                  "where run_id = ?"),
                   b)),
      byId_(runsWhere(c, "where run_id = ?", b)),
      unfinished_(runsWhere(c,
                            "where kind = ? and ended_at is null and undone_at is null "
                            "order by run_id desc",
                            b)),
      endedOfFile_(runsWhere(c,
                             "where kind = ? and checksum = ? and ended_at is not null and undone_at is null "
                             "order by run_id desc limit 1",
                             b)),
      all_(runsWhere(c, "order by run_id", b)),
      written_(prepare(c, QStringLiteral("select count(*) from ") + QLatin1String(kWrittenRows), b)),
      lastWritten_(prepare(
          c, QStringLiteral("select coalesce(max(line_no), 0) from ") + QLatin1String(kWrittenRows), b)),
      markUndone_(prepare(c,
                          QStringLiteral("update import_runs set undone_at = ? "
                                         "where run_id = ? and undone_at is null"),
                          b)),
      dependents_(prepare(c,
                          QStringLiteral("select later.run_id, later.order_id from ("
                                         "select run_id, order_id from goods_received union all "
                                         "select run_id, order_id from order_lines) later "
                                         "join orders on orders.order_id = later.order_id "
                                         "where orders.run_id = ? and coalesce(later.run_id, 0) <> ? "
                                         "order by later.run_id limit 1"),
                          b)),
      lowerOnHand_(prepare(
          c,
          QStringLiteral("update stock set QtyOnHand = QtyOnHand - ("
                         "select sum(g.quantity) from goods_received g "
                         "join receipts r on r.receipt_id = g.receipt_id "
                         "where g.run_id = ? and r.post_to_stock = 1 and g.stock_id = stock.stock_id) "
                         "where stock_id in (select g.stock_id from goods_received g "
                         "join receipts r on r.receipt_id = g.receipt_id "
                         "where g.run_id = ? and r.post_to_stock = 1)"),
          b)),
      restoreStatuses_(
          prepare(c,
                  QStringLiteral("update orders set status = (select old_status from import_run_orders m "
                                 "where m.run_id = ? and m.order_id = orders.order_id) "
                                 "where order_id in (select order_id from import_run_orders "
                                 "where run_id = ?)"),
                  b)),
      deleteReceived_(prepare(c, QStringLiteral("delete from goods_received where run_id = ?"), b)),
      deleteReceipts_(prepare(c, QStringLiteral("delete from receipts where run_id = ?"), b)),
      deleteCounts_(prepare(c, QStringLiteral("delete from stocktake_counts where run_id = ?"), b)),
      deleteLines_(prepare(c, QStringLiteral("delete from order_lines where run_id = ?"), b)),
      rewindOrderNo_(prepare(c,
                             QStringLiteral("update counters set value = (select min(order_id) from orders "
                                            "where run_id = ?) where name = 'next_order_no' and value = "
                                            "(select max(order_id) + 1 from orders where run_id = ?)"),
                             b)),
      deleteOrders_(prepare(c, QStringLiteral("delete from orders where run_id = ?"), b)),
      deleteStatuses_(prepare(c, QStringLiteral("delete from import_run_orders where run_id = ?"), b)) {}

qint64 RunLedger::begin(const QString& kind, const QString& fileName, const QString& checksum,
                        qint64 linesInFile, const QString& process) {
    ShopTransaction transaction(connection_, backend_);
    begin_.run({kind, fileName, checksum, linesInFile, process, platform::utcStamp(clock_())});
    const qint64 runId = lastKey_.scalar({}).toLongLong();
    transaction.commit();
    return runId;
}

void RunLedger::resume(qint64 runId, const QString& process) {
    resume_.run({process, runId});
}

void RunLedger::end(qint64 runId, qint64 lastLine) {
    const qint64 written = written_.scalar({runId, runId, runId}).toLongLong();
    end_.run({platform::utcStamp(clock_()), lastLine, written, runId});
}

ImportRun RunLedger::fromRow(const QVariantList& row) {
    ImportRun run{row[0].toLongLong(), row[1].toString(),   row[2].toString(), row[3].toString(),
                  row[4].toString(),   row[5].toString(),   row[6].toString(), row[7].toLongLong(),
                  row[9].toLongLong(), row[8].toLongLong(), row[10].toString()};
    // A run that did not end has come as far as the rows it wrote.
    if (!run.ended()) {
        run.recordsWritten = written_.scalar({run.id, run.id, run.id}).toLongLong();
        run.lastLine = lastWritten_.scalar({run.id, run.id, run.id}).toLongLong();
    }
    return run;
}

std::optional<ImportRun> RunLedger::fromRow(const std::optional<QVariantList>& row) {
    return row ? std::optional(fromRow(*row)) : std::nullopt;
}

std::optional<ImportRun> RunLedger::run(qint64 runId) {
    return fromRow(byId_.firstValues({runId}));
}

QList<ImportRun> RunLedger::unfinished(const QString& kind) {
    QList<ImportRun> runs;
    for (const QVariantList& row : unfinished_.allValues({kind})) {
        runs << fromRow(row);
    }
    return runs;
}

std::optional<ImportRun> RunLedger::endedOfFile(const QString& kind, const QString& checksum) {
    return fromRow(endedOfFile_.firstValues({kind, checksum}));
}

QList<ImportRun> RunLedger::runs() {
    QList<ImportRun> runs;
    for (const QVariantList& row : all_.allValues({})) {
        runs << fromRow(row);
    }
    return runs;
}

QString RunLedger::builtOnBy(qint64 runId) {
    const std::optional<QVariantList> later = dependents_.firstValues({runId, runId});
    if (!later) {
        return QString();
    }
    const QString by = later->value(0).isNull() ? QStringLiteral("a later entry outside the program")
                                                : QStringLiteral("run %1").arg(later->value(0).toLongLong());
    return QStringLiteral("Run %1 cannot be undone: %2 wrote to order %3, which run %1 made")
        .arg(runId)
        .arg(by)
        .arg(later->value(1).toLongLong());
}

// The quantities on hand and order statuses come back before the rows that say what to take back
// go; the order number counter goes back only when no order was made after the run's.
void RunLedger::takeBack(qint64 runId) {
    lowerOnHand_.run({runId, runId});
    restoreStatuses_.run({runId, runId});
    deleteReceived_.run({runId});
    deleteReceipts_.run({runId});
    deleteCounts_.run({runId});
    deleteLines_.run({runId});
    rewindOrderNo_.run({runId, runId});
    deleteOrders_.run({runId});
    deleteStatuses_.run({runId});
}

QString RunLedger::undo(qint64 runId) {
    ShopTransaction transaction(connection_, backend_);
    markUndone_.run({platform::utcStamp(clock_()), runId});
    if (markUndone_.rowsAffected() != 1) {
        const std::optional<ImportRun> known = run(runId);
        return known ? QStringLiteral("Run %1 was undone on %2 already").arg(runId).arg(known->undoneAt)
                     : QStringLiteral("There is no run %1").arg(runId);
    }
    const QString refusal = builtOnBy(runId);
    if (!refusal.isEmpty()) {
        return refusal;
    }
    takeBack(runId);
    transaction.commit();
    return QString();
}

void RunLedger::variance(qint64 runId, const std::function<void(const ItemVariance&)>& each) {
    backend_.eachRow(connection_, varianceSql(runId), [&each](const QVariantList& row) {
        each(ItemVariance{row[0].toInt(), row[1].toString(), row[2].toString(), row[3].toDouble(),
                          row[5].toDouble(), !row[5].isNull(), row[4].toDouble()});
    });
}
