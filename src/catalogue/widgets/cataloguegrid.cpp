#include "catalogue/widgets/cataloguegrid.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace folian {

CatalogueGridModel::CatalogueGridModel(Dataset *dataset, QObject *parent) : DatasetModel(dataset, parent) {}

void CatalogueGridModel::refresh()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QVariant CatalogueGridModel::data(const QModelIndex &index, int role) const
{
    if (index.isValid() && role == Qt::DisplayRole) {
        if (auto it = rowTexts_.constFind(fieldOf(index.column())); it != rowTexts_.constEnd())
            return (*it)(index.row());
    }
    if (styler_ && index.isValid() && role != Qt::DisplayRole && role != Qt::EditRole) {
        const QVariant v = styler_(index.row(), fieldOf(index.column()), role);
        if (v.isValid())
            return v;
    }
    return DatasetModel::data(index, role);
}

namespace {

QPixmap badge(const QColor &fill, const QString &text)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(fill.darker(140));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
    return pm;
}

} // namespace

QIcon documentTypeIcon(const QString &typId)
{
    static QHash<QString, QIcon> cache;
    const QString code = typId.trimmed().left(1);
    if (code.isEmpty())
        return {};
    if (auto it = cache.constFind(code); it != cache.constEnd())
        return *it;
    // One hue per letter, spread around the colour wheel.
    const int hue = (code.at(0).toLower().unicode() - u'a') * 37 % 360;
    const QIcon icon(badge(QColor::fromHsv(qBound(0, hue, 359), 150, 170), code));
    cache.insert(code, icon);
    return icon;
}

QIcon issueReceivedIcon(bool received)
{
    static const QIcon yes(badge(QColor(0x2e, 0x8b, 0x57), QStringLiteral("\u2713")));
    static const QIcon no(badge(QColor(0xb0, 0xb0, 0xb0), QStringLiteral("\u2026")));
    return received ? yes : no;
}

} // namespace folian
