// The statistics on both engines over a seeded base: each statistic's rows,
// counts, rates and order (ties in key order, under a limit too); the
// classification pattern bound; empty counters after "Initialisation"; a
// failure said, never an empty table; exact amounts of the acquisitions with
// a delivery outside the period counted through its order; the new
// acquisitions' mode and period on one copy; the period statistics against
// the loan journal.

#include "admin/core/administration.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/dialect.h"
#include "data/core/schema.h"
#include "statistics/core/statistics.h"
#include "statistics/core/statisticstexts.h"
#include "statistics/statfixture.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

QStringList shown(const StatisticTable &t)
{
    QStringList out;
    for (int r = 0; r < t.rows.size(); ++r) {
        QStringList cells;
        for (int c = 0; c < t.layout.columns.size(); ++c)
            cells << cellText(t, r, c);
        out << cells.join(u'|');
    }
    return out;
}

StatisticOptions limitTo(int n, const char *classification = "")
{
    StatisticOptions o;
    o.limit = n;
    o.classification = QString::fromUtf8(classification);
    return o;
}

struct CounterCase {
    const char *name;
    Statistic statistic;
    int limit;
    const char *classification;
    QStringList expected;
};

const CounterCase counterCases[] = {
    {"readers", Statistic::Readers, 10, "",
     {QStringLiteral("R1|O'Brien & <Fils>|Seán|Étudiants|6|50.00"), QStringLiteral("R2|بن علي|أحمد|Étudiants|3|25.00"),
      QStringLiteral("R3|Durand|Luc|Enseignants|3|25.00")}},
    // R2 and R3 tie: the key decides, under a limit as without.
    {"readers limit 2", Statistic::Readers, 2, "",
     {QStringLiteral("R1|O'Brien & <Fils>|Seán|Étudiants|6|50.00"), QStringLiteral("R2|بن علي|أحمد|Étudiants|3|25.00")}},
    // The rate is the category's share of the readers who borrowed.
    {"categories", Statistic::Categories, 10, "",
     {QStringLiteral("Étudiants|9|2|66.67"), QStringLiteral("Enseignants|3|1|33.33")}},
    {"records", Statistic::Records, 10, "",
     {QStringLiteral("2070360024|L'Étranger||1942|4|40.00"), QStringLiteral("|الأيام||1929|4|40.00"),
      QStringLiteral("|Atlas|||2|20.00")}},
    {"records limit 1", Statistic::Records, 1, "", {QStringLiteral("2070360024|L'Étranger||1942|4|40.00")}},
    {"types", Statistic::Types, 10, "",
     {QStringLiteral("Monographie|8|80.00"), QStringLiteral("Ressource électronique|2|20.00")}},
    {"structures", Statistic::Structures, 10, "", {QStringLiteral("Lettres|9|75.00"), QStringLiteral("العلوم|3|25.00")}},
    {"registered", Statistic::Registered, 0, "",
     {QStringLiteral("Étudiants|2|40.00"), QStringLiteral("Enseignants|2|40.00"), QStringLiteral("Externes|1|20.00")}},
    // Record 3 has no copy: it counts through the outer join with none.
    {"collection", Statistic::Collection, 0, "",
     {QStringLiteral("Monographie|3|4|75.00"), QStringLiteral("Ressource électronique|1|0|25.00")}},
    {"collection *", Statistic::Collection, 0, "*",
     {QStringLiteral("Monographie|3|4|75.00"), QStringLiteral("Ressource électronique|1|0|25.00")}},
    {"collection 8*", Statistic::Collection, 0, "8*",
     {QStringLiteral("Monographie|2|3|66.67"), QStringLiteral("Ressource électronique|1|0|33.33")}},
    // "_" stands for itself: "82_*" is not "82" followed by any letter.
    {"collection 82_*", Statistic::Collection, 0, "82_*", {QStringLiteral("Monographie|1|1|100.00")}},
    {"collection O'*", Statistic::Collection, 0, " O'* ", {QStringLiteral("Monographie|1|1|100.00")}},
    {"collection none", Statistic::Collection, 0, "9*", {}},
};

