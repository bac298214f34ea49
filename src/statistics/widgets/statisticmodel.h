#pragma once
// A statistic's rows in a grid: its columns titled in the session's
// language, counts, rates and amounts centred as the page centres them.

#include "statistics/core/statistics.h"

#include <QAbstractTableModel>

namespace folian {

class StatisticModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit StatisticModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    void setTable(const StatisticTable &t);
    const StatisticTable &table() const { return table_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    StatisticTable table_;
};

} // namespace folian
