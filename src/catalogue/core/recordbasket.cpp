#include "catalogue/core/recordbasket.h"

#include "base/messages.h"
#include "data/core/database.h"

#include <QSqlQuery>

namespace folian {

bool RecordBasket::contains(int docId) const
{
    for (const Row &r : rows_)
        if (r.docId == docId)
            return true;
    return false;
}

bool RecordBasket::add(Database &db, int docId)
{
    if (contains(docId))
        return false;
    QSqlQuery q = db.query(QStringLiteral("SELECT DOC_TITRE_PROPRE, DOC_TITRE_COMPLEMENT FROM NOTICE WHERE DOC_ID = ?"),
                           {docId});
    if (!q.isActive() || !q.next())
        return false;
    Row r;
    r.docId = docId;
    r.title = q.value(0).toString();
    if (const QString complement = q.value(1).toString().trimmed(); !complement.isEmpty())
        r.title += QStringLiteral(" : ") + complement;
    rows_ << r;
    return true;
}

void RecordBasket::removeAt(int row)
{
    if (row >= 0 && row < rows_.size())
        rows_.removeAt(row);
}

QList<int> RecordBasket::ids() const
{
    QList<int> out;
    for (const Row &r : rows_)
        out << r.docId;
    return out;
}

QString RecordBasket::caption() const
{
    if (rows_.isEmpty())
        return tr2(QStringLiteral(" Liste des notice(s) sélectionné(s)"), QStringLiteral(" قائمة البطاقات المنتقات"));
    return u' ' + QString::number(rows_.size()) + u' '
        + tr2(QStringLiteral("notice(s) sélectionné(s)"), QStringLiteral("بطاقة منتقات"));
}

QString RecordBasket::resultCaption(qint64 n)
{
    return u' ' + QString::number(n) + u' ' + tr2(QStringLiteral("notice(s) trouvé(s)"), QStringLiteral("بطاقة"));
}

} // namespace folian