struct Line {
    int order;
    int record;
    const char *price;  // null: no price
    int delivered;
};

struct AmountCase {
    const char *name;
    QList<Line> lines;
    StatGrouping by;
    QStringList expected;
};

// Order 1 (supplier 1) delivered on 2024-03-01 and again on 2025-02-01;
// order 2 (supplier 2) delivered on 2023-12-31 only. The period is 2024.
const AmountCase amountCases[] = {
    {"cents", {{1, 1, "0.10", 1}, {1, 4, "0.20", 1}}, StatGrouping::Type, {QStringLiteral("Monographie|2|0.30|100.00")}},
    {"binary trap", {{1, 1, "3000000.24", 1}, {1, 2, "3000000.24", 1}}, StatGrouping::Type,
     {QStringLiteral("Monographie|2|6000000.48|100.00")}},
    {"large", {{1, 1, "9999999999999.99", 3}}, StatGrouping::Type, {QStringLiteral("Monographie|3|29999999999999.97|100.00")}},
    // Beyond 2^46 (70,368,744,177,664) a binary double holds no amount to
    // the cent: summed as doubles, these lines give .02 and .05, whatever
    // the order of the sum.
    {"beyond a double's cents", {{1, 1, "9999999999999.99", 8}, {1, 4, "0.09", 1}}, StatGrouping::Type,
     {QStringLiteral("Monographie|9|80000000000000.01|100.00")}},
    {"made of parts", {{1, 1, "9999999999999.99", 4}, {1, 4, "9999999999999.99", 4}, {1, 2, "0.03", 4}}, StatGrouping::Type,
     {QStringLiteral("Monographie|12|80000000000000.04|100.00")}},
    // A rate of nothing is no rate, never a division by zero.
    {"all zero", {{1, 1, "0", 2}, {1, 3, "0.00", 1}}, StatGrouping::Type,
     {QStringLiteral("Monographie|2|0.00|"), QStringLiteral("Ressource électronique|1|0.00|")}},
    {"no price", {{1, 1, nullptr, 1}, {1, 3, "1.50", 2}}, StatGrouping::Type,
     {QStringLiteral("Ressource électronique|2|3.00|100.00"), QStringLiteral("Monographie|1|0.00|0.00")}},
    // Order 1 had a delivery in the period: all its delivered lines count;
    // order 2 had none; an undelivered line counts nothing.
    {"through the order", {{1, 1, "10.00", 1}, {1, 3, "5.00", 1}, {2, 2, "100.00", 1}, {1, 4, "7.00", 0}},
     StatGrouping::Type, {QStringLiteral("Monographie|1|10.00|66.67"), QStringLiteral("Ressource électronique|1|5.00|33.33")}},
    {"by supplier", {{1, 1, "10.00", 1}, {1, 3, "5.00", 1}, {2, 2, "100.00", 1}}, StatGrouping::Supplier,
     {QStringLiteral("Librairie O'Brien & <Fils>|2|15.00|100.00")}},
};

