#include "catalogue/core/recordsearch.h"

#include "base/messages.h"
#include "data/core/database.h"
#include "data/core/dialect.h"
#include "data/core/helpers.h"
#include "data/core/schema.h"

#include <QSqlQuery>

namespace folian {

namespace {

// The probe of a search sorted by title: the first rows of the title order,
// and how many of them must match for the rows to be read along that order
// (one in a hundred: a page of the result within a few thousand rows).
constexpr int kProbeRows = 2000;
constexpr int kProbeFound = 20;

SqlCondition wrap(const QString &before, SqlCondition inner, const QString &after)
{
    if (!inner.isEmpty())
        inner.sql = before + inner.sql + after;
    return inner;
}

// A code column against one bound key.
SqlCondition keyEquals(const QString &column, const QVariant &key)
{
    if (key.isNull() || key.toString().trimmed().isEmpty())
        return {};
    return {column + QStringLiteral(" = ?"), {key}};
}

// A column matched against a typed value where "*" is the wildcard.
SqlCondition patternIn(const Dialect &d, const QString &before, const QString &column, const QString &typed,
                       const QString &after)
{
    const QString value = typed.trimmed();
    if (value.isEmpty())
        return {};
    return {before + d.likeNoCase(column) + after, {LikePattern(value)}};
}

bool validOperator(const QString &op)
{
    static const QStringList ops = {QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<"),
                                    QStringLiteral(">="), QStringLiteral("<=")};
    return ops.contains(op);
}

SqlCondition yearCondition(const Dialect &d, const RecordCriteria &c, int year)
{
    const QString op = c.yearOperator;
    switch (c.yearKind) {
    case YearKind::Edition:
        // DOC_ANNEE is text: the comparison is one of texts, as the year is typed.
        return {QStringLiteral("N.DOC_ANNEE ") + op + QStringLiteral(" ?"), {QString::number(year)}};
    case YearKind::Purchase:
        return {QStringLiteral("N.DOC_ID IN (SELECT X.DOC_ID FROM NOTICE_EXEMPLAIRE X WHERE ")
                    + d.yearOf(QStringLiteral("X.EXP_DATE_ACQUISITION")) + u' ' + op + QStringLiteral(" ?)"),
                {year}};
    case YearKind::Entry:
        return {d.yearOf(QStringLiteral("N.CREATE_DATE")) + u' ' + op + QStringLiteral(" ?"), {year}};
    }
    return {};
}

} // namespace

bool RecordCriteria::isEmpty() const
{
    for (const QString *s : {&titleWords, &number, &author, &subject, &publisher, &classification, &shelfMark,
                             &copy, &year, &type, &language})
        if (!s->trimmed().isEmpty())
            return false;
    for (const QVariant *v : {&diploma, &speciality, &status})
        if (!v->isNull() && !v->toString().trimmed().isEmpty())
            return false;
    return true;
}

bool parseYearCriterion(const QString &text, QString *op, QString *year)
{
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && (t.at(n) == u'<' || t.at(n) == u'>' || t.at(n) == u'='))
        ++n;
    *op = n == 0 ? QStringLiteral("=") : t.left(n);
    *year = t.mid(n).trimmed();
    return validOperator(*op);
}

bool recordSearchConditions(const Dialect &d, const RecordCriteria &c, SqlCondition *out, QString *why,
                            RecordPlan plan)
{
    const bool onRow = plan == RecordPlan::Order;
    QList<SqlCondition> parts;
    parts << wrap(QStringLiteral("N.DOC_ID IN (SELECT NA.DOC_ID FROM NOTICE_AUTEUR NA WHERE NA.VED_ID IN "
                                 "(SELECT VA.VED_ID FROM VEDETTE VA WHERE VA.VED_ID2 IN (SELECT V.VED_ID2 FROM "
                                 "VEDETTE V WHERE V.TYP_VED_ID IN (1, 2, 3, 4, 10) AND ("),
                  keywordCondition(d, QStringLiteral("V.VED_KEYWORDS"), c.author), QStringLiteral("))))"));
    parts << wrap(QStringLiteral("N.DOC_ID IN (SELECT NM.DOC_ID FROM NOTICE_MATIERE NM WHERE NM.VED_ID IN "
                                 "(SELECT VM.VED_ID FROM VEDETTE VM WHERE VM.VED_ID2 IN (SELECT M.VED_ID2 FROM "
                                 "VEDETTE M WHERE ("),
                  keywordCondition(d, QStringLiteral("M.VED_KEYWORDS"), c.subject), QStringLiteral("))))"));
    const SqlCondition pub = keywordCondition(d, QStringLiteral("E.EDT_KEYWORDS"), c.publisher);
    if (!pub.isEmpty()) {
        const QString sub = QStringLiteral(" IN (SELECT E.EDT_ID FROM EDITEUR E WHERE (") + pub.sql
            + QStringLiteral("))");
        parts << SqlCondition{QStringLiteral("(N.EDT_ID") + sub + QStringLiteral(" OR N.EDT_ID2") + sub + u')',
                              pub.binds + pub.binds};
    }
    parts << patternIn(d, QStringLiteral("N.DOC_ID IN (SELECT C.DOC_ID FROM NOTICE_CLASSIFICATION C WHERE "),
                       QStringLiteral("C.CLA_ID"), c.classification, QStringLiteral(")"));
    parts << patternIn(d, QStringLiteral("N.DOC_ID IN (SELECT X.DOC_ID FROM NOTICE_EXEMPLAIRE X WHERE "),
                       QStringLiteral("X.EXP_COTE"), c.shelfMark, QStringLiteral(")"));
    parts << patternIn(d, QStringLiteral("N.DOC_ID IN (SELECT X.DOC_ID FROM NOTICE_EXEMPLAIRE X WHERE "),
                       QStringLiteral("X.EXP_ID"), c.copy, QStringLiteral(")"));
    parts << keywordCondition(d, QStringLiteral("N.DOC_KEYWORDS"), c.titleWords, onRow);
    parts << standardNumberCondition(d, c.number,
                                     {QStringLiteral("N.DOC_ISBN"), QStringLiteral("N.DOC_ISSN"),
                                      QStringLiteral("N.DOC_NUM")});
    const QString yearText = c.year.trimmed();
    if (!yearText.isEmpty()) {
        bool ok = false;
        const int year = yearText.toInt(&ok);
        if (!ok || year < 0 || year > 9999) {
            *why = tr2(QStringLiteral("L'année doit être un nombre."), QStringLiteral("يجب أن تكون السنة عددا."));
            return false;
        }
        if (!validOperator(c.yearOperator)) {
            *why = tr2(QStringLiteral("Opérateur de comparaison inconnu."), QStringLiteral("عامل مقارنة غير معروف."));
            return false;
        }
        parts << yearCondition(d, c, year);
    }
    parts << keyEquals(QStringLiteral("N.TYP_ID"), c.type.trimmed());
    parts << keyEquals(QStringLiteral("N.SPE_ID"), c.speciality);
    parts << keyEquals(QStringLiteral("N.DIP_ID"), c.diploma);
    parts << keyEquals(QStringLiteral("N.LAN_ID"), c.language.trimmed());
    parts << keyEquals(QStringLiteral("N.STA_ID"), c.status);
    if (onRow)
        for (SqlCondition &p : parts)
            if (!p.isEmpty())
                p.sql = d.withoutIndex(p.sql);
    *out = allOf(parts);
    return true;
}

