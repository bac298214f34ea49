#include "catalogue/core/recordresult.h"

#include "catalogue/core/parentsearch.h"
#include "catalogue/core/records.h"
#include "data/core/dialect.h"
#include "data/core/helpers.h"

namespace folian {

namespace {
constexpr int kNoRecord = -2147483647;

QString resultColumns()
{
    return QStringLiteral("N.*, ") + mainAuthorExpression(QStringLiteral("N")) + QStringLiteral(" AS AUTEUR");
}
} // namespace

bool recordResultQuery(Database &db, const RecordCriteria &c, SqlCondition *out, QString *why)
{
    if (c.isEmpty()) {
        *out = emptyRecordResult();
        return true;
    }
    return recordSearchQuery(db, c, resultColumns(), out, why);
}

SqlCondition emptyRecordResult()
{
    return {QStringLiteral("SELECT ") + resultColumns() + QStringLiteral(" FROM NOTICE N WHERE N.DOC_ID = ?"),
            {kNoRecord}};
}

QString recordTitleText(const QVariant &proper, const QVariant &complement)
{
    QString t = proper.toString();
    if (!IsBlank(complement))
        t += QStringLiteral(" : ") + complement.toString().trimmed();
    return t;
}

SqlCondition copyListQuery(const Dialect &d, CopyListField field, const QString &typed)
{
    SqlCondition q;
    q.sql = QStringLiteral("SELECT X.EXP_ID, X.EXP_COTE, X.DOC_ID FROM NOTICE_EXEMPLAIRE X");
    if (const QString value = typed.trimmed(); !value.isEmpty()) {
        q.sql += QStringLiteral(" WHERE ")
            + d.likeNoCase(field == CopyListField::ShelfMark ? QStringLiteral("X.EXP_COTE") : QStringLiteral("X.EXP_ID"));
        q.binds << LikePattern(value);
    }
    q.sql += QStringLiteral(" ORDER BY X.EXP_COTE, X.EXP_ID");
    return q;
}

RecordSearchActions recordSearchActions(const CataloguerRights &rights, const RecordSearchState &s)
{
    RecordSearchActions a;
    if (s.running)
        return a;
    a.search = s.criteria;
    a.clear = true;
    const bool onRecord = s.resultRows && s.current;
    a.preview = onRecord;
    a.edit = onRecord && rights.mayEdit(s.currentType);
    a.remove = s.resultRows
        && std::any_of(s.creators.cbegin(), s.creators.cend(), [&](const QVariant &c) { return rights.mayDelete(c); });
    a.addToBasket = onRecord;
    a.addAllToBasket = s.resultRows;
    a.print = a.exportRecords = s.basketShown ? s.basketRows : s.resultRows;
    a.basketRemove = a.basketClear = s.basketRows;
    return a;
}

} // namespace folian
