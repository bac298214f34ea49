#include "data/core/datasetmodel.h"

#include "data/core/dataset.h"

#include <QLocale>

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

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const QString field = fieldOf(index.column());
    const QVariant v = dataset_->valueAt(index.row(), dataset_->fieldIndex(field));
    if (const auto it = formats_.constFind(field); it != formats_.constEnd())
        return (*it)(v);
    if (v.typeId() == QMetaType::QDate)
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    if (v.typeId() == QMetaType::QDateTime)
        return QLocale().toString(v.toDateTime(), QLocale::ShortFormat);
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
