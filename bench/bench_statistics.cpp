// Statistics benchmark: a catalogue of N records with a copy each, N / 5
// readers whose loan counters sum to about 5 N loans, a loan journal of 5 N
// operations over five years, N / 2 order lines delivered over the same
// years. Times each statistic's whole result (the counters' at the limits
// 10 and 100,000; the period statistics over a year) and, where it holds more
// than a page, what the screen reads first (a page and the count), then (after
// the embedded engine's run) the chart of 1,000 and of 100,000 rows built and
// drawn offscreen, and 100,000 bars drawn all, once; printing the
// median and the 95th percentile.
//
//   bench_statistics --engine SQLITE [--rows RECORDS] [--repeats N]
//   bench_statistics --engine POSTGRESQL ...   (server from FOLIAN_BENCH_PG_HOST, _PORT,
//                                             _USER, _PASSWORD; a database
//                                             folian_bench_stat is made and dropped)

#include "data/core/migrator.h"
#include "statistics/core/statistics.h"
#include "statistics/widgets/statchart.h"
#include "benchdb.h"
#include "measuringprocess.h"
#include "recordgen.h"

#include <QApplication>
#include <QChartView>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

using namespace folian;
using namespace folian::bench;

namespace {

const QString kPgDatabase = QStringLiteral("folian_bench_stat");

void report(const QString &what, const QString &key, const QVector<double> &ms, qsizetype rows = -1)
{
    const Stats s = stats(ms);
    std::printf("%-44s median %9.2f ms   p95 %9.2f ms   (%lld timed%s)\n", qPrintable(what), s.median, s.p95,
                static_cast<long long>(ms.size()),
                rows >= 0 ? qPrintable(QStringLiteral(", %1 rows").arg(rows)) : "");
    result(key + QStringLiteral("_median_ms"), s.median);
    result(key + QStringLiteral("_p95_ms"), s.p95);
}

// The categories, structures and suppliers are numbered from 101, after
// those the new database may hold.

// A day `days` after `first`, as the engine computes it in a statement.
QString dayAfter(Database &db, const QString &days)
{
    return db.dialect().isPostgres() ? QStringLiteral("CAST(? AS DATE) + (%1)").arg(days)
                                     : QStringLiteral("DATE(?, '+' || (%1) || ' days')").arg(days);
}

QString momentAfter(Database &db, const QString &seconds)
{
    return db.dialect().isPostgres() ? QStringLiteral("CAST(? AS TIMESTAMP) + (%1) * INTERVAL '1 second'").arg(seconds)
                                     : QStringLiteral("DATETIME(?, '+' || (%1) || ' seconds')").arg(seconds);
}

void load(Database &db, int records)
{
    const int readers = qMax(10, records / 5), journal = records * 5, lines = records / 2, orders = qMax(1, records / 50);
    const QVariant first = db.dialect().toDb(QDate(2020, 1, 1), ColType::Date);
    const QVariant firstMoment = db.dialect().toDb(QDateTime(QDate(2020, 1, 1), QTime(0, 0)), ColType::DateTime);
    const QString price = db.dialect().isPostgres() ? QStringLiteral("CAST(I % 10000 AS NUMERIC) / 100")
                                                    : QStringLiteral("printf('%d.%02d', (I % 10000) / 100, I % 100)");
    Transaction tx(db);
    exec(db, numbers(10) + QStringLiteral("INSERT INTO CATEGORIE (CAT_ID, CAT_LIBELLE) SELECT 100 + I, 'Catégorie ' || I FROM N"));
    exec(db, numbers(20) + QStringLiteral("INSERT INTO STRUCTURE (STR_ID, STR_LIBELLE) SELECT 100 + I, 'Structure ' || I FROM N"));
    exec(db, numbers(50) + QStringLiteral("INSERT INTO FOURNISSEUR (FOU_ID, FOU_LIBELLE, FOU_TYP) SELECT 100 + I, 'Fournisseur ' || I, 1 FROM N"));
    // About five external loans a record, twenty-five loans a reader.
    exec(db, numbers(records)
                 + QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, STA_ID, BIB_ID, DOC_PRET_EXTERNE, DOC_ANNEE) "
                                  "SELECT I, CASE I % 4 WHEN 0 THEN 'a' WHEN 1 THEN 'b' WHEN 2 THEN 'c' ELSE 'g' END, "
                                  "'Titre ' || I, 1, 0, I % 11, '2001' FROM N"));
    exec(db, numbers(records)
                 + QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, STA_EXP_ID, MOD_ID, EXP_DATE_ACQUISITION) "
                                  "SELECT 'E' || I, I, 0, 2, 1 + I % 4, ")
                 + dayAfter(db, QStringLiteral("I % 1826")) + QStringLiteral(" FROM N"),
         {first});
    exec(db, numbers(records)
                 + QStringLiteral("INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) SELECT I, I, '' || (I % 1000) FROM N"));
    exec(db, numbers(readers)
                 + QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_NOM, LEC_PRENOM, CAT_ID, STR_ID, LEC_STAT_PRET, LEC_STATUT, BIB_ID) "
                                  "SELECT 'L' || I, 'Nom ' || I, 'Prénom', 101 + I % 10, 101 + I % 20, I % 51, 0, 0 FROM N"));
    exec(db, numbers(journal)
                 + QStringLiteral("INSERT INTO HISTORIQUE_PRET (HIS_ID, HIS_OPERATION, EXP_ID, DOC_ID, LEC_ID, HIS_DATE) "
                                  "SELECT I, 1 + I % 2, 'E' || (1 + I % %1), 1 + I % %1, 'L' || (1 + I % %2), ")
                       .arg(records)
                       .arg(readers)
                 // Spread evenly over the five years from 2020.
                 + momentAfter(db, QStringLiteral("I * %1").arg(qMax(1, 157766400 / journal))) + QStringLiteral(" FROM N"),
         {firstMoment});
    exec(db, numbers(orders)
                 + QStringLiteral("INSERT INTO ACQUISITION (ACQ_ID, ACQ_TYP, ACQ_NUMERO, ACQ_DATE, ACQ_STATUT, FOU_ID) "
                                  "SELECT I, 2, 'BC ' || I, ")
                 + dayAfter(db, QStringLiteral("I % 1826")) + QStringLiteral(", 2, 101 + I % 50 FROM N"),
         {first});
    exec(db, numbers(orders) + QStringLiteral("INSERT INTO LIVRAISON (LIV_ID, LIV_NUMERO, LIV_DATE, ACQ_ID) SELECT I, 'BL ' || I, ")
                 + dayAfter(db, QStringLiteral("I % 1826")) + QStringLiteral(", I FROM N"),
         {first});
    exec(db, numbers(lines)
                 + QStringLiteral("INSERT INTO ACQUISITION_LIGNE (ACQ_LIGNE_ID, ACQ_ID, DOC_ID, ACQ_EXEMPLAIRE, ACQ_PRIX, ACQ_NBR_LIVRE) "
                                  "SELECT I, 1 + I % %1, I, 3, ")
                       .arg(orders)
                 + price + QStringLiteral(", 1 + I % 3 FROM N"));
    if (!tx.commit())
        die(db.lastError().text());
    for (const char *table : {"NOTICE", "NOTICE_EXEMPLAIRE", "NOTICE_CLASSIFICATION", "LECTEUR", "HISTORIQUE_PRET",
                              "ACQUISITION", "LIVRAISON", "ACQUISITION_LIGNE", "CATEGORIE", "STRUCTURE"})
        if (const QString analyze = db.dialect().refreshStatistics(QLatin1String(table)); !analyze.isEmpty())
            exec(db, analyze);
}

