#pragma once

#include <QString>
#include <QStringList>

#include "outside/importruns.h"

// The shop's record of imports as people read it, the same in the window and the batch.

// The headings of the runs' columns: run, kind, started, how it ended, lines taken in, written,
// file.
QStringList runHeadings();

// A run's cells under those headings.
QStringList runCells(const ImportRun& run);

// A row of the batch's listing, its cells in fixed-width columns: a run's cells, or the headings.
QString runLine(const QStringList& cells);

// The question before undoing a run: what it wrote, and that it will be taken back.
QString undoQuestion(const ImportRun& run);

// What is said once a run has been undone.
QString undoneText(qint64 runId);
