#include "runswindow/checkwindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The colour of a row with something to look at.
const QColor kFlaggedRow(255, 236, 160);

}  // namespace

CheckWindow::CheckWindow(const QString& fileName, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(0, 3, this)), summary_(new QLabel(this)) {
    setObjectName(QStringLiteral("checkWindow"));
    setWindowTitle(QStringLiteral("Check of %1").arg(fileName));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("line"), QStringLiteral("what the import would do"), QStringLiteral("look at")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Nothing is written: this is what importing %1 would do.").arg(fileName)));
    layout->addWidget(table_);
    layout->addWidget(summary_);
    layout->addWidget(buttons);
    resize(900, 520);
}

void CheckWindow::addRecord(const UploadLoader& kind, const CheckedRecord& record) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    const QStringList cells{QString::number(record.line), checkedFateText(kind, record),
                            record.flags.join(QLatin1Char('\n'))};
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setToolTip(cells[column]);
        if (!record.flags.isEmpty()) {
            item->setBackground(kFlaggedRow);
        }
        table_->setItem(row, column, item);
    }
}

void CheckWindow::finish(const CheckSummary& summary) {
    summary_->setText(summary.text());
    table_->resizeRowsToContents();
}
