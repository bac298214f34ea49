#include "data/core/datasetmodel.h"

#include "base/dates.h"
#include "data/core/dataset.h"

namespace folian {

DatasetModel::DatasetModel(Dataset *dataset, QObject *parent)
    : QAbstractTableModel(parent), dataset_(dataset)
{
    // The model keeps its own count so that views hear of every row before they see it.
    count_ = dataset->rowCount();
    connect(dataset, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(dataset, &Dataset::reset, this, [this] {
        count_ = dataset_->rowCount();
        endResetModel();
    });
    connect(dataset, &Dataset::rowsFetched, this, [this](int, int) { sync(); });
    connect(dataset, &Dataset::rowInserted, this, [this](int row) {
        beginInsertRows({}, row, row);
        ++count_;
        endInsertRows();
    });
    connect(dataset, &Dataset::rowRemoved, this, [this](int row) {
        beginRemoveRows({}, row, row);
        --count_;
        endRemoveRows();
    });
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

void DatasetModel::setColumns(const QStringList &fields, const QStringList &titles)
{
    beginResetModel();
    fields_.clear();
    for (const QString &f : fields)
        fields_ << f.toUpper();
    titles_ = titles;
    endResetModel();
}

void DatasetModel::setTitles(const QStringList &titles)
{
    titles_ = titles;
    emit headerDataChanged(Qt::Horizontal, 0, qMax(0, columnCount() - 1));
}

void DatasetModel::setDisplay(const QString &field, std::function<QString(const QVariant &)> format)
{
    formats_.insert(field.toUpper(), std::move(format));
}

void DatasetModel::setRowDisplay(const QString &field, std::function<QString(int)> format)
{
    rowFormats_.insert(field.toUpper(), std::move(format));
}

QStringList DatasetModel::shownFields() const
{
    return fields_.isEmpty() ? dataset_->fieldNames() : fields_;
}

QString DatasetModel::fieldOf(int column) const { return shownFields().value(column); }

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count_;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(shownFields().size());
}

void DatasetModel::setEditable(std::function<bool(int, const QString &)> editable)
{
    editable_ = std::move(editable);
}

void DatasetModel::setStyle(std::function<QVariant(int, const QString &, int)> style) { style_ = std::move(style); }

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && editable_ && editable_(index.row(), fieldOf(index.column())))
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = index.row();
    // One row is edited at a time: another row's pending edit is the screen's to post first.
    if (dataset_->currentRow() != row && (dataset_->isEditing() || !dataset_->moveTo(row)))
        return false;
    if (!dataset_->isEditing() && !dataset_->edit())
        return false;
    if (!dataset_->setValue(fieldOf(index.column()), value))
        return false;
    emit dataChanged(index, index);
    return true;
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QString field = fieldOf(index.column());
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return style_ ? style_(index.row(), field, role) : QVariant();
    if (const auto it = rowFormats_.constFind(field); it != rowFormats_.constEnd())
        return (*it)(index.row());
    const QVariant v = dataset_->valueAt(index.row(), dataset_->fieldIndex(field));
    if (const auto it = formats_.constFind(field); it != formats_.constEnd())
        return (*it)(v);
    if (v.typeId() == QMetaType::QDate)
        return ShowDate(v.toDate());
    if (v.typeId() == QMetaType::QDateTime)
        return ShowDateTime(v.toDateTime());
    return v;
}

QVariant DatasetModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, o, role);
    if (section < titles_.size())
        return titles_.at(section);
    return fieldOf(section);
}

bool DatasetModel::setHeaderData(int section, Qt::Orientation o, const QVariant &value, int role)
{
    if (o != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole) || section < 0
        || section >= columnCount())
        return false;
    while (titles_.size() <= section)
        titles_ << fieldOf(int(titles_.size()));
    titles_[section] = value.toString();
    emit headerDataChanged(o, section, section);
    return true;
}

bool DatasetModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && dataset_->isOpen() && !dataset_->allFetched();
}

void DatasetModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid())
        return;
    dataset_->fetchMore(256);
}

void DatasetModel::sync()
{
    const int n = dataset_->rowCount();
    if (n > count_) {
        beginInsertRows({}, count_, n - 1);
        count_ = n;
        endInsertRows();
    }
}

} // namespace folian
