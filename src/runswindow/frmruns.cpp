#include "runswindow/frmruns.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "imports/importrun.h"
#include "imports/runlisting.h"
#include "imports/uploadrecognition.h"
#include "runswindow/busypointer.h"
#include "runswindow/checkwindow.h"
#include "runswindow/variancewindow.h"
#include "startup/program.h"

namespace {

QPushButton* command(QDialogButtonBox* box, const char* name, const char* caption) {
    QPushButton* button = box->addButton(QString::fromUtf8(caption), QDialogButtonBox::ActionRole);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

frmRuns::frmRuns(Program& program, QWidget* parent)
    : QDialog(parent), program_(program), notice_(new QLabel(this)), runs_(new QTableWidget(0, 7, this)) {
    setObjectName(QStringLiteral("frmRuns"));
    setWindowTitle(QStringLiteral("Runs and Variance"));
    runs_->setHorizontalHeaderLabels(runHeadings());
    runs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    runs_->setSelectionBehavior(QAbstractItemView::SelectRows);
    runs_->setSelectionMode(QAbstractItemView::SingleSelection);
    runs_->verticalHeader()->hide();
    runs_->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    undo_ = command(buttons, "cmdUndo", "&Undo…");
    variance_ = command(buttons, "cmdVariance", "&Variance");
    check_ = command(buttons, "cmdCheck", "&Check an upload…");
    connect(undo_, &QPushButton::clicked, this, &frmRuns::cmdUndo_Click);
    connect(variance_, &QPushButton::clicked, this, &frmRuns::cmdVariance_Click);
    connect(check_, &QPushButton::clicked, this, &frmRuns::cmdCheck_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(runs_, &QTableWidget::itemSelectionChanged, this, &frmRuns::enableCommands);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notice_);
    layout->addWidget(runs_);
    layout->addWidget(buttons);
    resize(980, 420);
    loadRuns();
}

void frmRuns::loadRuns() {
    const bool shopReady = program_.runs != nullptr && program_.shop.IsConnected();
    notice_->setText(
        shopReady ? QStringLiteral("Every import the shop database keeps, the newest first.")
                  : QStringLiteral("The shop database is not configured: quit RM Stockhand, register it "
                                   "with rmstockhand-batch register-shop-db, and start again."));
    runs_->setRowCount(0);
    shown_.clear();
    check_->setEnabled(shopReady);
    if (shopReady) {
        try {
            const QList<ImportRun> runs = program_.runs->Runs();
            shown_ = QList<ImportRun>(runs.crbegin(), runs.crend());
        } catch (const ProgramError& error) {
            program_.prompts.notice(error.description());
        }
    }
    for (const ImportRun& run : std::as_const(shown_)) {
        const int row = runs_->rowCount();
        runs_->insertRow(row);
        const QStringList cells = runCells(run);
        for (int column = 0; column < cells.size(); ++column) {
            runs_->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    runs_->resizeColumnsToContents();
    enableCommands();
}

void frmRuns::enableCommands() {
    const std::optional<ImportRun> run = chosenRun();
    undo_->setEnabled(run && !run->undone());
    variance_->setEnabled(run && run->kind == QLatin1String("stocktake") && !run->undone());
}

std::optional<ImportRun> frmRuns::chosenRun() const {
    const QList<QTableWidgetItem*> chosen = runs_->selectedItems();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return shown_.value(chosen.first()->row());
}

void frmRuns::cmdUndo_Click() {
    const std::optional<ImportRun> run = chosenRun();
    if (!run || !program_.prompts.cautiousQuestion(undoQuestion(*run))) {
        return;
    }
    QString refusal;
    try {
        const BusyPointer busy;
        refusal = undoImportRun(*program_.runs, run->id);
    } catch (const ProgramError& error) {
        refusal = error.description();
    }
    program_.prompts.notice(refusal.isEmpty() ? undoneText(run->id) : refusal);
    loadRuns();
}

void frmRuns::cmdVariance_Click() {
    const std::optional<ImportRun> run = chosenRun();
    if (!run) {
        return;
    }
    try {
        VarianceWindow variance(program_.prompts, *program_.runs, *run, this);
        variance.exec();
    } catch (const ProgramError& error) {
        program_.prompts.notice(error.description());
    }
}

void frmRuns::cmdCheck_Click() {
    const QString folder = program_.appPath + QLatin1Char('/');
    const QString path = program_.prompts.openFileName(
        folder, QStringLiteral("Uploads (*.dat);;All files (*)"), QStringLiteral("Check an upload"));
    if (path == folder) {
        return;
    }
    const UploadLoader* kind = nullptr;
    try {
        kind = recognisedUpload(path);
    } catch (const ProgramError& error) {
        program_.prompts.notice(QStringLiteral("Cannot read %1: %2").arg(path, error.description()));
        return;
    }
    if (kind == nullptr) {
        program_.prompts.notice(
            QStringLiteral("%1 is not an upload: its first line is no upload's header, and its "
                           "name is none of Stock.dat, Orders.dat and Goods.dat")
                .arg(path));
        return;
    }
    CheckWindow window(QFileInfo(path).fileName(), this);
    CheckSummary summary;
    {
        const BusyPointer busy;
        checkUploadFile(program_, *kind, path, [&](const CheckedRecord& record) {
            summary.count(record);
            window.addRecord(*kind, record);
        });
    }
    window.finish(summary);
    window.exec();
}