QString recordSortOrder(RecordSort sort, const QString &language)
{
    switch (sort) {
    // The collation key of the title, which its index reads in order.
    case RecordSort::Title:
        return QStringLiteral("N.") + Schema::collationKeyOf(QStringLiteral("NOTICE"), QStringLiteral("DOC_TITRE_PROPRE"), language)
            + QStringLiteral(", N.DOC_ID");
    case RecordSort::Year: return QStringLiteral("N.DOC_ANNEE DESC, N.DOC_ID");
    case RecordSort::Created: return QStringLiteral("N.CREATE_DATE DESC, N.DOC_ID");
    case RecordSort::None: break;
    }
    return QStringLiteral("N.DOC_ID");
}

bool recordSearchQuery(const Dialect &d, const RecordCriteria &c, const QString &columns, SqlCondition *out,
                       QString *why, RecordPlan plan)
{
    SqlCondition where;
    if (!recordSearchConditions(d, c, &where, why, plan))
        return false;
    out->sql = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ");
    if (where.isEmpty())
        out->sql += QStringLiteral("NOTICE N");
    else if (plan == RecordPlan::Conditions && c.sort == RecordSort::Title)
        out->sql += d.foundFirst(QStringLiteral("NOTICE"), QStringLiteral("N"), where.sql);
    else
        out->sql += QStringLiteral("NOTICE N WHERE ") + where.sql;
    out->sql += QStringLiteral(" ORDER BY ") + recordSortOrder(c.sort, c.sortLanguage);
    out->binds = where.binds;
    return true;
}

bool recordSearchQuery(Database &db, const RecordCriteria &c, const QString &columns, SqlCondition *out,
                       QString *why)
{
    return recordSearchQuery(db.dialect(), c, columns, out, why, recordPlan(db, c));
}

RecordPlan recordPlan(Database &db, const RecordCriteria &c)
{
    if (c.sort != RecordSort::Title)
        return RecordPlan::Conditions;
    SqlCondition onRow;
    QString why;
    if (!recordSearchConditions(db.dialect(), c, &onRow, &why, RecordPlan::Order) || onRow.isEmpty())
        return RecordPlan::Conditions;
    // Reading along the order pays when the first page lies among the first
    // rows of the order; a probe failure leaves the plan of the conditions,
    // whose query then says what failed.
    const QString probe = QStringLiteral("SELECT COUNT(*) FROM (SELECT * FROM NOTICE N ORDER BY ")
        + recordSortOrder(c.sort, c.sortLanguage) + QStringLiteral(" LIMIT %1) N WHERE ").arg(kProbeRows) + onRow.sql;
    bool ok = false;
    const qint64 found = db.scalar(probe, onRow.binds, &ok).toLongLong();
    return ok && found >= kProbeFound ? RecordPlan::Order : RecordPlan::Conditions;
}

bool recordIds(Database &db, const RecordCriteria &c, QList<int> *ids, QString *why)
{
    SqlCondition q;
    if (!recordSearchQuery(db.dialect(), c, QStringLiteral("N.DOC_ID"), &q, why))
        return false;
    SqlRows rows = db.query(q.sql, q.binds);
    if (!rows.isActive()) {
        *why = db.lastError().text();
        return false;
    }
    ids->clear();
    while (rows.next())
        *ids << rows.value(0).toInt();
    return true;
}

qint64 countRecords(Database &db, const RecordCriteria &c, QString *why)
{
    SqlCondition where;
    if (!recordSearchConditions(db.dialect(), c, &where, why))
        return -1;
    QString sql = QStringLiteral("SELECT COUNT(*) FROM NOTICE N");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    bool ok = false;
    const QVariant n = db.scalar(sql, where.binds, &ok);
    if (!ok) {
        *why = db.lastError().text();
        return -1;
    }
    return n.toLongLong();
}

} // namespace folian
