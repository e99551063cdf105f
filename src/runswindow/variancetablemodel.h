// The variance report's table as the window shows it: a row of cells per item, as the report
// reads them, and the totals as the last row.
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class VarianceTableModel : public QAbstractTableModel {
public:
    explicit VarianceTableModel(QObject* parent = nullptr);

    // Adds an item's row or the totals' row; the view learns of the rows read when `finish` is
    // called, so that a long report is not laid out row by row.
    void addItem(const QStringList& cells) { items_.append(cells); }
    void setTotals(const QStringList& cells) { totals_ = cells; }
    void finish();

    // The rows read: the items' in the report's order, and the totals'.
    const QList<QStringList>& items() const { return items_; }
    const QStringList& totals() const { return totals_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const QStringList& row(int row) const { return row < items_.size() ? items_[row] : totals_; }

    QStringList headings_;
    QList<QStringList> items_;
    QStringList totals_;
};
