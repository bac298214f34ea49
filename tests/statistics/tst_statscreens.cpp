// The statistics screens offscreen, on both engines: the editions entries
// host the statistics screen on its page, enabled by their rights; a limit
// chosen reads the statistic again; the classification's "Rechercher"
// follows its field; the chart draws one bar per row, and a chart of
// 100,000 rows draws the first 1,000 with a note; the acquisition
// statistics fill their chart page.

#include "base/rights.h"
#include "data/core/shareddata.h"
#include "reports/widgets/frmedition.h"
#include "statistics/core/statisticstexts.h"
#include "statistics/statfixture.h"
#include "statistics/widgets/frmacquisitionstat.h"
#include "statistics/widgets/frmgraphe.h"
#include "statistics/widgets/frmstatistique.h"
#include "statistics/widgets/statchart.h"
#include "statistics/widgets/statisticpage.h"
#include "support/screens.h"
#include "support/session.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace folian;
using namespace folian::test;

class TstStatScreens : public QObject
{
    Q_OBJECT

    RecordingSink sink_;

private slots:
    void init()
    {
        freshSession(sink_);
        logOn(1, QStringLiteral("admin"), 1);
    }

    void editionsHostTheStatistics_data() { addEngineRows(); }
    void editionsHostTheStatistics()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOn(2, QStringLiteral("pret"), int(Role::ResponsablePret));
        for (const QString &entry : {QStringLiteral("BtnStatLecteur"), QStringLiteral("BtnStatPeriode"), QStringLiteral("BtnFonds")})
            setEditionScreen(entry, [](TFrmData &d, const QString &name) -> QWidget * {
                auto *screen = new TFrmStatistique(d);
                screen->showStatistic(*statisticOfEntry(name));
                return screen;
            });
        TFrmEdition edition(data);
        auto *screen = openEntry<TFrmStatistique>(edition, QStringLiteral("BtnStatLecteur"));
        QVERIFY(screen);
        StatisticPage *readers = screen->page(Statistic::Readers);
        QCOMPARE(screen->tabs()->currentWidget(), readers);
        QCOMPARE(readers->grid()->model()->rowCount(), 3);
        QCOMPARE(readers->grid()->model()->index(0, 1).data().toString(), QStringLiteral("O'Brien & <Fils>"));
        // Another limit reads the readers again.
        readers->setLimit(10);
        QCOMPARE(readers->table().rows.size(), 3);
        readers->setLimit(20);
        QCOMPARE(readers->table().options.limit, 20);
        // The collection belongs to the cataloguing's editions: not this user's.
        QVERIFY(!edition.trigger(QStringLiteral("BtnFonds")));
        for (const QString &entry : {QStringLiteral("BtnStatLecteur"), QStringLiteral("BtnStatPeriode"), QStringLiteral("BtnFonds")})
            setEditionScreen(entry, {});
    }

    void collectionFilter_data() { addEngineRows(); }
    void collectionFilter()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmStatistique screen(data);
        screen.showStatistic(Statistic::Collection);
        StatisticPage *page = screen.page(Statistic::Collection);
        QVERIFY(!page->searchButton()->isEnabled());
        page->setClassification(QStringLiteral("8*"));
        QVERIFY(page->searchButton()->isEnabled());
        page->searchButton()->click();
        QCOMPARE(page->table().rows.size(), 2);
        page->setClassification(QStringLiteral("  "));
        QVERIFY(!page->searchButton()->isEnabled());
        QCOMPARE(page->grid()->model()->rowCount(), 0);
    }

    // A statistic of more rows than a page shows its first page and the
    // whole count at once; the grid reads the next page when asked, and the
    // chart and the spreadsheets take every row.
    void gridReadsByPages_data() { addEngineRows(); }
    void gridReadsByPages()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        QList<QVariantList> readers;
        for (int i = 0; i < StatisticPageRows + 500; ++i)
            readers << QVariantList{QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("Lecteur"), 1, 1, 1, 0, 0};
        QVERIFY(statInsert(db, "LECTEUR", cols("LEC_ID,LEC_NOM,CAT_ID,STR_ID,LEC_STAT_PRET,LEC_STATUT,BIB_ID"), readers));
        const int total = StatisticPageRows + 503;  // and the three who borrowed before
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmStatistique screen(data);
        screen.showStatistic(Statistic::Readers);
        StatisticPage *page = screen.page(Statistic::Readers);
        page->setLimit(100000);
        QAbstractItemModel *grid = page->grid()->model();
        QCOMPARE(grid->rowCount(), StatisticPageRows);
        QCOMPARE(page->countText(), QString::number(total));
        QVERIFY(grid->canFetchMore({}));
        grid->fetchMore({});
        QCOMPARE(grid->rowCount(), total);
        QVERIFY(!grid->canFetchMore({}));
        QCOMPARE(grid->index(total - 1, 0).data().toString(), QStringLiteral("P01499"));
        // Only the first page read: the whole is read again for the chart.
        page->setLimit(10000);
        QCOMPARE(grid->rowCount(), StatisticPageRows);
        const StatisticTable whole = page->wholeTable();
        QCOMPARE(whole.rows.size(), total);
        QCOMPARE(chartData(whole).rows, total);
    }

    void chartBars_data() { addEngineRows(); }
    void chartBars()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmStatistique screen(data);
        screen.showStatistic(Statistic::Registered);
        const ChartData three = chartData(screen.page(Statistic::Registered)->table());
        TFrmGraphe graph(three);
        QCOMPARE(graph.chart()->barCount(), 3);
        QVERIFY(graph.chart()->note().isEmpty());

        // 100,000 rows: the first 1,000 are drawn, and the note says so.
        StatisticTable many;
        many.statistic = Statistic::Readers;
        many.layout = statisticLayout(Statistic::Readers);
        many.ok = true;
        for (int i = 0; i < 100000; ++i)
            many.rows << QVariantList{QString::number(i), QStringLiteral("Nom %1").arg(i), QString(), QString(), qint64(1),
                                      0.001};
        TFrmGraphe big(chartData(many));
        QCOMPARE(big.chart()->barCount(), ChartMaxBars);
        QCOMPARE(big.chart()->note(), stats::chartTruncated(ChartMaxBars, 100000));
    }

    void acquisitionChart_data() { addEngineRows(); }
    void acquisitionChart()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        QVERIFY(statInsert(db, "ACQUISITION", cols("ACQ_ID,ACQ_TYP,ACQ_STATUT,FOU_ID"), {{1, 2, 2, 1}}));
        QVERIFY(statInsert(db, "LIVRAISON", cols("LIV_ID,LIV_DATE,ACQ_ID"), {{1, QDate(2024, 5, 2), 1}}));
        QVERIFY(statInsert(db, "ACQUISITION_LIGNE", cols("ACQ_LIGNE_ID,ACQ_ID,DOC_ID,ACQ_PRIX,ACQ_NBR_LIVRE"),
                           {{1, 1, 1, QStringLiteral("10.00"), 2}, {2, 1, 3, QStringLiteral("5.00"), 1}}));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmAcquisitionStat screen(data);
        screen.showStatistic(Statistic::Acquisitions);
        StatisticPage *page = screen.statistics();
        page->setPeriod(QDate(2024, 1, 1), QDate(2024, 12, 31));
        QVERIFY(page->run());
        QCOMPARE(page->countText(), stats::titlesFound(2));
        page->chartButton()->click();
        QCOMPARE(screen.tabs()->currentWidget()->objectName(), QStringLiteral("TabGraphe"));
        QCOMPARE(screen.chart()->barCount(), 2);
        // A period upside down is said on the page.
        page->setPeriod(QDate(2024, 12, 31), QDate(2024, 1, 1));
        QVERIFY(!page->run());
        QCOMPARE(page->statusText(), stats::periodReversed());
        QCOMPARE(page->countText(), stats::searchResult());
    }
};

QTEST_MAIN(TstStatScreens)
#include "tst_statscreens.moc"
