#include "statistics/core/statistics.h"

#include "base/messages.h"
#include "base/rights.h"
#include "circulation/core/loanjournal.h"
#include "data/core/database.h"
#include "data/core/money.h"
#include "statistics/core/statisticstexts.h"

namespace folian {

namespace {

// --- The statistics and their columns ----------------------------------------

const QList<int> kReaderLimits{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 1000, 10000, 100000};
const QList<int> kGroupLimits{10, 20, 30, 40, 50, 60, 70, 80, 90, 100};

QList<StatisticDef> makeDefs()
{
    using S = Statistic;
    using G = StatGrouping;
    const Right circ = Right::CirculEdition, cat = Right::CatEdition, acq = Right::AcqEdition;
    auto def = [](S s, const char *name, const char *page, const char16_t *caption, const char *entry, Right right,
                  StatSource source, QList<int> limits = {}, QList<StatGrouping> groupings = {}) {
        return StatisticDef{s,          QLatin1String(name), QLatin1String(page), QString::fromUtf16(caption),
                            QLatin1String(entry), right, source, std::move(limits), std::move(groupings)};
    };
    return {
        def(S::Readers, "readers", "TabLecteur", u"Stat lecteur", "BtnStatLecteur", circ, StatSource::LoanCounters,
            kReaderLimits),
        def(S::Categories, "categories", "TabCategorie", u"Stat catégorie", "BtnStatCategorie", circ,
            StatSource::LoanCounters, kGroupLimits),
        def(S::Records, "records", "TabDocument", u"Stat doc", "BtnStatDocument", circ, StatSource::LoanCounters,
            kReaderLimits),
        def(S::Types, "types", "TabType", u"Stat type", "BtnStatTypeDocument", circ, StatSource::LoanCounters,
            kGroupLimits),
        def(S::Structures, "structures", "TabStructure", u"Stat structure", "BtnStatStructure", circ,
            StatSource::LoanCounters, kGroupLimits),
        def(S::Registered, "registered", "TabInscrits", u"Lecteurs inscrits", "BtnLecteursInscrits", circ,
            StatSource::Readers),
        def(S::Collection, "collection", "TabFond", u"Stat Fond", "BtnFonds", cat, StatSource::Catalogue),
        def(S::NewAcquisitions, "new-acquisitions", "TabNouvelles", u"Nouvelles acquisitions ",
            "BtnNouvellesAcquisitions", acq, StatSource::Copies),
        def(S::Acquisitions, "acquisitions", "TabStatistiques", u"Statistiques", "BtnStatAcquisitions", acq,
            StatSource::Deliveries, {}, {G::Type, G::Supplier}),
        def(S::Loans, "loans", "TabPeriode", u"Prêts par période", "BtnStatPeriode", circ, StatSource::LoanJournal,
            {}, {G::Month, G::Category, G::Type, G::Structure}),
    };
}

// A column titled in the grid as `french`/`arabic`, and on the page as
// `pageFrench` (the grid's title when null) with its width.
EditionColumn column(const char *field, const char16_t *french, const char16_t *arabic, int width,
                     ColumnKind kind = ColumnKind::Text, const char16_t *pageFrench = nullptr)
{
    EditionColumn c;
    c.field = QLatin1String(field);
    c.french = QString::fromUtf16(french);
    c.arabic = QString::fromUtf16(arabic);
    c.page = reportColumn(pageFrench ? QString::fromUtf16(pageFrench) : c.french, c.arabic, width, kind);
    return c;
}

EditionColumn rate(int width) { return column("TAUX", u"Taux", u"النسبة", width, ColumnKind::Rate); }

EditionColumn count(const char *field, const char16_t *french, const char16_t *arabic, int width,
                    const char16_t *pageFrench = nullptr)
{
    return column(field, french, arabic, width, ColumnKind::Number, pageFrench);
}

StatisticLayout layout(QList<EditionColumn> columns, int label, const char *file, const char16_t *page,
                       const char16_t *pageArabic, const char16_t *chart, const char16_t *chartArabic)
{
    StatisticLayout l;
    l.columns = std::move(columns);
    l.labelColumn = label;
    l.rateColumn = l.columns.last().page.kind == ColumnKind::Rate ? int(l.columns.size()) - 1 : -1;
    l.fileName = QLatin1String(file);
    l.pageFrench = QString::fromUtf16(page);
    l.pageArabic = QString::fromUtf16(pageArabic);
    l.chartFrench = QString::fromUtf16(chart);
    l.chartArabic = QString::fromUtf16(chartArabic);
    return l;
}

EditionColumn groupColumn(StatGrouping by)
{
    switch (by) {
    case StatGrouping::Type: return column("TYPE", u"Type document", u"نوع الوثيقة", 320);
    case StatGrouping::Supplier: return column("FOURNISSEUR", u"Fournisseur", u"المورد", 320);
    case StatGrouping::Month: return column("MOIS", u"Mois", u"الشهر", 320);
    case StatGrouping::Category: return column("CATEGORIE", u"Catégorie", u"الفئة", 320);
    case StatGrouping::Structure: return column("STRUCTURE", u"Structure", u"الهيكل", 320);
    }
    return {};
}

// --- The queries ---------------------------------------------------------------

// A label column in the session's language: the Arabic label, or the French
// one where the Arabic is missing.
QString label(const QString &alias, const QString &prefix)
{
    const QString french = alias + u'.' + prefix + QStringLiteral("_LIBELLE");
    if (session().LanguageSuffix.isEmpty())
        return french;
    return QStringLiteral("COALESCE(NULLIF(%1_AR, ''), %1)").arg(french);
}

// The columns a GROUP BY on a labelled key names.
QString labelGroup(const QString &alias, const QString &prefix, const QString &key)
{
    return QStringLiteral("%1.%3, %1.%2_LIBELLE, %1.%2_LIBELLE_AR").arg(alias, prefix, key);
}

// The key's order with the rows of no key last, alike on both engines.
QString keyOrder(const QString &key) { return QStringLiteral("(%1 IS NULL), %1").arg(key); }

QString recordTitle(const QString &n)
{
    return QStringLiteral("CASE WHEN %1.DOC_TITRE_COMPLEMENT IS NULL OR %1.DOC_TITRE_COMPLEMENT = '' "
                          "THEN %1.DOC_TITRE_PROPRE ELSE %1.DOC_TITRE_PROPRE || ' : ' || %1.DOC_TITRE_COMPLEMENT END")
        .arg(n);
}

// The record's reference, title, first author and year.
QString recordColumns(const QString &n)
{
    return QStringLiteral("COALESCE(%1.DOC_ISBN, %1.DOC_ISSN, %1.DOC_NUM), ").arg(n) + recordTitle(n)
        + QStringLiteral(", (SELECT V.VED_NOM FROM NOTICE_AUTEUR NA JOIN VEDETTE V ON V.VED_ID = NA.VED_ID "
                         "WHERE NA.DOC_ID = %1.DOC_ID AND NA.AUT_TYPE = 1 ORDER BY NA.NAU_ID LIMIT 1), %1.DOC_ANNEE")
              .arg(n);
}

bool classificationGiven(const StatisticOptions &o)
{
    const QString c = o.classification.trimmed();
    return !c.isEmpty() && c != QStringLiteral("*");
}

// The records classified under the options' pattern, the pattern bound.
QString classified(const Dialect &d, const QString &docId, const StatisticOptions &o, QVariantList &binds)
{
    binds << LikePattern(o.classification.trimmed());
    return docId + QStringLiteral(" IN (SELECT NC.DOC_ID FROM NOTICE_CLASSIFICATION NC WHERE ")
        + d.likeNoCase(QStringLiteral("NC.CLA_ID")) + u')';
}

bool limited(Statistic s, const StatisticOptions &o)
{
    return o.limit > 0 && (!statisticDef(s).limits.isEmpty() || s == Statistic::Loans);
}

// Readers and records are ranked under the limit first, then looked up.
bool limitedInside(Statistic s) { return s == Statistic::Readers || s == Statistic::Records; }

// The limit's clause; none when a page is asked of a statistic whose limit
// closes its statement: the page's clause holds the limit then.
QString limit(Statistic s, const StatisticOptions &o, QVariantList &binds)
{
    if (!limited(s, o) || (o.pageRows > 0 && !limitedInside(s)))
        return {};
    binds << o.limit;
    return QStringLiteral(" LIMIT ?");
}

QString periodDay(const Dialect &d, const QDate &day) { return d.toDb(day, ColType::Date).toString(); }

SqlText countersSql(const Dialect &d, Statistic s, const StatisticOptions &o)
{
    SqlText q;
    const QString readerLoans = QStringLiteral("(SELECT SUM(D.LEC_STAT_PRET) FROM LECTEUR D)");
    const QString recordLoans = QStringLiteral("(SELECT SUM(D.DOC_PRET_EXTERNE) FROM NOTICE D)");
    switch (s) {
    case Statistic::Readers:
        // The ranked readers first, then what is shown of them.
        q.sql = QStringLiteral("SELECT A.LEC_ID, A.LEC_NOM, A.LEC_PRENOM, C.CAT_LIBELLE, T.LOANS, T.LOANS, ") + readerLoans
            + QStringLiteral(" FROM (SELECT LEC_ID, LEC_STAT_PRET AS LOANS FROM LECTEUR WHERE LEC_STAT_PRET <> 0 "
                             "ORDER BY LEC_STAT_PRET DESC, LEC_ID")
            + limit(s, o, q.binds)
            + QStringLiteral(") T JOIN LECTEUR A ON A.LEC_ID = T.LEC_ID LEFT JOIN CATEGORIE C ON C.CAT_ID = A.CAT_ID "
                             "ORDER BY T.LOANS DESC, A.LEC_ID");
        break;
    case Statistic::Categories:
        // The rate is the category's share of the readers who borrowed.
        q.sql = QStringLiteral("SELECT B.CAT_LIBELLE, SUM(A.LEC_STAT_PRET), COUNT(A.LEC_ID), COUNT(A.LEC_ID), "
                               "(SELECT COUNT(D.LEC_ID) FROM LECTEUR D WHERE D.LEC_STAT_PRET <> 0) "
                               "FROM LECTEUR A JOIN CATEGORIE B ON A.CAT_ID = B.CAT_ID WHERE A.LEC_STAT_PRET <> 0 "
                               "GROUP BY B.CAT_ID, B.CAT_LIBELLE ORDER BY COUNT(A.LEC_ID) DESC, B.CAT_ID")
            + limit(s, o, q.binds);
        break;
    case Statistic::Records:
        q.sql = QStringLiteral("SELECT ") + recordColumns(QStringLiteral("A")) + QStringLiteral(", T.LOANS, T.LOANS, ")
            + recordLoans
            + QStringLiteral(" FROM (SELECT DOC_ID, DOC_PRET_EXTERNE AS LOANS FROM NOTICE WHERE DOC_PRET_EXTERNE <> 0 "
                             "ORDER BY DOC_PRET_EXTERNE DESC, DOC_ID")
            + limit(s, o, q.binds)
            + QStringLiteral(") T JOIN NOTICE A ON A.DOC_ID = T.DOC_ID ORDER BY T.LOANS DESC, A.DOC_ID");
        break;
    case Statistic::Types:
        q.sql = QStringLiteral("SELECT ") + label(QStringLiteral("B"), QStringLiteral("TYP"))
            + QStringLiteral(", SUM(A.DOC_PRET_EXTERNE), SUM(A.DOC_PRET_EXTERNE), ") + recordLoans
            + QStringLiteral(" FROM NOTICE A JOIN TYPE_DOCUMENT B ON A.TYP_ID = B.TYP_ID WHERE A.DOC_PRET_EXTERNE <> 0 "
                             "GROUP BY ")
            + labelGroup(QStringLiteral("B"), QStringLiteral("TYP"), QStringLiteral("TYP_ID"))
            + QStringLiteral(" ORDER BY SUM(A.DOC_PRET_EXTERNE) DESC, B.TYP_ID") + limit(s, o, q.binds);
        break;
    case Statistic::Structures:
        q.sql = QStringLiteral("SELECT B.STR_LIBELLE, SUM(A.LEC_STAT_PRET), SUM(A.LEC_STAT_PRET), ") + readerLoans
            + QStringLiteral(" FROM LECTEUR A JOIN STRUCTURE B ON A.STR_ID = B.STR_ID WHERE A.LEC_STAT_PRET <> 0 "
                             "GROUP BY B.STR_ID, B.STR_LIBELLE ORDER BY SUM(A.LEC_STAT_PRET) DESC, B.STR_ID")
            + limit(s, o, q.binds);
        break;
    case Statistic::Registered:
        q.sql = QStringLiteral("SELECT B.CAT_LIBELLE, COUNT(A.LEC_ID), COUNT(A.LEC_ID), "
                               "(SELECT COUNT(D.LEC_ID) FROM LECTEUR D) "
                               "FROM LECTEUR A JOIN CATEGORIE B ON A.CAT_ID = B.CAT_ID "
                               "GROUP BY B.CAT_ID, B.CAT_LIBELLE ORDER BY COUNT(A.LEC_ID) DESC, B.CAT_ID");
        break;
    case Statistic::Collection: {
        // A record without copies counts none, and no record twice.
        if (!classificationGiven(o)) {
            // Records and copies counted per type apart: twice as fast as
            // counting distinct records along the join of both.
            const auto perType = [](const QString &from, const QString &alias) -> QString {
                return QStringLiteral("(SELECT N.TYP_ID, COUNT(*) AS NBR FROM ") + from
                    + QStringLiteral(" GROUP BY N.TYP_ID) ") + alias;
            };
            q.sql = QStringLiteral("SELECT ") + label(QStringLiteral("T"), QStringLiteral("TYP"))
                + QStringLiteral(", R.NBR, COALESCE(C.NBR, 0), R.NBR, (SELECT COUNT(N.DOC_ID) FROM NOTICE N) "
                                 "FROM TYPE_DOCUMENT T JOIN ")
                + perType(QStringLiteral("NOTICE N"), QStringLiteral("R")) + QStringLiteral(" ON R.TYP_ID = T.TYP_ID LEFT JOIN ")
                + perType(QStringLiteral("NOTICE_EXEMPLAIRE E JOIN NOTICE N ON N.DOC_ID = E.DOC_ID"), QStringLiteral("C"))
                + QStringLiteral(" ON C.TYP_ID = T.TYP_ID ORDER BY R.NBR DESC, T.TYP_ID");
            break;
        }
        // Under a classification the records are found once, along the
        // outer join (counted apart, each part would find them again).
        const QString all = QStringLiteral("(SELECT COUNT(N2.DOC_ID) FROM NOTICE N2 WHERE ")
            + classified(d, QStringLiteral("N2.DOC_ID"), o, q.binds) + u')';
        const QString where = QStringLiteral(" WHERE ") + classified(d, QStringLiteral("N.DOC_ID"), o, q.binds);
        q.sql = QStringLiteral("SELECT ") + label(QStringLiteral("T"), QStringLiteral("TYP"))
            + QStringLiteral(", COUNT(DISTINCT N.DOC_ID), COUNT(C.EXP_ID), COUNT(DISTINCT N.DOC_ID), ") + all
            + QStringLiteral(" FROM TYPE_DOCUMENT T JOIN NOTICE N ON N.TYP_ID = T.TYP_ID "
                             "LEFT JOIN NOTICE_EXEMPLAIRE C ON C.DOC_ID = N.DOC_ID")
            + where + QStringLiteral(" GROUP BY ")
            + labelGroup(QStringLiteral("T"), QStringLiteral("TYP"), QStringLiteral("TYP_ID"))
            + QStringLiteral(" ORDER BY COUNT(DISTINCT N.DOC_ID) DESC, T.TYP_ID");
        break;
    }
    default:
        break;
    }
    return q;
}

SqlText newAcquisitionsSql(const Dialect &d, const StatisticOptions &o)
{
    // The period and the mode of acquisition hold for one same copy.
    SqlText q;
    QStringList where{QStringLiteral("EXISTS (SELECT 1 FROM NOTICE_EXEMPLAIRE NE WHERE NE.DOC_ID = N.DOC_ID "
                                     "AND NE.EXP_DATE_ACQUISITION >= ? AND NE.EXP_DATE_ACQUISITION <= ?")};
    q.binds << periodDay(d, o.from) << periodDay(d, o.to);
    if (!o.mode.isNull()) {
        where.last() += QStringLiteral(" AND NE.MOD_ID = ?");
        q.binds << o.mode.toInt();
    }
    where.last() += u')';
    if (!o.type.isNull()) {
        where << QStringLiteral("N.TYP_ID = ?");
        q.binds << o.type.toString();
    }
    if (!o.language.isNull()) {
        where << QStringLiteral("N.LAN_ID = ?");
        q.binds << o.language.toString();
    }
    if (!o.supplier.isNull()) {
        where << QStringLiteral("N.DOC_ID IN (SELECT AL.DOC_ID FROM ACQUISITION_LIGNE AL WHERE AL.ACQ_ID IN "
                                "(SELECT A.ACQ_ID FROM ACQUISITION A WHERE A.FOU_ID = ?))");
        q.binds << o.supplier.toInt();
    }
    if (classificationGiven(o))
        where << classified(d, QStringLiteral("N.DOC_ID"), o, q.binds);
    q.sql = QStringLiteral("SELECT ") + recordColumns(QStringLiteral("N")) + QStringLiteral(" FROM NOTICE N WHERE ")
        + where.join(QStringLiteral(" AND ")) + QStringLiteral(" ORDER BY N.DOC_ID");
    return q;
}

SqlText acquisitionsSql(const Dialect &d, const StatisticOptions &o)
{
    // The orders that had a delivery in the period count every delivered line.
    SqlText q;
    const QString delivered = QStringLiteral(" IN (SELECT V.ACQ_ID FROM LIVRAISON V WHERE V.LIV_DATE >= ? AND V.LIV_DATE <= ?)");
    const auto amount = [&d](const QString &l) -> QString {
        return d.moneyCents(l + QStringLiteral(".ACQ_PRIX")) + QStringLiteral(" * ") + l + QStringLiteral(".ACQ_NBR_LIVRE");
    };
    const bool byType = o.by != StatGrouping::Supplier;
    const QString key = byType ? QStringLiteral("N.TYP_ID") : QStringLiteral("A.FOU_ID");
    const QString sum = QStringLiteral("SUM(") + amount(QStringLiteral("L")) + u')';
    q.sql = QStringLiteral("SELECT ")
        + (byType ? label(QStringLiteral("T"), QStringLiteral("TYP")) : QStringLiteral("F.FOU_LIBELLE"))
        + QStringLiteral(", SUM(L.ACQ_NBR_LIVRE), ") + sum + QStringLiteral(", ") + sum + QStringLiteral(", (SELECT SUM(")
        + amount(QStringLiteral("L2"))
        + QStringLiteral(") FROM ACQUISITION_LIGNE L2 WHERE L2.ACQ_NBR_LIVRE <> 0 AND L2.ACQ_ID") + delivered
        + QStringLiteral(") FROM ACQUISITION_LIGNE L JOIN ACQUISITION A ON A.ACQ_ID = L.ACQ_ID ")
        + (byType ? QStringLiteral("JOIN NOTICE N ON N.DOC_ID = L.DOC_ID LEFT JOIN TYPE_DOCUMENT T ON T.TYP_ID = N.TYP_ID")
                  : QStringLiteral("LEFT JOIN FOURNISSEUR F ON F.FOU_ID = A.FOU_ID"))
        + QStringLiteral(" WHERE L.ACQ_NBR_LIVRE <> 0 AND A.ACQ_ID") + delivered + QStringLiteral(" GROUP BY ")
        + (byType ? QStringLiteral("N.TYP_ID, T.TYP_LIBELLE, T.TYP_LIBELLE_AR") : QStringLiteral("A.FOU_ID, F.FOU_LIBELLE"))
        + QStringLiteral(" ORDER BY COALESCE(") + sum + QStringLiteral(", 0) DESC, SUM(L.ACQ_NBR_LIVRE) DESC, ")
        + keyOrder(key);
    const QString from = periodDay(d, o.from), to = periodDay(d, o.to);
    q.binds << from << to << from << to;
    return q;
}

SqlText loansSql(const Dialect &d, const StatisticOptions &o)
{
    SqlText q;
    const QString loan = QString::number(int(LoanOperation::Loan));
    const QString back = QString::number(int(LoanOperation::Return));
    QString key, shown, group, joins, order;
    const QString reader = QStringLiteral(" LEFT JOIN LECTEUR L ON L.LEC_ID = H.LEC_ID");
    switch (o.by) {
    case StatGrouping::Month:
        key = shown = group = d.yearMonthOf(QStringLiteral("H.HIS_DATE"));
        break;
    case StatGrouping::Category:
        key = QStringLiteral("C.CAT_ID");
        shown = QStringLiteral("C.CAT_LIBELLE");
        group = QStringLiteral("C.CAT_ID, C.CAT_LIBELLE");
        joins = reader + QStringLiteral(" LEFT JOIN CATEGORIE C ON C.CAT_ID = L.CAT_ID");
        break;
    case StatGrouping::Structure:
        key = QStringLiteral("S.STR_ID");
        shown = QStringLiteral("S.STR_LIBELLE");
        group = QStringLiteral("S.STR_ID, S.STR_LIBELLE");
        joins = reader + QStringLiteral(" LEFT JOIN STRUCTURE S ON S.STR_ID = L.STR_ID");
        break;
    default:
        key = QStringLiteral("T.TYP_ID");
        shown = label(QStringLiteral("T"), QStringLiteral("TYP"));
        group = labelGroup(QStringLiteral("T"), QStringLiteral("TYP"), QStringLiteral("TYP_ID"));
        joins = QStringLiteral(" LEFT JOIN NOTICE N ON N.DOC_ID = H.DOC_ID LEFT JOIN TYPE_DOCUMENT T ON T.TYP_ID = N.TYP_ID");
        break;
    }
    const QString loans = QStringLiteral("SUM(CASE WHEN H.HIS_OPERATION = %1 THEN 1 ELSE 0 END)").arg(loan);
    const QString returns = QStringLiteral("SUM(CASE WHEN H.HIS_OPERATION = %1 THEN 1 ELSE 0 END)").arg(back);
    order = o.by == StatGrouping::Month ? key : loans + QStringLiteral(" DESC, ") + returns + QStringLiteral(" DESC, ") + keyOrder(key);
    // The period from its first day's midnight to the midnight after its last day.
    const QVariant from = d.toDb(QDateTime(o.from, QTime(0, 0)), ColType::DateTime);
    const QVariant to = d.toDb(QDateTime(o.to.addDays(1), QTime(0, 0)), ColType::DateTime);
    q.sql = QStringLiteral("SELECT ") + shown + QStringLiteral(", ") + loans + QStringLiteral(", ") + returns
        + QStringLiteral(", ") + loans
        + QStringLiteral(", (SELECT COUNT(*) FROM HISTORIQUE_PRET H2 WHERE H2.HIS_OPERATION = %1 "
                         "AND H2.HIS_DATE >= ? AND H2.HIS_DATE < ?) FROM HISTORIQUE_PRET H")
              .arg(loan)
        + joins
        + QStringLiteral(" WHERE H.HIS_OPERATION IN (%1, %2) AND H.HIS_DATE >= ? AND H.HIS_DATE < ? GROUP BY ").arg(loan, back)
        + group + QStringLiteral(" ORDER BY ") + order;
    q.binds << from << to << from << to;
    q.sql += limit(Statistic::Loans, o, q.binds);
    return q;
}

bool needsPeriod(Statistic s)
{
    return s == Statistic::NewAcquisitions || s == Statistic::Acquisitions || s == Statistic::Loans;
}

} // namespace

const QList<StatisticDef> &statisticDefs()
{
    static const QList<StatisticDef> defs = makeDefs();
    return defs;
}

const StatisticDef &statisticDef(Statistic s) { return statisticDefs().at(int(s) - 1); }

std::optional<Statistic> statisticNamed(const QString &name)
{
    for (const StatisticDef &d : statisticDefs())
        if (d.name == name)
            return d.statistic;
    return std::nullopt;
}

std::optional<Statistic> statisticOfEntry(const QString &entry)
{
    for (const StatisticDef &d : statisticDefs())
        if (!d.entry.isEmpty() && d.entry == entry)
            return d.statistic;
    return std::nullopt;
}

std::optional<StatGrouping> groupingNamed(const QString &word)
{
    static const std::pair<const char *, StatGrouping> words[] = {{"type", StatGrouping::Type},
                                                                  {"supplier", StatGrouping::Supplier},
                                                                  {"month", StatGrouping::Month},
                                                                  {"category", StatGrouping::Category},
                                                                  {"structure", StatGrouping::Structure}};
    for (const auto &[w, g] : words)
        if (word == QLatin1String(w))
            return g;
    return std::nullopt;
}

QString groupingName(StatGrouping g) { return tr2(groupColumn(g).french, groupColumn(g).arabic); }

QString StatisticLayout::title() const { return tr2(pageFrench, pageArabic); }

QString StatisticLayout::chartTitle() const { return tr2(chartFrench, chartArabic); }

StatisticLayout statisticLayout(Statistic s, StatGrouping by)
{
    switch (s) {
    case Statistic::Readers:
        return layout({column("LEC_ID", u"N° Lecteur", u"رقم القارئ", 120, ColumnKind::Text, u"N° lecteur"),
                       column("LEC_NOM", u"Nom", u"اللقب", 100), column("LEC_PRENOM", u"Prénom", u"الاسم", 100),
                       column("CAT_LIBELLE", u"Catégorie", u"الفئة", 100),
                       count("NBR", u"Nbr. documents", u"عدد الوثائق", 100, u"Nbr document"), rate(100)},
                      1, "statistiqueleteur.html", u"Statistiques de prêt par lecteur", u"إحصاءات الإعارة حسب القارئ",
                      u"Répartition des prêts par lecteur", u"توزيع الإعارات حسب القارئ");
    case Statistic::Categories:
        return layout({column("CAT_LIBELLE", u"Catégorie", u"الفئة", 320),
                       count("NBR", u"Nbr. documents", u"عدد الوثائق", 100, u"Nbr document"),
                       count("LECTEURS", u"Nbr. lecteurs", u"عدد القراء", 100, u"Nbr lecteurs"), rate(150)},
                      0, "statistiquecategorie.html", u"Statistiques de prêt par catégorie", u"إحصاءات الإعارة حسب الفئة",
                      u"Répartition des prêt par catégorie de lecteur", u"توزيع الإعارات حسب فئة القارئ");
    case Statistic::Records:
        return layout({column("REFERENCE", u"ISBN, ISSN...", u"ر.د.م.ك...", 90, ColumnKind::Text, u"ISBN,ISSN,..."),
                       column("TITRE", u"Titre", u"العنوان", 200), column("AUTEUR", u"Auteur", u"المؤلف", 100),
                       column("ANNEE", u"Année", u"السنة", 50),
                       count("NBR", u"Nbr. Doc", u"عدد الإعارات", 50, u"Nb document"), rate(50)},
                      1, "statistiquedocument.html", u"Statistiques de prêt par document", u"إحصاءات الإعارة حسب الوثيقة",
                      u"Répartition des prêt par document", u"توزيع الإعارات حسب الوثيقة");
    case Statistic::Types:
        return layout({column("TYPE", u"Type document", u"نوع الوثيقة", 320),
                       count("NBR", u"Nbr. documents", u"عدد الوثائق", 150, u"Nb document"), rate(150)},
                      0, "statistiquetypedocument.html", u"Statistiques de prêt par type de document",
                      u"إحصاءات الإعارة حسب نوع الوثيقة", u"Répartition des prêt par type de document",
                      u"توزيع الإعارات حسب نوع الوثيقة");
    case Statistic::Structures:
        return layout({column("STRUCTURE", u"Structure", u"الهيكل", 320),
                       count("NBR", u"Nbr. documents", u"عدد الوثائق", 150, u"Nbr document"), rate(150)},
                      0, "statistiquestructure.html", u"Statistiques de prêt par structure",
                      u"إحصاءات الإعارة حسب الهيكل", u"Répartition des prêt par structure de lecteur",
                      u"توزيع الإعارات حسب هيكل القراء");
    case Statistic::Registered:
        return layout({column("CAT_LIBELLE", u"Catégorie", u"الفئة", 320),
                       count("LECTEURS", u"Nbr. lecteurs", u"عدد القراء", 150, u"Nbr lecteurs"), rate(150)},
                      0, "lecteursinscrits.html", u"Lecteurs inscrits par catégorie", u"القراء المسجلون حسب الفئة",
                      u"Répartition lecteurs par catégorie", u"توزيع القراء حسب الفئة");
    case Statistic::Collection:
        return layout({column("TYPE", u"Type de document", u"نوع الوثيقة", 320),
                       count("NOTICES", u"Nbr document", u"عدد الوثائق", 150),
                       count("EXEMPLAIRES", u"Nbr exemplaire", u"عدد النسخ", 150), rate(150)},
                      0, "statistiquefond.html", u"Fonds documentaire par type de document",
                      u"الرصيد الوثائقي حسب نوع الوثيقة", u"Fonds documentaire par type de document",
                      u"الرصيد الوثائقي حسب نوع الوثيقة");
    case Statistic::NewAcquisitions:
        return layout({column("REFERENCE", u"ISBN, ISSN...", u"ر.د.م.ك...", 120, ColumnKind::Text, u"Référence"),
                       column("TITRE", u"Titre", u"العنوان", 400), column("AUTEUR", u"Auteur", u"المؤلف", 200),
                       column("ANNEE", u"Année", u"السنة", 60)},
                      1, "nouvellescquisitions.html", u"Liste des nouvelles acquisitions", u"قائمة المقتنيات الجديدة",
                      u"Liste des nouvelles acquisitions", u"قائمة المقتنيات الجديدة");
    case Statistic::Acquisitions:
        if (by == StatGrouping::Supplier)
            return layout({groupColumn(by), count("NBR", u"Nbr document", u"عدد الوثائق", 100),
                           column("MONTANT", u"Montant", u"المبلغ", 100, ColumnKind::Money), rate(100)},
                          0, "statistiques.html", u"Liste des statistiques", u"قائمة الإحصاءات",
                          u"Acquisitions par fournisseur", u"المقتنيات حسب المورد");
        return layout({groupColumn(StatGrouping::Type), count("NBR", u"Nbr exemplaire", u"عدد النسخ", 100),
                       column("MONTANT", u"Montant", u"المبلغ", 100, ColumnKind::Money), rate(100)},
                      0, "statistiquestype.html", u"Liste des statistiques", u"قائمة الإحصاءات",
                      u"Acquisitions par type de document", u"المقتنيات حسب نوع الوثيقة");
    case Statistic::Loans: {
        StatisticLayout l = layout({groupColumn(by), count("PRETS", u"Prêts", u"الإعارات", 150),
                                    count("RETOURS", u"Retours", u"الإرجاعات", 150), rate(150)},
                                   0, "statistiquesperiode.html", u"Prêts et retours par période",
                                   u"الإعارات والإرجاعات حسب الفترة", u"Prêts par période", u"الإعارات حسب الفترة");
        const EditionColumn g = groupColumn(by);
        l.pageFrench += QStringLiteral(" (") + g.french.toLower() + u')';
        l.pageArabic += QStringLiteral(" (") + g.arabic + u')';
        l.chartFrench += QStringLiteral(" (") + g.french.toLower() + u')';
        l.chartArabic += QStringLiteral(" (") + g.arabic + u')';
        return l;
    }
    }
    return {};
}

SqlText statisticSql(const Dialect &d, Statistic s, const StatisticOptions &o)
{
    SqlText q;
    switch (s) {
    case Statistic::NewAcquisitions: q = newAcquisitionsSql(d, o); break;
    case Statistic::Acquisitions: q = acquisitionsSql(d, o); break;
    case Statistic::Loans: q = loansSql(d, o); break;
    default: q = countersSql(d, s, o); break;
    }
    if (o.pageRows > 0) {
        // Every statement ends with its order: the page is taken of it.
        const int offset = qMax(0, o.offset);
        int rows = o.pageRows;
        if (limited(s, o) && !limitedInside(s))
            rows = qBound(0, o.limit - offset, rows);
        q.sql += QStringLiteral(" LIMIT ? OFFSET ?");
        q.binds << rows << offset;
    }
    return q;
}

namespace {

// Why the session's user may not run the statistic so, or empty.
QString refusalOf(Statistic s, const StatisticOptions &o)
{
    const QString refusal = rightRefusal(statisticDef(s).right, session());
    return refusal.isEmpty() ? optionsRefusal(s, o) : refusal;
}

} // namespace

qint64 countStatistic(Database &db, Statistic s, const StatisticOptions &o, QString *why)
{
    const QString refusal = refusalOf(s, o);
    if (!refusal.isEmpty()) {
        if (why)
            *why = refusal;
        return -1;
    }
    StatisticOptions whole = o;
    whole.offset = whole.pageRows = 0;
    SqlText sql;
    if (limitedInside(s)) {
        // Readers and records show every non-zero counter under the limit:
        // counting them needs neither their ranking nor what is shown of them.
        sql.sql = s == Statistic::Readers ? QStringLiteral("SELECT 1 FROM LECTEUR WHERE LEC_STAT_PRET <> 0")
                                          : QStringLiteral("SELECT 1 FROM NOTICE WHERE DOC_PRET_EXTERNE <> 0");
        sql.sql += limit(s, whole, sql.binds);
    } else {
        sql = statisticSql(db.dialect(), s, whole);
    }
    bool ok = false;
    const QVariant n = db.scalar(QStringLiteral("SELECT COUNT(*) FROM (") + sql.sql + QStringLiteral(") C"), sql.binds, &ok);
    if (!ok) {
        if (why)
            *why = stats::readFailed(db.lastError().text());
        return -1;
    }
    return n.toLongLong();
}

QString optionsRefusal(Statistic s, const StatisticOptions &o)
{
    const StatisticDef &def = statisticDef(s);
    if (!def.groupings.isEmpty() && !def.groupings.contains(o.by))
        return tr2(QStringLiteral("Cette statistique ne se regroupe pas par %1."),
                   QStringLiteral("لا يُجمع هذا الإحصاء حسب %1."))
            .arg(groupingName(o.by).toLower());
    if (!needsPeriod(s))
        return {};
    if (!o.from.isValid() || !o.to.isValid())
        return stats::periodMissing();
    if (o.to < o.from)
        return stats::periodReversed();
    return {};
}

QVariant ratePercent(qint64 part, qint64 whole)
{
    if (whole <= 0)
        return {};
    return double(part) * 100.0 / double(whole);
}

QString StatisticTable::source() const { return stats::sourceText(statisticDef(statistic).source); }

StatisticTable computeStatistic(Database &db, Statistic s, const StatisticOptions &o)
{
    StatisticTable t;
    t.statistic = s;
    t.options = o;
    t.layout = statisticLayout(s, o.by);
    t.message = refusalOf(s, o);
    if (!t.message.isEmpty())
        return t;
    const SqlText sql = statisticSql(db.dialect(), s, o);
    SqlRows q = db.query(sql.sql, sql.binds);
    if (!q.isActive()) {
        t.message = stats::readFailed(db.lastError().text());
        return t;
    }
    const QList<EditionColumn> &columns = t.layout.columns;
    const int shown = t.layout.rateColumn < 0 ? int(columns.size()) : int(columns.size()) - 1;
    const bool grouped = s != Statistic::Readers && s != Statistic::Records && s != Statistic::NewAcquisitions;
    while (q.next()) {
        QVariantList row;
        row.reserve(columns.size());
        for (int c = 0; c < shown; ++c) {
            const QVariant v = q.value(c);
            switch (columns.at(c).page.kind) {
            case ColumnKind::Number:
                row << (v.isNull() ? QVariant(qint64(0)) : QVariant(v.toLongLong()));
                break;
            case ColumnKind::Money: {
                const std::optional<Money> m = Money::fromCentsValue(v);
                row << (m ? m->toVariant() : QVariant(Money().toVariant()));
                break;
            }
            default:
                row << ((v.isNull() && grouped && c == t.layout.labelColumn) ? QVariant(stats::unknownGroup()) : v);
                break;
            }
        }
        if (t.layout.rateColumn >= 0) {
            const QVariant part = q.value(shown), whole = q.value(shown + 1);
            // Amounts are cents: whole numbers as counts are.
            const auto whole64 = [](const QVariant &v) {
                const std::optional<Money> m = Money::fromCentsValue(v);
                return m ? m->cents() : qint64(0);
            };
            row << ratePercent(whole64(part), whole64(whole));
        }
        t.rows << row;
    }
    if (q.lastError().isValid()) {
        t.rows.clear();
        t.message = stats::readFailed(q.lastError().text());
        return t;
    }
    t.ok = true;
    return t;
}

Report statisticReport(const StatisticTable &t)
{
    Report r;
    r.fileName = t.layout.fileName;
    r.french = t.layout.pageFrench;
    r.arabic = t.layout.pageArabic;
    for (const EditionColumn &c : t.layout.columns)
        r.columns << c.page;
    r.rows = t.rows;
    return r;
}

ChartData chartData(const StatisticTable &t, int maxBars)
{
    ChartData c;
    c.title = t.layout.chartTitle();
    c.rows = int(t.rows.size());
    if (t.layout.rateColumn < 0)
        return c;
    const int n = qMin(c.rows, qMax(0, maxBars));
    c.labels.reserve(n);
    c.values.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QVariantList &row = t.rows.at(i);
        c.labels << row.value(t.layout.labelColumn).toString();
        c.values << row.value(t.layout.rateColumn).toDouble();
    }
    return c;
}

