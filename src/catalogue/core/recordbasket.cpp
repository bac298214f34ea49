#include "catalogue/core/recordbasket.h"

#include "base/messages.h"
#include "base/progress.h"
#include "catalogue/core/recordresult.h"
#include "data/core/database.h"

#include <QHash>
#include <QSqlQuery>

namespace folian {

namespace {
constexpr int kBatch = 500;  // well under the engines' limits on bound values
}

bool RecordBasket::add(Database &db, int docId)
{
    if (contains(docId))
        return false;
    SqlRows q = db.query(QStringLiteral("SELECT DOC_TITRE_PROPRE, DOC_TITRE_COMPLEMENT FROM NOTICE WHERE DOC_ID = ?"),
                         {docId});
    if (!q.isActive() || !q.next())
        return false;
    rows_ << Row{docId, recordTitleText(q.value(0), q.value(1))};
    listed_.insert(docId);
    return true;
}

int RecordBasket::addAll(Database &db, const QList<int> &ids, Progress *progress)
{
    int added = 0;
    for (qsizetype from = 0; from < ids.size(); from += kBatch) {
        if (progress && progress->stopped())
            break;
        QList<int> batch;
        QSet<int> inBatch;
        QStringList marks;
        QVariantList binds;
        for (qsizetype i = from; i < qMin(ids.size(), from + kBatch); ++i) {
            const int id = ids.at(i);
            if (contains(id) || inBatch.contains(id))
                continue;
            batch << id;
            inBatch.insert(id);
            marks << QStringLiteral("?");
            binds << id;
        }
        if (!batch.isEmpty()) {
            SqlRows q = db.query(QStringLiteral("SELECT DOC_ID, DOC_TITRE_PROPRE, DOC_TITRE_COMPLEMENT FROM NOTICE "
                                                "WHERE DOC_ID IN (")
                                     + marks.join(QStringLiteral(", ")) + u')',
                                 binds);
            if (!q.isActive())
                return -1;
            QHash<int, QString> titles;
            while (q.next())
                titles.insert(q.value(0).toInt(), recordTitleText(q.value(1), q.value(2)));
            for (int id : std::as_const(batch)) {
                const auto it = titles.constFind(id);
                if (it == titles.constEnd())
                    continue;  // deleted meanwhile
                rows_ << Row{id, *it};
                listed_.insert(id);
                ++added;
            }
        }
        if (progress) {
            const qsizetype done = qMin(ids.size(), from + kBatch);
            progress->step(int(done), int(ids.size()), progressText(int(done)));
        }
    }
    return added;
}

void RecordBasket::removeAt(int row)
{
    if (row < 0 || row >= rows_.size())
        return;
    listed_.remove(rows_.at(row).docId);
    rows_.removeAt(row);
}

void RecordBasket::clear()
{
    rows_.clear();
    listed_.clear();
}

QList<int> RecordBasket::ids() const
{
    QList<int> out;
    out.reserve(rows_.size());
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

QString RecordBasket::progressText(int done)
{
    return tr2(QStringLiteral("Panier : "), QStringLiteral("السلة : ")) + QString::number(done);
}

} // namespace folian
