// The variance of a stocktake run in the window: the report's table beside a chart of its largest
// differences, to save as a spreadsheet, print, or save as a PDF file.
#pragma once

#include <QDialog>
#include <QList>

#include "outside/importruns.h"
#include "platform/prompts.h"
#include "runswindow/variancechart.h"

class QPrinter;
class VarianceTableModel;

class VarianceWindow : public QDialog {
    Q_OBJECT

public:
    // Reads the run's report from the shop's record of it, under a busy pointer; a long report lets
    // the windows behind repaint as it is read.
    VarianceWindow(Prompts& prompts, ImportRuns& runs, const ImportRun& run, QWidget* parent = nullptr);

private:
    void saveCsv();
    void print();
    void savePdf();
    void readReport();
    void layOut();
    // The file name the user picks to save into, or an empty text when the dialog was cancelled.
    QString saveAs(const QString& suggested, const QString& filter);
    bool printOn(QPrinter& printer);

    Prompts& prompts_;
    ImportRuns& runs_;
    const ImportRun run_;
    VarianceTableModel* table_;
    QList<VarianceBar> bars_;
};
