#pragma once

#include <QDialog>

#include "imports/uploadcheck.h"

class QLabel;
class QTableWidget;

// The check of an upload as a table: each record's line, what its import would do and what to look
// at, the rows with something to look at standing out, and the check's summary below. The check
// writes nothing.
class CheckWindow : public QDialog {
    Q_OBJECT

public:
    CheckWindow(const QString& fileName, QWidget* parent = nullptr);

    // Adds a record as the check finds it.
    void addRecord(const UploadLoader& kind, const CheckedRecord& record);
    // Shows the check's summary once the file has been read.
    void finish(const CheckSummary& summary);

    QTableWidget* table() const { return table_; }
    QLabel* summary() const { return summary_; }

private:
    QTableWidget* table_;
    QLabel* summary_;
};
