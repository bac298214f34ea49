#include "catalogue/core/recordlist.h"

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

Report basketListReport(const QList<int> &ids)
{
    Report r = listPage();
    QStringList marks;
    QString order = QStringLiteral("CASE N.DOC_ID");
    int position = 0;
    for (int id : ids) {
        marks << QStringLiteral("?");
        r.binds << id;
        order += QStringLiteral(" WHEN %1 THEN %2").arg(id).arg(++position);
    }
    if (ids.isEmpty()) {
        r.sql = QStringLiteral("SELECT ") + listColumns() + QStringLiteral(" FROM NOTICE N WHERE 1 = 0");
        return r;
    }
    // The ids are integers the program holds, not typed text: the order may name them.
    r.sql = QStringLiteral("SELECT ") + listColumns() + QStringLiteral(" FROM NOTICE N WHERE N.DOC_ID IN (")
        + marks.join(QStringLiteral(", ")) + QStringLiteral(") ORDER BY ") + order + QStringLiteral(" END");
    return r;
}

} // namespace folian
