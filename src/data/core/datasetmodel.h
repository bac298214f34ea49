#pragma once
// Shows any dataset in a grid: rows as they are read, more rows when the
// view scrolls to the end, and the current row's pending edits. Cells may
// be edited in place where the screen allows it.

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
    // A computed column from several values of its row.
    void setRowDisplay(const QString &field, std::function<QString(int row)> format);
    // Cells the operator may edit in place: the typed value is set on the
    // row (moved to and put in edit first); the screen posts the row.
    void setEditable(std::function<bool(int row, const QString &field)> editable);
    // What a cell shows beyond its text: background, foreground, check state.
    void setStyle(std::function<QVariant(int row, const QString &field, int role)> style);
    Dataset *dataset() const { return dataset_; }
    QString fieldOf(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
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
    QHash<QString, std::function<QString(int)>> rowFormats_;
    std::function<bool(int, const QString &)> editable_;
    std::function<QVariant(int, const QString &, int)> style_;
    int count_ = 0;
};

} // namespace folian