// Times the whole result, or (`firstPage`) what the screen reads first: its
// first page of rows and, when that page is full, the count of them all.
qsizetype timeStatistic(Database &db, Statistic s, StatisticOptions o, const QString &what, int repeats,
                        bool firstPage = false)
{
    QElapsedTimer t;
    QVector<double> ms;
    qsizetype rows = 0;
    if (firstPage)
        o.pageRows = StatisticPageRows;
    for (int i = 0; i < repeats; ++i) {
        t.start();
        const StatisticTable table = computeStatistic(db, s, o);
        QString why;
        StatisticOptions all = o;
        all.pageRows = 0;
        const qint64 total = firstPage && table.ok && table.rows.size() == o.pageRows ? countStatistic(db, s, all, &why)
                                                                                      : qint64(table.rows.size());
        ms << double(t.nsecsElapsed()) / 1e6;
        if (!table.ok)
            die(what + QStringLiteral(": ") + table.message);
        if (total < 0)
            die(what + QStringLiteral(": ") + why);
        rows = total;
    }
    QString key = what;
    key.replace(u' ', u'_').replace(u',', u'_');
    report(what, key, ms, rows);
    return rows;
}

void timeChart(int bars, int maxBars, int repeats)
{
    StatisticTable many;
    many.statistic = Statistic::Readers;
    many.layout = statisticLayout(Statistic::Readers);
    many.ok = true;
    for (int i = 0; i < bars; ++i)
        many.rows << QVariantList{QString::number(i), QStringLiteral("Nom %1").arg(i), QString(), QString(), qint64(i % 50),
                                  double(i % 50) / 100.0};
    QElapsedTimer t;
    QVector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        t.start();
        StatChartPanel panel;
        panel.resize(1200, 700);
        panel.setData(chartData(many, maxBars));
        QImage image(1200, 700, QImage::Format_ARGB32);
        QPainter painter(&image);
        panel.view()->render(&painter);
        ms << double(t.nsecsElapsed()) / 1e6;
    }
    report(QStringLiteral("chart of %1 rows, %2 bars drawn").arg(bars).arg(qMin(bars, maxBars)),
           QStringLiteral("chart_%1_%2").arg(bars).arg(qMin(bars, maxBars)), ms);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser p;
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."), QStringLiteral("engine"));
    const QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Records."), QStringLiteral("n"),
                                     QStringLiteral("1000000"));
    const QCommandLineOption repeatsOpt(QStringLiteral("repeats"), QStringLiteral("Timings of each measure."),
                                        QStringLiteral("n"), QStringLiteral("5"));
    p.addOptions({engine, rowsOpt, repeatsOpt});
    p.addHelpOption();
    p.process(app);
    const int records = p.value(rowsOpt).toInt(), repeats = p.value(repeatsOpt).toInt();
    if (records < 1000 || repeats <= 0)
        die(QStringLiteral("--rows (at least 1000) and --repeats must be positive"));

    QTemporaryDir dir;
    const ConnectionParams c = benchConnection(p.value(engine), dir.path(), kPgDatabase);
    {
        Database db;
        QString why;
        if (!db.open(c, true, &why) || !createSchema(db, &why))
            die(why);
        actAsBenchAdministrator();
        QElapsedTimer t;
        t.start();
        load(db, records);
        std::printf("== statistics: %s, %d records and copies, %d readers, %d journal operations, %d order lines ==\n",
                    qPrintable(c.engine), records, qMax(10, records / 5), records * 5, records / 2);
        std::printf("load            %8lld ms\n", static_cast<long long>(t.elapsed()));
        std::printf("loans counted: readers %s, records %s\n",
                    qPrintable(db.scalar(QStringLiteral("SELECT SUM(LEC_STAT_PRET) FROM LECTEUR")).toString()),
                    qPrintable(db.scalar(QStringLiteral("SELECT SUM(DOC_PRET_EXTERNE) FROM NOTICE")).toString()));

        for (const StatisticDef &def : statisticDefs()) {
            if (def.statistic == Statistic::NewAcquisitions || def.statistic == Statistic::Acquisitions
                || def.statistic == Statistic::Loans)
                continue;
            const QList<int> limits = def.limits.isEmpty() ? QList<int>{0} : QList<int>{10, 100000};
            for (int limit : limits) {
                StatisticOptions o;
                o.limit = limit;
                const QString what = def.name + (limit ? QStringLiteral(" limit %1").arg(limit) : QString());
                if (timeStatistic(db, def.statistic, o, what, repeats) > StatisticPageRows)
                    timeStatistic(db, def.statistic, o, what + QStringLiteral(", first page"), repeats, true);
            }
        }
        StatisticOptions eight;
        eight.classification = QStringLiteral("8*");
        timeStatistic(db, Statistic::Collection, eight, QStringLiteral("collection 8*"), repeats);

        StatisticOptions year;
        year.from = QDate(2023, 1, 1);
        year.to = QDate(2023, 12, 31);
        const std::pair<StatGrouping, const char *> loanGroups[] = {{StatGrouping::Month, "month"},
                                                                    {StatGrouping::Category, "category"},
                                                                    {StatGrouping::Type, "type"},
                                                                    {StatGrouping::Structure, "structure"}};
        for (const auto &[by, word] : loanGroups) {
            year.by = by;
            timeStatistic(db, Statistic::Loans, year, QStringLiteral("loans over a year by ") + QLatin1String(word), repeats);
        }
        const std::pair<StatGrouping, const char *> acqGroups[] = {{StatGrouping::Type, "type"}, {StatGrouping::Supplier, "supplier"}};
        for (const auto &[by, word] : acqGroups) {
            year.by = by;
            timeStatistic(db, Statistic::Acquisitions, year, QStringLiteral("acquisitions over a year by ") + QLatin1String(word),
                          repeats);
        }
        StatisticOptions month;
        month.from = QDate(2023, 3, 1);
        month.to = QDate(2023, 3, 31);
        timeStatistic(db, Statistic::NewAcquisitions, month, QStringLiteral("new acquisitions over a month"), repeats);
        timeStatistic(db, Statistic::NewAcquisitions, year, QStringLiteral("new acquisitions over a year"), qMin(repeats, 3));
        timeStatistic(db, Statistic::NewAcquisitions, month, QStringLiteral("new acquisitions over a month, first page"),
                      repeats, true);
        timeStatistic(db, Statistic::NewAcquisitions, year, QStringLiteral("new acquisitions over a year, first page"),
                      repeats, true);
        std::printf("peak memory %.0f MB\n", peakMb());
    }
    dropBenchDatabase(c);
    // The chart reads no database: drawn once, after the embedded engine's run.
    if (c.engine != QLatin1String("SQLITE"))
        return 0;
    timeChart(1000, ChartMaxBars, repeats);
    timeChart(100000, ChartMaxBars, repeats);
    // What the chart would cost if it drew every bar: why it draws the first 1,000.
    timeChart(100000, 100000, 1);
    return 0;
}
