#pragma once
// The grids of the cataloguing screens: a dataset's rows with computed
// texts, colours and images per cell, and the small images they show
// (document type, issue received or awaited).

#include "data/core/datasetmodel.h"

#include <QHash>
#include <QIcon>
#include <functional>

namespace folian {

class CatalogueGridModel : public DatasetModel
{
    Q_OBJECT
public:
    // A cell's value for a role other than its text (colour, image, ...);
    // an invalid QVariant leaves the default.
    using Styler = std::function<QVariant(int row, const QString &field, int role)>;

    // A column's text computed from its whole row (a title from three columns, ...).
    using RowText = std::function<QString(int row)>;

    explicit CatalogueGridModel(Dataset *dataset, QObject *parent = nullptr);
    void setStyler(Styler styler) { styler_ = std::move(styler); }
    void setRowDisplay(const QString &field, RowText text) { rowTexts_.insert(field.toUpper(), std::move(text)); }
    // The computed texts depend on something else (the record's language):
    // every cell is drawn again.
    void refresh();

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    Styler styler_;
    QHash<QString, RowText> rowTexts_;
};

// The image of a document type: its code on a coloured badge.
QIcon documentTypeIcon(const QString &typId);
// The image of an issue received (true) or awaited.
QIcon issueReceivedIcon(bool received);

} // namespace folian
