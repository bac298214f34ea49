#pragma once
// Shows any dataset in a grid: rows as they are read, more rows when the
// view scrolls to the end, and the current row's pending edits.

#include <QAbstractTableModel>
#include <QStringList>
#include <QHash>
#include <functional>

namespace folian {

class Dataset;

class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DatasetModel(Dataset *dataset, QObject *parent = nullptr);

    // The fields shown, in order, with their titles; all fields when empty.
    void setColumns(const QStringList &fields, const QStringList &titles = {});
    void setTitles(const QStringList &titles);
    // A computed column: the text of a row (e.g. a role name from its code).
    void setDisplay(const QString &field, std::function<QString(const QVariant &)> format);
    Dataset *dataset() const { return dataset_; }
    QString fieldOf(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    // Sets the title of a column (localisation of grids).
    bool setHeaderData(int section, Qt::Orientation o, const QVariant &value, int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    QStringList shownFields() const;
    void sync();

    Dataset *dataset_;
    QStringList fields_;
    QStringList titles_;
    QHash<QString, std::function<QString(const QVariant &)>> formats_;
    int count_ = 0;
};

} // namespace folian
