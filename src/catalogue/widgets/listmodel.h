#pragma once
// The grids of the authority lists and of the table editor: a dataset shown
// as it is read, rows drawn in a colour of their own (the rejected forms of
// headings in red), and cells the operator may edit in place.

#include "data/core/datasetmodel.h"

#include <QColor>
#include <QSet>
#include <functional>

namespace folian {

class ListModel : public DatasetModel
{
    Q_OBJECT
public:
    using DatasetModel::DatasetModel;

    // The text colour of a row; an invalid colour keeps the grid's own.
    void setRowColour(std::function<QColor(int row)> colour) { colour_ = std::move(colour); }
    // A column whose text is computed from its row (a name looked up, ...).
    void setRowDisplay(const QString &field, std::function<QString(int row)> text);
    // Fields the operator may type into, on the dataset's current row. A
    // value the dataset refuses is shown to him and the cell keeps the row's value.
    void setEditable(const QStringList &fields);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    std::function<QColor(int)> colour_;
    QHash<QString, std::function<QString(int)>> rowDisplays_;
    QSet<QString> editable_;
};

} // namespace folian
