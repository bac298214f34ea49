#include "circulation/core/copysearch.h"

#include "base/dates.h"
#include "base/messages.h"
#include "catalogue/core/parentsearch.h"
#include "catalogue/core/searchconditions.h"
#include "circulation/core/circulationtexts.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

QStringList words(const QString &text)
{
    QStringList out;
    int pos = 1;
    for (;;) {
        const QString w = NextToken(text, pos, KeywordSeparators());
        if (w.isEmpty())
            return out;
        out << w;
    }
}

// Each word as "/word/" somewhere in a keyword column.
QString keywordCriteria(const Dialect &d, const QString &column, const QStringList &ws, QVariantList &binds)
{
    QStringList parts;
    for (const QString &w : ws) {
        parts << d.likeNoCase(column);
        binds << QVariant(QStringLiteral("%/") + LikePattern(w) + QStringLiteral("/%"));
    }
    return parts.join(QStringLiteral(" AND "));
}

} // namespace

SqlText copySearchSql(const Dialect &d, const CopySearch &s)
{
    SqlText out;
    out.sql = QStringLiteral(
        "SELECT N.*, COALESCE(N.DOC_ISBN, N.DOC_ISSN, N.DOC_NUM) AS CS_NUMERO, "
        "N.DOC_TITRE_PROPRE || CASE WHEN N.DOC_TITRE_PARALLELE IS NULL OR N.DOC_TITRE_PARALLELE = '' THEN '' "
        "ELSE ' = ' || N.DOC_TITRE_PARALLELE END || CASE WHEN N.DOC_TITRE_COMPLEMENT IS NULL OR N.DOC_TITRE_COMPLEMENT = '' "
        "THEN '' ELSE ' : ' || N.DOC_TITRE_COMPLEMENT END AS CS_TITRE, ")
        + mainAuthorExpression(QStringLiteral("N")) + QStringLiteral(" AS CS_AUTEUR FROM NOTICE N");
    QStringList where;
    const QStringList author = words(s.author);
    if (!author.isEmpty())
        where << QStringLiteral("N.DOC_ID IN (SELECT NA.DOC_ID FROM NOTICE_AUTEUR NA WHERE NA.VED_ID IN "
                                "(SELECT VA.VED_ID FROM VEDETTE VA WHERE VA.VED_ID2 IN (SELECT V.VED_ID2 FROM VEDETTE V "
                                "WHERE V.TYP_VED_ID IN (1, 2, 3, 4, 10) AND (")
                + keywordCriteria(d, QStringLiteral("V.VED_KEYWORDS"), author, out.binds) + QStringLiteral("))))");
    if (!s.cote.trimmed().isEmpty()) {
        where << QStringLiteral("N.DOC_ID IN (SELECT X.DOC_ID FROM NOTICE_EXEMPLAIRE X WHERE ")
                + d.likeNoCase(QStringLiteral("X.EXP_COTE")) + u')';
        out.binds << LikePattern(s.cote.trimmed());
    }
    const QStringList title = words(s.titleWords);
    if (!title.isEmpty())
        where << keywordCriteria(d, QStringLiteral("N.DOC_KEYWORDS"), title, out.binds);
    if (const SqlCondition number = standardNumberCondition(
            d, s.number, {QStringLiteral("N.DOC_ISBN"), QStringLiteral("N.DOC_ISSN"), QStringLiteral("N.DOC_NUM")});
        !number.isEmpty()) {
        where << number.sql;
        out.binds += number.binds;
    }
    if (!where.isEmpty())
        out.sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    static const char *const orders[] = {"", " ORDER BY N.DOC_TITRE_PROPRE", " ORDER BY N.DOC_ANNEE", " ORDER BY N.CREATE_DATE"};
    if (s.sort > 0 && s.sort < 4)
        out.sql += QLatin1String(orders[s.sort]);
    return out;
}

SqlText recordCopiesSql(const Dialect &d, const QVariant &docId, const QString &cote)
{
    SqlText out{QStringLiteral("SELECT E.*, (SELECT L.LOC_LIBELLE FROM LOCALISATION L WHERE L.LOC_ID = E.LOC_ID) AS LOC_LIBELLE, "
                               "(SELECT S.STA_EXP_LIBELLE FROM STATUT_EXEMPLAIRE S WHERE S.STA_EXP_ID = E.STA_EXP_ID) "
                               "AS STA_EXP_LIBELLE FROM NOTICE_EXEMPLAIRE E WHERE E.DOC_ID = ?"),
                {docId}};
    if (!cote.trimmed().isEmpty()) {
        out.sql += QStringLiteral(" AND ") + d.likeNoCase(QStringLiteral("E.EXP_COTE"));
        out.binds << LikePattern(cote.trimmed());
    }
    out.sql += QStringLiteral(" ORDER BY E.EXP_ID");
    return out;
}

QString availability(const QVariant &borrower, const QDate &due, const QVariant &reserver, const QDate &hold)
{
    if (!IsBlank(borrower))
        return tr2(QStringLiteral("Au prêt jusqu'au "), QStringLiteral("معارة حتى ")) + IsolatedDate(due);
    if (!IsBlank(reserver))
        return tr2(QStringLiteral("Réservé jusqu'au "), QStringLiteral("محجوزة حتى ")) + IsolatedDate(hold);
    return tr2(QStringLiteral("Disponible"), QStringLiteral("متوفرة"));
}

namespace {
QString lentRefusal()
{
    return tr2(QStringLiteral("Modification impossible car l'exemplaire est emprûnté"),
               QStringLiteral("تعديل مستحيل لأن النسخة معارة"));
}
} // namespace

QString copyModificationRefusal(Database &db, const QString &copyId)
{
    const QVariant borrower = db.scalar(QStringLiteral("SELECT LEC_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {copyId});
    return IsBlank(borrower) ? QString() : lentRefusal();
}

QString changeCopyStatus(Database &db, const QString &copyId, const QVariant &status, const QVariant &location,
                         const QVariant &observation)
{
    SqlRows q = db.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET STA_EXP_ID = ?, LOC_ID = ?, EXP_OBSERVATION = ? "
                                        "WHERE EXP_ID = ? AND LEC_ID IS NULL"),
                         {IsBlank(status) ? QVariant() : status, IsBlank(location) ? QVariant() : location,
                          IsBlank(observation) ? QVariant() : observation, copyId});
    if (!q.isActive())
        return TFrmData::PostErrorMessage() + u'\n' + db.lastError().text();
    return q.numRowsAffected() == 1 ? QString() : lentRefusal();
}

} // namespace folian
