#include "catalogue/core/parentsearch.h"

#include "data/core/dataset.h"
#include "data/core/dialect.h"
#include "data/core/helpers.h"

namespace folian {

namespace {
constexpr int kNoRecord = -2147483647;
}

QString mainAuthorExpression(const QString &n)
{
    return QStringLiteral("(SELECT V.VED_NOM FROM NOTICE_AUTEUR A JOIN VEDETTE V ON V.VED_ID = A.VED_ID "
                          "WHERE A.DOC_ID = ")
        + n + QStringLiteral(".DOC_ID AND A.AUT_TYPE = 1 ORDER BY A.NAU_ID LIMIT 1)");
}

SqlCondition parentSearchQuery(const Dialect &d, const ParentCriteria &c)
{
    SqlCondition where = allOf({keywordCondition(d, QStringLiteral("N.DOC_KEYWORDS"), c.titleWords),
                                standardNumberCondition(d, c.number,
                                                        {QStringLiteral("N.DOC_ISBN"), QStringLiteral("N.DOC_ISSN"),
                                                         QStringLiteral("N.DOC_NUM")})});
    if (where.isEmpty()) {
        where.sql = QStringLiteral("N.DOC_ID = ?");
        where.binds = {kNoRecord};
    }
    SqlCondition q;
    q.sql = QStringLiteral("SELECT N.DOC_ID, N.TYP_ID, N.DOC_ISBN, N.DOC_ISSN, N.DOC_NUM, N.DOC_TITRE_PROPRE, "
                           "N.DOC_TITRE_PARALLELE, N.DOC_TITRE_COMPLEMENT, N.DOC_ANNEE, N.CREATE_DATE, ")
        + mainAuthorExpression(QStringLiteral("N")) + QStringLiteral(" AS AUTEUR FROM NOTICE N WHERE ") + where.sql;
    q.binds = where.binds;
    switch (c.sort) {
    case ParentSort::None: break;
    case ParentSort::Title: q.sql += QStringLiteral(" ORDER BY DOC_TITRE_PROPRE") + d.collate(c.language); break;
    case ParentSort::Year: q.sql += QStringLiteral(" ORDER BY DOC_ANNEE DESC"); break;
    case ParentSort::Created: q.sql += QStringLiteral(" ORDER BY CREATE_DATE DESC"); break;
    }
    return q;
}

QString parentIssuesSql() { return QStringLiteral("SELECT * FROM NOTICE_BULLETIN WHERE DOC_ID = ? ORDER BY BUL_ID"); }

QString standardNumberText(const QVariant &isbn, const QVariant &issn, const QVariant &other)
{
    for (const QVariant &v : {isbn, issn, other})
        if (!IsBlank(v))
            return v.toString();
    return {};
}

QString fullTitleText(const QVariant &proper, const QVariant &parallel, const QVariant &complement)
{
    QString t = proper.toString();
    if (!IsBlank(parallel))
        t += QStringLiteral(" = ") + parallel.toString();
    if (!IsBlank(complement))
        t += QStringLiteral(" : ") + complement.toString();
    return t;
}

ParentChoice parentChoice(const Dataset &candidate, const Dataset *issues)
{
    ParentChoice c;
    c.title = candidate.value(QStringLiteral("DOC_TITRE_PROPRE"));
    c.isbn = candidate.value(QStringLiteral("DOC_ISBN"));
    c.issn = candidate.value(QStringLiteral("DOC_ISSN"));
    c.year = candidate.value(QStringLiteral("DOC_ANNEE"));
    if (issues && issues->isOpen() && issues->currentRow() >= 0) {
        c.withIssue = true;
        c.issueDate = issues->value(QStringLiteral("BUL_DATE"));
        c.issueNumber = issues->value(QStringLiteral("BUL_NUMERO"));
    }
    return c;
}

bool linkParent(Dataset &notice, const ParentChoice &c)
{
    if (!notice.edit())
        return false;
    return notice.setValue(QStringLiteral("REL_TITRE"), c.title) && notice.setValue(QStringLiteral("REL_ISBN"), c.isbn)
        && notice.setValue(QStringLiteral("REL_ISSN"), c.issn)
        && notice.setValue(QStringLiteral("REL_DATE_PUB"), c.withIssue ? c.issueDate : c.year)
        && notice.setValue(QStringLiteral("REL_VOLUME"), c.withIssue ? c.issueNumber : QVariant());
}

} // namespace folian
