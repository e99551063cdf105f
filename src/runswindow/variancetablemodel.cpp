#include "runswindow/variancetablemodel.h"

#include <QFont>

#include "imports/variancereport.h"

namespace {

// The description and the barcode read from the left; the ids and the figures line up on the right.
bool isTextColumn(int column) {
    return column == 1 || column == 2;
}

}  // namespace

VarianceTableModel::VarianceTableModel(QObject* parent)
    : QAbstractTableModel(parent), headings_(varianceHeadings()) {}

void VarianceTableModel::finish() {
    beginResetModel();
    endResetModel();
}

int VarianceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || totals_.isEmpty() ? 0 : static_cast<int>(items_.size()) + 1;
}

int VarianceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant VarianceTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return row(index.row()).value(index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (isTextColumn(index.column()) ? Qt::AlignLeft : Qt::AlignRight));
        case Qt::FontRole:
            if (index.row() == items_.size()) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
    }
}

QVariant VarianceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return headings_.value(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
