#pragma once
// A statistic's rows in a grid: its columns titled in the session's
// language, counts, rates and amounts centred as the page centres them. A
// statistic of many rows is read a page at a time, the next page when the
// grid scrolls to it, so that the first rows show at once.

#include "statistics/core/statistics.h"

#include <QAbstractTableModel>

namespace folian {

class StatisticModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit StatisticModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    // Rows known whole (none to read later).
    void setTable(const StatisticTable &t);
    // The first page of a statistic of `total` rows, its next pages read from `db`.
    void setFirstPage(Database &db, const StatisticTable &first, qint64 total);
    // The rows read so far, and how many the statistic has.
    const StatisticTable &table() const { return table_; }
    qint64 total() const { return total_; }

    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    StatisticTable table_;
    Database *db_ = nullptr;
    qint64 total_ = 0;
};

} // namespace folian
