#include "statistics/widgets/statisticmodel.h"

#include "base/messages.h"

namespace folian {

void StatisticModel::setTable(const StatisticTable &t)
{
    beginResetModel();
    table_ = t;
    endResetModel();
}

int StatisticModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(table_.rows.size());
}

int StatisticModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(table_.layout.columns.size());
}

QVariant StatisticModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cellText(table_, index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        const ColumnKind k = table_.layout.columns.value(index.column()).page.kind;
        if (k == ColumnKind::Number || k == ColumnKind::Rate || k == ColumnKind::Money)
            return int(Qt::AlignCenter);
    }
    return {};
}

QVariant StatisticModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const EditionColumn c = table_.layout.columns.value(section);
    return tr2(c.french, c.arabic);
}

} // namespace folian