bool seedOrders(Database &db, const QList<Line> &lines)
{
    QVector<QVariantList> rows;
    int id = 0;
    for (const Line &l : lines)
        rows << QVariantList{++id, l.order, l.record, l.delivered, l.price ? QVariant(QString::fromLatin1(l.price)) : QVariant(),
                             l.delivered};
    return statInsert(db, "FOURNISSEUR", cols("FOU_ID,FOU_LIBELLE,FOU_TYP"),
                      {{1, QStringLiteral("Librairie O'Brien & <Fils>"), 1}, {2, QStringLiteral("مكتبة الفكر"), 1}})
        && statInsert(db, "ACQUISITION", cols("ACQ_ID,ACQ_TYP,ACQ_NUMERO,ACQ_DATE,ACQ_STATUT,FOU_ID"),
                      {{1, 2, QStringLiteral("BC-1"), QDate(2024, 1, 10), 2, 1},
                       {2, 2, QStringLiteral("BC-2"), QDate(2023, 11, 2), 2, 2}})
        && statInsert(db, "LIVRAISON", cols("LIV_ID,LIV_NUMERO,LIV_DATE,ACQ_ID"),
                      {{1, QStringLiteral("BL-1"), QDate(2024, 3, 1), 1},
                       {2, QStringLiteral("BL-2"), QDate(2025, 2, 1), 1},
                       {3, QStringLiteral("BL-3"), QDate(2023, 12, 31), 2}})
        && (rows.isEmpty()
            || statInsert(db, "ACQUISITION_LIGNE", cols("ACQ_LIGNE_ID,ACQ_ID,DOC_ID,ACQ_EXEMPLAIRE,ACQ_PRIX,ACQ_NBR_LIVRE"),
                          rows));
}

StatisticOptions period(QDate from, QDate to, StatGrouping by = StatGrouping::Type)
{
    StatisticOptions o;
    o.from = from;
    o.to = to;
    o.by = by;
    return o;
}

} // namespace

