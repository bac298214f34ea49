#include "catalogue/widgets/listmodel.h"

#include "base/messages.h"
#include "data/core/dataset.h"

#include <QGuiApplication>

namespace folian {

void ListModel::setEditable(const QStringList &fields)
{
    editable_.clear();
    for (const QString &f : fields)
        editable_.insert(f.toUpper());
}

void ListModel::setRowDisplay(const QString &field, std::function<QString(int row)> text)
{
    rowDisplays_.insert(field.toUpper(), std::move(text));
}

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole && index.isValid()) {
        QVariant shown = DatasetModel::data(index, role);
        if (const auto it = rowDisplays_.constFind(fieldOf(index.column())); it != rowDisplays_.constEnd())
            shown = (*it)(index.row());
        // Right to left, a Latin name keeps its own order ("Benali, K." stays so).
        if (QGuiApplication::layoutDirection() == Qt::RightToLeft && shown.typeId() == QMetaType::QString
            && !shown.toString().isEmpty())
            return QString(QChar(0x2068) + shown.toString() + QChar(0x2069));
        return shown;
    }
    if (role == Qt::ForegroundRole && colour_ && index.isValid()) {
        const QColor c = colour_(index.row());
        return c.isValid() ? QVariant(c) : QVariant();
    }
    if (role == Qt::EditRole && index.isValid())
        return dataset()->valueAt(index.row(), dataset()->fieldIndex(fieldOf(index.column())));
    return DatasetModel::data(index, role);
}

Qt::ItemFlags ListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = DatasetModel::flags(index);
    if (index.isValid() && editable_.contains(fieldOf(index.column())))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !editable_.contains(fieldOf(index.column())))
        return false;
    Dataset *d = dataset();
    // The screen moves the current row (saving the one left) before a cell of another row is edited.
    if (index.row() != d->currentRow())
        return false;
    if (!d->isEditing() && !d->edit())
        return false;
    if (!d->setValue(fieldOf(index.column()), value)) {
        error(d->refusal().isEmpty() ? d->lastError() : d->refusal());
        return false;
    }
    return true;
}

} // namespace folian
