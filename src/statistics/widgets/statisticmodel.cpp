#include "statistics/widgets/statisticmodel.h"

#include "base/messages.h"

namespace folian {

void StatisticModel::setTable(const StatisticTable &t)
{
    beginResetModel();
    table_ = t;
    db_ = nullptr;
    total_ = t.rows.size();
    endResetModel();
}

void StatisticModel::setFirstPage(Database &db, const StatisticTable &first, qint64 total)
{
    beginResetModel();
    table_ = first;
    db_ = &db;
    total_ = qMax(total, qint64(first.rows.size()));
    endResetModel();
}

bool StatisticModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && db_ && table_.ok && table_.rows.size() < total_;
}

void StatisticModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    StatisticOptions o = table_.options;
    o.offset = int(table_.rows.size());
    const StatisticTable next = computeStatistic(*db_, table_.statistic, o);
    if (!next.ok || next.rows.isEmpty()) {
        // Rows gone meanwhile, or a failure: the rows read stay, nothing more is asked.
        total_ = table_.rows.size();
        return;
    }
    beginInsertRows({}, int(table_.rows.size()), int(table_.rows.size() + next.rows.size()) - 1);
    table_.rows += next.rows;
    endInsertRows();
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
