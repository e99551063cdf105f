#include "runswindow/variancewindow.h"

#include <QChartView>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>

#include "imports/variancereport.h"
#include "platform/programerror.h"
#include "platform/wholefile.h"
#include "runswindow/busypointer.h"
#include "runswindow/variancepages.h"
#include "runswindow/variancetablemodel.h"
#include "startup/startup.h"

namespace {

// How many rows of the report are read between two turns of the event loop.
constexpr qsizetype kRowsBetweenRepaints = 4096;

void whileBusy(const std::function<void()>& work) {
    const BusyPointer busy;
    work();
}

QPushButton* addButton(QDialogButtonBox* buttons, const QString& text, const char* name) {
    QPushButton* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

VarianceWindow::VarianceWindow(Prompts& prompts, ImportRuns& runs, const ImportRun& run, QWidget* parent)
    : QDialog(parent), prompts_(prompts), runs_(runs), run_(run), table_(new VarianceTableModel(this)) {
    setWindowTitle(varianceTitle(run_));
    readReport();
    layOut();
}

void VarianceWindow::readReport() {
    whileBusy([this] {
        qsizetype read = 0;
        VarianceSinks sinks;
        sinks.itemCells = [this, &read](const QStringList& cells, const ItemVariance& item) {
            table_->addItem(cells);
            if (bars_.size() < kChartedItems) {
                bars_.append({cells.first(), static_cast<double>(valueInCents(item)) / 100.0});
            }
            if (++read % kRowsBetweenRepaints == 0) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        };
        sinks.totalsCells = [this](const QStringList& cells) { table_->setTotals(cells); };
        writeVarianceReport(runs_, run_, sinks);
    });
    table_->finish();
}

void VarianceWindow::layOut() {
    auto* view = new QTableView;
    view->setObjectName(QStringLiteral("varianceTable"));
    view->setModel(table_);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->setWordWrap(false);
    view->setAlternatingRowColors(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->resizeColumnsToContents();
    view->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    auto* chart = new QChartView(makeVarianceChart(bars_));
    chart->setObjectName(QStringLiteral("varianceChart"));
    chart->setRenderHint(QPainter::Antialiasing);
    chart->setMinimumWidth(360);

    auto* sides = new QSplitter;
    sides->addWidget(view);
    sides->addWidget(chart);
    sides->setStretchFactor(0, 3);
    sides->setStretchFactor(1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(addButton(buttons, QStringLiteral("Save as &CSV..."), "saveCsv"), &QPushButton::clicked, this,
            &VarianceWindow::saveCsv);
    connect(addButton(buttons, QStringLiteral("&Print..."), "print"), &QPushButton::clicked, this,
            &VarianceWindow::print);
    connect(addButton(buttons, QStringLiteral("Save as P&DF..."), "savePdf"), &QPushButton::clicked, this,
            &VarianceWindow::savePdf);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sides, 1);
    layout->addWidget(buttons);
    resize(1200, 700);
}

QString VarianceWindow::saveAs(const QString& suggested, const QString& filter) {
    // The dialog gives back the bare name it started on when cancelled, a path when a file was chosen.
    const QString chosen = prompts_.saveFileName(suggested, filter, QStringLiteral("Save the variance as"));
    return chosen == suggested ? QString() : chosen;
}

void VarianceWindow::saveCsv() {
    const QString fileName = saveAs(QStringLiteral("Variance of run %1.csv").arg(run_.id),
                                    QStringLiteral("Comma-separated values (*.csv)"));
    if (fileName.isEmpty()) {
        return;
    }
    // Written as the report is read again, and in the file's place only once whole.
    std::optional<ProgramError> failure;
    whileBusy([&] {
        try {
            platform::WholeFile csv(fileName, platform::FileDevices{});
            VarianceSinks sinks;
            sinks.csvRow = [&csv](const QByteArray& row) { csv.write(row); };
            writeVarianceReport(runs_, run_, sinks);
            csv.commit();
        } catch (const ProgramError& error) {
            failure = error;
        }
    });
    if (failure) {
        prompts_.notice(errorText(QStringLiteral("Error in writing %1 = ").arg(fileName), *failure));
    }
}

bool VarianceWindow::printOn(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QStringList heading{QStringLiteral("Shop: %1").arg(shopDataSource()), varianceTitle(run_)};
    bool printed = false;
    whileBusy([&] { printed = printVariance(printer, heading, *table_); });
    return printed;
}

void VarianceWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && !printOn(printer)) {
        prompts_.notice(QStringLiteral("The variance could not be printed on %1").arg(printer.printerName()));
    }
}

void VarianceWindow::savePdf() {
    const QString fileName =
        saveAs(QStringLiteral("Variance of run %1.pdf").arg(run_.id), QStringLiteral("PDF files (*.pdf)"));
    if (fileName.isEmpty()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    if (!printOn(printer)) {
        prompts_.notice(QStringLiteral("Error in writing %1: the file could not be written").arg(fileName));
    }
}