QString cellText(const StatisticTable &t, int row, int column)
{
    const QVariant v = t.rows.value(row).value(column);
    if (v.isNull() || !v.isValid())
        return {};
    switch (t.layout.columns.value(column).page.kind) {
    case ColumnKind::Rate: return QString::number(v.toDouble(), 'f', 2);
    case ColumnKind::Number: return QString::number(v.toLongLong());
    default: return v.toString();
    }
}

QList<std::pair<QVariant, QString>> filterChoices(Database &db, AcqFilter f)
{
    QString sql;
    switch (f) {
    case AcqFilter::Mode:
        sql = QStringLiteral("SELECT M.MOD_ID, ") + label(QStringLiteral("M"), QStringLiteral("MOD"))
            + QStringLiteral(" FROM MODE_ACQUISITION M WHERE M.MOD_ID <> 5 ORDER BY M.MOD_ID");
        break;
    case AcqFilter::Type:
        sql = QStringLiteral("SELECT T.TYP_ID, ") + label(QStringLiteral("T"), QStringLiteral("TYP"))
            + QStringLiteral(" FROM TYPE_DOCUMENT T ORDER BY T.TYP_ID");
        break;
    case AcqFilter::Language:
        sql = QStringLiteral("SELECT L.LAN_ID, ") + label(QStringLiteral("L"), QStringLiteral("LAN"))
            + QStringLiteral(" FROM LANGUE L ORDER BY L.LAN_ID");
        break;
    case AcqFilter::Supplier:
        sql = QStringLiteral("SELECT F.FOU_ID, F.FOU_LIBELLE FROM FOURNISSEUR F ORDER BY F.FOU_ID");
        break;
    }
    QList<std::pair<QVariant, QString>> out;
    SqlRows q = db.query(sql);
    while (q.next())
        out.append({q.value(0), q.value(1).toString()});
    return out;
}

} // namespace folian
