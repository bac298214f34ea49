#include "catalogue/core/recordlist.h"

#include "data/core/database.h"

#include <QHash>
#include <QSqlQuery>

namespace folian {

namespace {

QString listColumns()
{
    return QStringLiteral(
        "COALESCE(N.DOC_ISBN, N.DOC_ISSN, N.DOC_NUM), "
        "CASE WHEN N.DOC_TITRE_COMPLEMENT IS NULL OR N.DOC_TITRE_COMPLEMENT = '' THEN N.DOC_TITRE_PROPRE "
        "ELSE N.DOC_TITRE_PROPRE || ' : ' || N.DOC_TITRE_COMPLEMENT END, "
        "(SELECT V.VED_NOM FROM NOTICE_AUTEUR A JOIN VEDETTE V ON V.VED_ID = A.VED_ID "
        "WHERE A.DOC_ID = N.DOC_ID AND A.AUT_TYPE = 1 ORDER BY A.NAU_ID LIMIT 1), "
        "(SELECT MIN(X.EXP_COTE) FROM NOTICE_EXEMPLAIRE X WHERE X.DOC_ID = N.DOC_ID AND X.EXP_COTE IS NOT NULL), "
        "N.DOC_NBR_EXEMPLAIRE");
}

Report listPage()
{
    Report r;
    r.fileName = QStringLiteral("liste.html");
    r.french = QStringLiteral("Liste des notices");
    r.arabic = QStringLiteral("قائمة البطاقات");
    auto column = [](const QString &fr, const QString &ar, int width, ColumnKind kind = ColumnKind::Text) {
        ReportColumn c;
        c.french = fr;
        c.arabic = ar;
        c.width = width;
        c.kind = kind;
        return c;
    };
    r.columns = {column(QStringLiteral("ISBN, ISSN..."), QStringLiteral("ر.د.م.ك..."), 15),
                 column(QStringLiteral("Titre"), QStringLiteral("العنوان"), 45),
                 column(QStringLiteral("Auteur"), QStringLiteral("المؤلف"), 20),
                 column(QStringLiteral("Cote"), QStringLiteral("الشفرة"), 10),
                 column(QStringLiteral("Nbr. Exp."), QStringLiteral("عدد النسخ"), 10, ColumnKind::Number)};
    return r;
}

} // namespace

bool recordListReport(const Dialect &d, const RecordCriteria &c, Report *out, QString *why)
{
    SqlCondition q;
    if (!recordSearchQuery(d, c, listColumns(), &q, why))
        return false;
    *out = listPage();
    out->sql = q.sql;
    out->binds = q.binds;
    return true;
}

bool basketListReport(Database &db, const QList<int> &ids, Report *out, QString *why)
{
    constexpr int kBatch = 500;  // well under the engines' limits on bound values
    *out = listPage();
    for (qsizetype from = 0; from < ids.size(); from += kBatch) {
        QStringList marks;
        QVariantList binds;
        for (qsizetype i = from; i < qMin(ids.size(), from + kBatch); ++i) {
            marks << QStringLiteral("?");
            binds << ids.at(i);
        }
        SqlRows q = db.query(QStringLiteral("SELECT N.DOC_ID, ") + listColumns()
                                 + QStringLiteral(" FROM NOTICE N WHERE N.DOC_ID IN (")
                                 + marks.join(QStringLiteral(", ")) + u')',
                             binds);
        if (!q.isActive()) {
            *why = db.lastError().text();
            return false;
        }
        QHash<int, QVariantList> found;
        while (q.next()) {
            QVariantList row;
            for (int c = 1; c <= 5; ++c)
                row << q.value(c);
            found.insert(q.value(0).toInt(), row);
        }
        for (qsizetype i = from; i < qMin(ids.size(), from + kBatch); ++i)
            if (const auto it = found.constFind(ids.at(i)); it != found.constEnd())
                out->rows << *it;
    }
    return true;
}

} // namespace folian
