#pragma once

#include <QDialog>
#include <optional>

#include "outside/importruns.h"

struct Program;
class QLabel;
class QPushButton;
class QTableWidget;

// The runs window: the shop's record of imports, the newest first, in the columns of
// `rmstockhand-batch runs`, with Undo…, the variance of a stocktake run and the check of an upload.
// Everything it shows comes from the same engine calls as the batch's; without a shop database it
// says so and offers nothing.
class frmRuns : public QDialog {
    Q_OBJECT

public:
    frmRuns(Program& program, QWidget* parent = nullptr);

    QTableWidget* runsTable() const { return runs_; }

public slots:
    // Asks, with No as the default, whether to take the chosen run back, then says what came of it.
    void cmdUndo_Click();
    // Shows the chosen stocktake run's variance.
    void cmdVariance_Click();
    // Asks for an upload in the program's folder and shows what importing it would do.
    void cmdCheck_Click();

private:
    void loadRuns();
    void enableCommands();
    std::optional<ImportRun> chosenRun() const;

    Program& program_;
    QLabel* notice_;
    QTableWidget* runs_;
    QPushButton* undo_;
    QPushButton* variance_;
    QPushButton* check_;
    // The runs as the table shows them, the newest first.
    QList<ImportRun> shown_;
};