class TstStatistics : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserRole = 1;
    }

    void counters_data() { addEngineCaseRows(counterCases); }
    void counters()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const CounterCase &c = counterCases[index];
        FOLIAN_STAT_DB(tdb, db);
        const StatisticTable t = computeStatistic(db, c.statistic, limitTo(c.limit, c.classification));
        QVERIFY2(t.ok, qPrintable(t.message));
        QCOMPARE(shown(t), c.expected);
        if (!t.rows.isEmpty() && t.layout.rateColumn >= 0 && c.statistic != Statistic::Readers
            && c.statistic != Statistic::Records && c.limit == 0) {
            double sum = 0;
            for (const QVariantList &row : t.rows)
                sum += row.at(t.layout.rateColumn).toDouble();
            QVERIFY2(qAbs(sum - 100.0) < 1e-9, qPrintable(QString::number(sum, 'f', 12)));
        }
    }

    // Read a row at a time, a statistic gives the rows it gives whole, in
    // its order, its limit kept; its count is the whole's, whatever the page.
    void pages_data() { addEngineCaseRows(counterCases); }
    void pages()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const CounterCase &c = counterCases[index];
        FOLIAN_STAT_DB(tdb, db);
        StatisticOptions o = limitTo(c.limit, c.classification);
        QString why;
        QCOMPARE(countStatistic(db, c.statistic, o, &why), qint64(c.expected.size()));
        QStringList paged;
        o.pageRows = 1;
        for (o.offset = 0; o.offset <= c.expected.size(); ++o.offset) {
            const StatisticTable page = computeStatistic(db, c.statistic, o);
            QVERIFY2(page.ok, qPrintable(page.message));
            QCOMPARE(page.rows.size(), o.offset < c.expected.size() ? 1 : 0);
            paged += shown(page);
            QCOMPARE(countStatistic(db, c.statistic, o, &why), qint64(c.expected.size()));
        }
        QCOMPARE(paged, c.expected);
    }

    // The labels of the types follow the session's language.
    void arabicLabels_data() { addEngineRows(); }
    void arabicLabels()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        session().LanguageSuffix = QStringLiteral("_AR");
        session().ArabicMode = true;
        const StatisticTable t = computeStatistic(db, Statistic::Types, limitTo(10));
        QVERIFY2(t.ok, qPrintable(t.message));
        QCOMPARE(shown(t).value(0), QStringLiteral("كتاب|8|80.00"));
    }

    void emptyAfterInitialisation_data() { addEngineRows(); }
    void emptyAfterInitialisation()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        QString why;
        QVERIFY2(ResetLoanStatistics(db, &why), qPrintable(why));
        for (Statistic s : {Statistic::Readers, Statistic::Categories, Statistic::Records, Statistic::Types,
                            Statistic::Structures}) {
            const StatisticTable t = computeStatistic(db, s, limitTo(100000));
            QVERIFY2(t.ok, qPrintable(t.message));
            QVERIFY2(t.rows.isEmpty(), qPrintable(statisticDef(s).name));
            QCOMPARE(chartData(t).labels.size(), 0);
        }
        QCOMPARE(computeStatistic(db, Statistic::Registered, {}).rows.size(), 3);
    }

    // A statistic that cannot be read says so; its table is not shown empty as if nothing circulated.
    void failureIsSaid_data() { addEngineRows(); }
    void failureIsSaid()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        QVERIFY(db.exec(QStringLiteral("DROP TABLE STRUCTURE")));
        db.schemaChanged();
        const StatisticTable t = computeStatistic(db, Statistic::Structures, limitTo(10));
        QVERIFY(!t.ok);
        QVERIFY2(t.message.startsWith(stats::readFailed(QString())), qPrintable(t.message));
    }

    void refusals_data() { addEngineRows(); }
    void refusals()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        session().CurrentUserRole = 5;  // an acquisitions agent with no editions right
        StatisticTable t = computeStatistic(db, Statistic::Readers, limitTo(10));
        QVERIFY(!t.ok);
        QCOMPARE(t.message, rightRefusal(Right::CirculEdition, session()));
        session().CurrentUserRole = 2;
        t = computeStatistic(db, Statistic::Acquisitions, period(QDate(2024, 2, 1), QDate(2024, 1, 1)));
        QCOMPARE(t.message, stats::periodReversed());
        t = computeStatistic(db, Statistic::Acquisitions, period(QDate(2024, 1, 1), QDate(2024, 2, 1), StatGrouping::Month));
        QVERIFY(!t.ok && !t.message.isEmpty());
    }

    void amounts_data() { addEngineCaseRows(amountCases); }
    void amounts()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const AmountCase &c = amountCases[index];
        FOLIAN_STAT_DB(tdb, db);
        QVERIFY(seedOrders(db, c.lines));
        const StatisticTable t = computeStatistic(db, Statistic::Acquisitions, period(QDate(2024, 1, 1), QDate(2024, 12, 31), c.by));
        QVERIFY2(t.ok, qPrintable(t.message));
        QCOMPARE(shown(t), c.expected);
        // No delivery in the period: empty, and the chart has no bar.
        const StatisticTable none = computeStatistic(db, Statistic::Acquisitions, period(QDate(2022, 1, 1), QDate(2022, 12, 31), c.by));
        QVERIFY2(none.ok, qPrintable(none.message));
        QVERIFY(none.rows.isEmpty());
        QCOMPARE(chartData(none).labels.size(), 0);
    }

    void newAcquisitions_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("titles");
        const QStringList both{QStringLiteral("L'Étranger"), QStringLiteral("الأيام")};
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" period"))) << e << QString() << QVariant() << both;
            // Record 1's gift copy is old; its copy of the period was bought.
            QTest::newRow(qPrintable(e + QStringLiteral(" gift"))) << e << QStringLiteral("mode") << QVariant(2)
                                                                   << QStringList{QStringLiteral("الأيام")};
            QTest::newRow(qPrintable(e + QStringLiteral(" purchase"))) << e << QStringLiteral("mode") << QVariant(1)
                                                                       << QStringList{QStringLiteral("L'Étranger")};
            QTest::newRow(qPrintable(e + QStringLiteral(" type"))) << e << QStringLiteral("type") << QVariant(QStringLiteral("g"))
                                                                   << QStringList{};
            QTest::newRow(qPrintable(e + QStringLiteral(" language"))) << e << QStringLiteral("language")
                                                                       << QVariant(QStringLiteral("ara"))
                                                                       << QStringList{QStringLiteral("الأيام")};
            QTest::newRow(qPrintable(e + QStringLiteral(" supplier"))) << e << QStringLiteral("supplier") << QVariant(2)
                                                                       << QStringList{QStringLiteral("الأيام")};
            QTest::newRow(qPrintable(e + QStringLiteral(" classification"))) << e << QStringLiteral("classification")
                                                                             << QVariant(QStringLiteral("81")) << QStringList{QStringLiteral("L'Étranger")};
        }
    }
    void newAcquisitions()
    {
        QFETCH(QString, engine);
        QFETCH(QString, filter);
        QFETCH(QVariant, value);
        QFETCH(QStringList, titles);
        FOLIAN_STAT_DB(tdb, db);
        QVERIFY(seedOrders(db, {{2, 2, "12.00", 1}}));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET MOD_ID = 2, EXP_DATE_ACQUISITION = ? WHERE EXP_ID = 'E1'"),
                        {QStringLiteral("2020-05-01")}));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET MOD_ID = 2, EXP_DATE_ACQUISITION = ? WHERE EXP_ID = 'E3'"),
                        {QStringLiteral("2024-04-01")}));
        QVERIFY(statInsert(db, "NOTICE_EXEMPLAIRE", cols("EXP_ID,DOC_ID,BIB_ID,STA_EXP_ID,MOD_ID,EXP_DATE_ACQUISITION"),
                           {{QStringLiteral("E5"), 1, 0, 2, 1, QDate(2024, 3, 10)},
                            {QStringLiteral("E6"), 4, 0, 2, 1, QDate(2025, 1, 1)}}));
        session().CurrentUserRole = 2;
        StatisticOptions o = period(QDate(2024, 1, 1), QDate(2024, 12, 31));
        if (filter == QLatin1String("mode"))
            o.mode = value;
        else if (filter == QLatin1String("type"))
            o.type = value;
        else if (filter == QLatin1String("language"))
            o.language = value;
        else if (filter == QLatin1String("supplier"))
            o.supplier = value;
        else if (filter == QLatin1String("classification"))
            o.classification = value.toString();
        const StatisticTable t = computeStatistic(db, Statistic::NewAcquisitions, o);
        QVERIFY2(t.ok, qPrintable(t.message));
        QStringList got;
        for (const QVariantList &row : t.rows)
            got << row.at(1).toString();
        QCOMPARE(got, titles);
        // Mode 5, the library's own copies, is never offered.
        QList<int> modes;
        for (const auto &[id, label] : filterChoices(db, AcqFilter::Mode))
            modes << id.toInt();
        QCOMPARE(modes, (QList<int>{1, 2, 3, 4}));
    }

    void loanPeriods_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("by");
        QTest::addColumn<QStringList>("expected");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" month"))) << e << int(StatGrouping::Month)
                << QStringList{QStringLiteral("2024-01|2|1|50.00"), QStringLiteral("2024-02|2|0|50.00")};
            QTest::newRow(qPrintable(e + QStringLiteral(" category"))) << e << int(StatGrouping::Category)
                << QStringList{QStringLiteral("Étudiants|2|1|50.00"), QStringLiteral("Enseignants|1|0|25.00"),
                               stats::unknownGroup() + QStringLiteral("|1|0|25.00")};
            QTest::newRow(qPrintable(e + QStringLiteral(" type"))) << e << int(StatGrouping::Type)
                << QStringList{QStringLiteral("Monographie|4|1|100.00")};
            QTest::newRow(qPrintable(e + QStringLiteral(" structure"))) << e << int(StatGrouping::Structure)
                << QStringList{QStringLiteral("Lettres|2|1|50.00"), QStringLiteral("العلوم|1|0|25.00"),
                               stats::unknownGroup() + QStringLiteral("|1|0|25.00")};
        }
    }
    void loanPeriods()
    {
        QFETCH(QString, engine);
        QFETCH(int, by);
        QFETCH(QStringList, expected);
        FOLIAN_STAT_DB(tdb, db);
        const auto at = [](int y, int m, int d, int h, int mi, int s) { return QDateTime(QDate(y, m, d), QTime(h, mi, s)); };
        // Loans 1, returns 2, a renewal 4; one loan before the period, one
        // return after it, one loan to a reader since deleted.
        QVERIFY(statInsert(db, "HISTORIQUE_PRET", cols("HIS_ID,HIS_OPERATION,EXP_ID,DOC_ID,LEC_ID,HIS_DATE"),
                           {{1, 1, QStringLiteral("E1"), 1, QStringLiteral("R1"), at(2024, 1, 15, 10, 0, 0)},
                            {2, 2, QStringLiteral("E1"), 1, QStringLiteral("R1"), at(2024, 1, 20, 9, 30, 0)},
                            {3, 1, QStringLiteral("E3"), 2, QStringLiteral("R2"), at(2024, 1, 31, 23, 59, 59)},
                            {4, 1, QStringLiteral("E1"), 1, QStringLiteral("R3"), at(2024, 2, 1, 0, 0, 0)},
                            {5, 4, QStringLiteral("E1"), 1, QStringLiteral("R3"), at(2024, 2, 5, 11, 0, 0)},
                            {6, 1, QStringLiteral("E4"), 4, QStringLiteral("R1"), at(2023, 12, 31, 23, 59, 59)},
                            {7, 2, QStringLiteral("E3"), 2, QStringLiteral("R2"), at(2024, 3, 1, 0, 0, 0)},
                            {8, 1, QStringLiteral("E2"), 1, QStringLiteral("RX"), at(2024, 2, 29, 18, 0, 0)}}));
        StatisticOptions o = period(QDate(2024, 1, 1), QDate(2024, 2, 29), StatGrouping(by));
        const StatisticTable t = computeStatistic(db, Statistic::Loans, o);
        QVERIFY2(t.ok, qPrintable(t.message));
        QCOMPARE(shown(t), expected);
        // The rows after the first, as a page.
        QCOMPARE(countStatistic(db, Statistic::Loans, o), qint64(expected.size()));
        o.offset = 1;
        o.pageRows = 10;
        QCOMPARE(shown(computeStatistic(db, Statistic::Loans, o)), expected.mid(1));
    }

    // A database of the version before gets the journal's index by dates,
    // and the statistics over a period read the journal through it, by
    // every grouping, instead of the whole journal.
    void journalDatesIndexed_data() { addEngineRows(); }
    void journalDatesIndexed()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        const QString index = QStringLiteral("IX_HISTORIQUE_PRET_HIS_DATE");
        QVERIFY(db.exec(QStringLiteral("DROP INDEX IF EXISTS ") + index));
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 11")));
        db.schemaChanged();
        const bool pg = db.dialect().isPostgres();
        // The server would scan a journal this small whatever its indexes.
        QVERIFY(!pg || db.exec(QStringLiteral("SET enable_seqscan = off")));
        const auto plan = [&](StatGrouping by) {
            const SqlText q = statisticSql(db.dialect(), Statistic::Loans, period(QDate(2024, 1, 1), QDate(2024, 1, 31), by));
            return queryPlan(db, q.sql, q.binds);
        };
        QVERIFY2(!plan(StatGrouping::Month).contains(index), qPrintable(plan(StatGrouping::Month)));
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        for (StatGrouping by : {StatGrouping::Month, StatGrouping::Category, StatGrouping::Type, StatGrouping::Structure})
            QVERIFY2(plan(by).contains(index), qPrintable(plan(by)));
        QVERIFY(!pg || db.exec(QStringLiteral("RESET enable_seqscan")));
    }
};

QTEST_GUILESS_MAIN(TstStatistics)
#include "tst_statistics.moc"
