#include "imports/runlisting.h"

#include <QLocale>

namespace {

QString stateText(const ImportRun& run) {
    if (run.undone()) {
        return QStringLiteral("undone ") + run.undoneAt;
    }
    return run.ended() ? QStringLiteral("ended ") + run.endedAt : QStringLiteral("stopped part of the way");
}

// What a run of a kind wrote, in the shop's words.
QString writtenText(const ImportRun& run) {
    const QString count = QLocale(QLocale::English).toString(run.recordsWritten);
    if (run.kind == QLatin1String("stocktake")) {
        return count + (run.recordsWritten == 1 ? QStringLiteral(" count") : QStringLiteral(" counts"));
    }
    if (run.kind == QLatin1String("orders")) {
        return count +
               (run.recordsWritten == 1 ? QStringLiteral(" order line") : QStringLiteral(" order lines"));
    }
    return count +
           (run.recordsWritten == 1 ? QStringLiteral(" received line") : QStringLiteral(" received lines")) +
           QStringLiteral(", with their receipts and the quantities on hand they raised");
}

}  // namespace

QStringList runHeadings() {
    return {QStringLiteral("run"),          QStringLiteral("kind"),           QStringLiteral("started (UTC)"),
            QStringLiteral("how it ended"), QStringLiteral("lines taken in"), QStringLiteral("written"),
            QStringLiteral("file")};
}

QStringList runCells(const ImportRun& run) {
    return {QString::number(run.id),
            run.kind,
            run.startedAt,
            stateText(run),
            QStringLiteral("%1 of %2").arg(run.lastLine).arg(run.linesInFile),
            QString::number(run.recordsWritten),
            run.fileName};
}

QString runLine(const QStringList& cells) {
    return QStringLiteral("%1  %2  %3  %4  %5  %6  %7")
        .arg(cells[0], 3)
        .arg(cells[1], -9)
        .arg(cells[2], -19)
        .arg(cells[3], -32)
        .arg(cells[4], 14)
        .arg(cells[5], 7)
        .arg(cells[6]);
}

QString undoQuestion(const ImportRun& run) {
    return QStringLiteral("Run %1 wrote %2. Take them back?").arg(run.id).arg(writtenText(run));
}

QString undoneText(qint64 runId) {
    return QStringLiteral("Run %1 was undone").arg(runId);
}
