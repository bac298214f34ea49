#include "catalogue/unimarc/duplicatetest.h"

#include "catalogue/core/searchconditions.h"
#include "data/core/helpers.h"

namespace folian::unimarc {

namespace {

// A standard number's key as far as any folding can tell: its digits. Two
// numbers the test finds equal (whatever their case and qualifier) have
// the same digits.
QString numberKey(const QString &number)
{
    QString out;
    for (const QChar c : StandardNumberKey(number))
        if (const int d = c.digitValue(); d >= 0)
            out += QChar(u'0' + d);
    return QStringLiteral("N:") + out;
}

QString titleKey(const QString &title) { return QStringLiteral("T:") + title.simplified().toCaseFolded(); }
QString sourceKey(const QString &source) { return QStringLiteral("S:") + source.simplified().toCaseFolded(); }

// The standard number test with its four values taken from columns of the
// group's rows instead of bound ones.
QString numberTest(const Dialect &d, const QString &column)
{
    QString sql = standardNumberIs(d, column, QString()).sql;
    for (const char *value : {"V.K1", "V.K2", "V.K3", "V.K4"}) {
        const qsizetype at = sql.indexOf(u'?');
        Q_ASSERT(at >= 0);
        sql.replace(at, 1, QLatin1String(value));
    }
    return sql;
}

} // namespace

QStringList DuplicateTest::probes() const
{
    QStringList out;
    if (criterion & BySource)
        out << sourceKey(source.toString());
    if (criterion & (ByIsbn | ByIssn))
        out << numberKey(number);
    if (criterion & ByTitle)
        out << titleKey(title.toString());
    return out;
}

QStringList duplicateKeys(const MappedRecord &m)
{
    QStringList out;
    if (!m.sourceId.isEmpty())
        out << sourceKey(m.sourceId);
    for (const char *column : {"DOC_ISBN", "DOC_ISSN"})
        if (const QString n = m.column(QLatin1String(column)); !n.trimmed().isEmpty())
            out << numberKey(n);
    out << titleKey(m.title());
    return out;
}

DuplicateTest duplicateTestOf(const Dialect &d, const MappedRecord &m, int library)
{
    DuplicateTest t;
    const QString isbn = StandardNumberKey(m.column(QStringLiteral("DOC_ISBN")));
    const QString issn = StandardNumberKey(m.column(QStringLiteral("DOC_ISSN")));
    const QString edition = m.column(QStringLiteral("DOC_EDITION"));
    const QString complement = m.column(QStringLiteral("DOC_TITRE_COMPLEMENT"));
    if (!m.sourceId.isEmpty()) {
        t.criterion = BySource;
        t.source = m.sourceId;
        t.library = library;
        t.binds << m.sourceId << library;
    }
    auto number = [&](int by, const QString &key) {
        t.criterion |= by;
        t.type = m.typeId;
        t.number = key;
        t.numberValues = standardNumberIs(d, QString(), key).binds;
        t.binds << m.typeId << t.numberValues;
        return t;
    };
    if (!isbn.isEmpty())
        return number(ByIsbn, isbn);
    if (!issn.isEmpty())
        return number(ByIssn, issn);
    // A title alone does not make a duplicate.
    if (edition.isEmpty() && m.firstMainAuthor.isEmpty())
        return t;
    t.criterion |= ByTitle;
    t.type = m.typeId;
    t.title = m.title();
    t.binds << m.typeId << m.title();
    if (!complement.isEmpty()) {
        t.criterion |= WithComplement;
        t.complement = complement;
        t.binds << complement;
    }
    if (!edition.isEmpty()) {
        t.criterion |= WithEdition;
        t.edition = edition;
        t.binds << edition;
    }
    if (!m.firstMainAuthor.isEmpty()) {
        t.criterion |= WithAuthor;
        t.author = m.firstMainAuthor;
        t.binds << m.firstMainAuthor;
    }
    return t;
}

// The bound values: with BySource the identifier and the library, then
// with a rule of the record's type, the type and the compared values. Each
// test is a query of its own, joined by UNION ALL, so that each reads its
// own index.
QString duplicateSql(const Dialect &d, int c, const char *what)
{
    const QString select = QStringLiteral("SELECT %1 FROM NOTICE N WHERE ").arg(QLatin1String(what));
    QStringList tests;
    if (c & BySource)
        tests << select + QStringLiteral("N.DOC_IDENTIFIANT_SOURCE = ? AND N.BIB_ID = ?");
    QString rule;
    // Numbers compare as the searches compare them, whatever their case and
    // qualifier, by the number indexes: the type is then compared as an
    // expression, which no index of the type's could answer in their place.
    if (c & (ByIsbn | ByIssn))
        rule = QStringLiteral("N.TYP_ID || '' = ? AND ")
            + standardNumberIs(d, (c & ByIsbn) ? QStringLiteral("N.DOC_ISBN") : QStringLiteral("N.DOC_ISSN"), QString()).sql;
    else if (c & ByTitle) {
        rule = QStringLiteral("N.TYP_ID = ? AND N.DOC_TITRE_PROPRE = ?");
        if (c & WithComplement)
            rule += QStringLiteral(" AND N.DOC_TITRE_COMPLEMENT = ?");
        if (c & WithEdition)
            rule += QStringLiteral(" AND N.DOC_EDITION = ?");
        if (c & WithAuthor)
            rule += QStringLiteral(" AND N.DOC_ID IN (SELECT NA.DOC_ID FROM NOTICE_AUTEUR NA WHERE NA.VED_ID IN "
                                   "(SELECT V.VED_ID FROM VEDETTE V WHERE V.VED_NOM = ?))");
    }
    if (!rule.isEmpty())
        tests << select + rule;
    return tests.join(QStringLiteral(" UNION ALL "));
}

QString firstDuplicateSql(const Dialect &d, int c)
{
    return QStringLiteral("SELECT D.DOC_ID FROM (") + duplicateSql(d, c, "N.DOC_ID")
        + QStringLiteral(") D ORDER BY D.DOC_ID LIMIT 1");
}

// Each row of the group: its place, the source identifier and library, the
// type, which number (I: ISBN, S: ISSN) and its four values, the title,
// complement, edition and author; NULL where its test does not compare it.
// The tests are those of duplicateSql, each a join of the group's rows
// with the records its index finds, the rows first (CROSS JOIN keeps that
// order on the embedded engine), so that each index is read once per row.
QString groupDuplicateSql(const Dialect &d, int rows)
{
    const QString integer = QStringLiteral("CAST(? AS INTEGER)");
    const QString text = QStringLiteral("CAST(? AS TEXT)");
    const QString row = QStringLiteral("(%1, %2, %1, %2, %2, %2, %2, %2, %2, %2, %2, %2, %2)").arg(integer, text);
    QStringList values;
    for (int i = 0; i < rows; ++i)
        values << row;
    const QString byNumber = QStringLiteral(
        " UNION ALL SELECT V.ORD FROM V CROSS JOIN NOTICE N WHERE V.NK = '%1' AND N.TYP_ID || '' = V.TYP AND %2");
    return QStringLiteral("WITH V (ORD, SRC, BIB, TYP, NK, K1, K2, K3, K4, TI, CO, ED, AU) AS (VALUES ")
        + values.join(QStringLiteral(", "))
        + QStringLiteral(") SELECT V.ORD FROM V CROSS JOIN NOTICE N WHERE N.DOC_IDENTIFIANT_SOURCE = V.SRC AND N.BIB_ID = V.BIB")
        + byNumber.arg(QStringLiteral("I"), numberTest(d, QStringLiteral("N.DOC_ISBN")))
        + byNumber.arg(QStringLiteral("S"), numberTest(d, QStringLiteral("N.DOC_ISSN")))
        + QStringLiteral(" UNION ALL SELECT V.ORD FROM V CROSS JOIN NOTICE N WHERE N.DOC_TITRE_PROPRE = V.TI AND N.TYP_ID = V.TYP "
                         "AND (V.CO IS NULL OR N.DOC_TITRE_COMPLEMENT = V.CO) AND (V.ED IS NULL OR N.DOC_EDITION = V.ED) "
                         "AND (V.AU IS NULL OR EXISTS (SELECT 1 FROM NOTICE_AUTEUR NA JOIN VEDETTE VE ON VE.VED_ID = NA.VED_ID "
                         "WHERE NA.DOC_ID = N.DOC_ID AND VE.VED_NOM = V.AU))");
}

QVariantList groupDuplicateBinds(const DuplicateTest *t, int place)
{
    QVariantList out(13);
    if (!t || t->criterion == 0)
        return out;
    out[0] = place;
    if (t->criterion & BySource) {
        out[1] = t->source;
        out[2] = t->library;
    }
    out[3] = t->type;
    if (t->criterion & (ByIsbn | ByIssn)) {
        out[4] = QString((t->criterion & ByIsbn) ? QStringLiteral("I") : QStringLiteral("S"));
        for (int i = 0; i < 4; ++i)
            out[5 + i] = t->numberValues.value(i);
    }
    if (t->criterion & ByTitle) {
        out[9] = t->title;
        out[10] = t->complement;
        out[11] = t->edition;
        out[12] = t->author;
    }
    return out;
}

} // namespace folian::unimarc
