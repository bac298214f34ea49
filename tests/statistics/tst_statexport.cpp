// A statistic as it leaves the program, on both engines: the CSV and the
// .xlsx workbook read back (numbers as numbers, right to left in Arabic),
// the page with "O'Brien & <Fils>" and Arabic names in both languages, and
// folianctl stats as a script runs it.

#include "base/cp1256.h"
#include "base/session.h"
#include "statistics/core/statexport.h"
#include "statistics/core/statistics.h"
#include "statistics/core/statisticstexts.h"
#include "statistics/statfixture.h"
#include "support/folianctl.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One member of a zip archive, as the unzip tool gives it.
QString zipMember(const QString &archive, const QString &member)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, member});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

StatisticTable readers(Database &db)
{
    StatisticOptions o;
    o.limit = 10;
    return computeStatistic(db, Statistic::Readers, o);
}

} // namespace

class TstStatExport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserRole = 1;
    }

    void csvFields_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QList<bool>>("numeric");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << QStringList{QStringLiteral("O'Brien & <Fils>"), QStringLiteral("12")}
                               << QList<bool>{false, true} << QStringLiteral("O'Brien & <Fils>,12");
        QTest::newRow("comma and quote") << QStringList{QStringLiteral("Lettres, arts"), QStringLiteral("le \"petit\"")}
                                         << QList<bool>{false, false}
                                         << QStringLiteral("\"Lettres, arts\",\"le \"\"petit\"\"\"");
        // A name a spreadsheet would run as a formula stays a text.
        QTest::newRow("formula") << QStringList{QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("@a"), QStringLiteral("-3")}
                                 << QList<bool>{false, false, true}
                                 << QStringLiteral("\"'=HYPERLINK(\"\"x\"\")\",'@a,-3");
        QTest::newRow("line break") << QStringList{QStringLiteral("a\nb")} << QList<bool>{false} << QStringLiteral("\"a\nb\"");
    }
    void csvFields()
    {
        QFETCH(QStringList, fields);
        QFETCH(QList<bool>, numeric);
        QFETCH(QString, line);
        QCOMPARE(csvLine(fields, numeric), line);
    }

    void csvReadBack_data() { addEngineRows(); }
    void csvReadBack()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        const StatisticTable t = readers(db);
        QVERIFY2(t.ok, qPrintable(t.message));
        const QString path = tdb.dir() + QStringLiteral("lecteurs.csv");
        const ExportResult r = writeStatisticCsv(t, path);
        QVERIFY2(r.ok, qPrintable(r.message));
        QCOMPARE(r.rows, 3);
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines, (QStringList{QStringLiteral("N° Lecteur,Nom,Prénom,Catégorie,Nbr. documents,Taux"),
                                     QStringLiteral("R1,O'Brien & <Fils>,Seán,Étudiants,6,50.00"),
                                     QStringLiteral("R2,بن علي,أحمد,Étudiants,3,25.00"),
                                     QStringLiteral("R3,Durand,Luc,Enseignants,3,25.00")}));
        const ExportResult bad = writeStatisticCsv(t, tdb.dir() + QStringLiteral("absent/x.csv"));
        QVERIFY(!bad.ok);
        QVERIFY(!bad.message.isEmpty());
    }

    void xlsxReadBack_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("arabic");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" FR"))) << e << false;
            QTest::newRow(qPrintable(e + QStringLiteral(" AR"))) << e << true;
        }
    }
    void xlsxReadBack()
    {
        QFETCH(QString, engine);
        QFETCH(bool, arabic);
        FOLIAN_STAT_DB(tdb, db);
        QVERIFY(statInsert(db, "FOURNISSEUR", cols("FOU_ID,FOU_LIBELLE,FOU_TYP"), {{1, QStringLiteral("O'Brien & <Fils>"), 1}}));
        QVERIFY(statInsert(db, "ACQUISITION", cols("ACQ_ID,ACQ_TYP,ACQ_STATUT,FOU_ID"), {{1, 2, 2, 1}}));
        QVERIFY(statInsert(db, "LIVRAISON", cols("LIV_ID,LIV_DATE,ACQ_ID"), {{1, QDate(2024, 5, 2), 1}}));
        QVERIFY(statInsert(db, "ACQUISITION_LIGNE", cols("ACQ_LIGNE_ID,ACQ_ID,DOC_ID,ACQ_PRIX,ACQ_NBR_LIVRE"),
                           {{1, 1, 1, QStringLiteral("3000000.24"), 2}}));
        session().ArabicMode = arabic;
        StatisticOptions o;
        o.from = QDate(2024, 1, 1);
        o.to = QDate(2024, 12, 31);
        o.by = StatGrouping::Supplier;
        const StatisticTable t = computeStatistic(db, Statistic::Acquisitions, o);
        QVERIFY2(t.ok, qPrintable(t.message));
        const QString path = tdb.dir() + QStringLiteral("achats.xlsx");
        const ExportResult r = writeStatisticXlsx(t, path);
        QVERIFY2(r.ok, qPrintable(r.message));
        QVERIFY(!QFile::exists(path + QStringLiteral(".part")));
        const QString sheet = zipMember(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        const QString strings = zipMember(path, QStringLiteral("xl/sharedStrings.xml"));
        QVERIFY2(!sheet.isEmpty(), "the workbook cannot be read back (is unzip installed?)");
        // Copies, amount and rate are numbers; the supplier and the titles are texts.
        QVERIFY2(sheet.contains(QStringLiteral("<c r=\"B2\"><v>2</v></c>")), qPrintable(sheet));
        QVERIFY2(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"C2\" s=\"\\d+\"><v>6000000.48</v></c>"))), qPrintable(sheet));
        QVERIFY2(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"D2\" s=\"\\d+\"><v>100</v></c>"))), qPrintable(sheet));
        QVERIFY(sheet.contains(QStringLiteral("<c r=\"A2\" t=\"s\">")));
        QVERIFY(strings.contains(QStringLiteral("O'Brien &amp; &lt;Fils&gt;")));
        QVERIFY(strings.contains(arabic ? QStringLiteral("المبلغ") : QStringLiteral("Montant")));
        QCOMPARE(sheet.contains(QStringLiteral("rightToLeft=\"1\"")), arabic);
    }

    void page_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("arabic");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" FR"))) << e << false;
            QTest::newRow(qPrintable(e + QStringLiteral(" AR"))) << e << true;
        }
    }
    void page()
    {
        QFETCH(QString, engine);
        QFETCH(bool, arabic);
        FOLIAN_STAT_DB(tdb, db);
        session().ArabicMode = arabic;
        const StatisticTable t = readers(db);
        QVERIFY2(t.ok, qPrintable(t.message));
        const ReportResult r = writeReport(db, statisticReport(t));
        QVERIFY2(r.written(), qPrintable(r.message));
        QCOMPARE(r.rows, 3);
        QVERIFY(r.path.endsWith(QStringLiteral("statistiqueleteur.html")));
        const QString html = decodeCp1256(readAll(r.path));
        QVERIFY(html.contains(QStringLiteral("O&#39;Brien &amp; &lt;Fils&gt;")));
        QVERIFY(!html.contains(QStringLiteral("<Fils>")));
        QVERIFY(html.contains(QStringLiteral("بن علي")));
        QVERIFY(html.contains(QStringLiteral("50.00")));
        QCOMPARE(html.contains(QStringLiteral("dir=\"rtl\"")), arabic);
        QVERIFY(html.contains(arabic ? QStringLiteral("إحصاءات الإعارة حسب القارئ") : QStringLiteral("Statistiques de prêt par lecteur")));
        QVERIFY(html.contains(arabic ? QStringLiteral("النسبة") : QStringLiteral("Taux")));
    }

    void command_data() { addEngineRows(); }
    void command()
    {
        QFETCH(QString, engine);
        FOLIAN_STAT_DB(tdb, db);
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        CtlRun r = runFolianctl(ini, {QStringLiteral("stats"), QStringLiteral("readers"), QStringLiteral("--limit"),
                                      QStringLiteral("2"), QStringLiteral("--csv"), tdb.dir() + QStringLiteral("r.csv"),
                                      QStringLiteral("--xlsx"), tdb.dir() + QStringLiteral("r.xlsx")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed().split(u'\n'),
                 (QStringList{QStringLiteral("R1\tO'Brien & <Fils>\tSeán\tÉtudiants\t6\t50.00"),
                              QStringLiteral("R2\tبن علي\tأحمد\tÉtudiants\t3\t25.00")}));
        QVERIFY(QFile::exists(tdb.dir() + QStringLiteral("r.csv")));
        QVERIFY(QFile::exists(tdb.dir() + QStringLiteral("r.xlsx")));

        r = runFolianctl(ini, {QStringLiteral("stats"), QStringLiteral("collection"), QStringLiteral("--classification"),
                               QStringLiteral("8*")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed().split(u'\n'),
                 (QStringList{QStringLiteral("Monographie\t2\t3\t66.67"), QStringLiteral("Ressource électronique\t1\t0\t33.33")}));

        QVERIFY(statInsert(db, "HISTORIQUE_PRET", cols("HIS_ID,HIS_OPERATION,EXP_ID,DOC_ID,LEC_ID,HIS_DATE"),
                           {{1, 1, QStringLiteral("E1"), 1, QStringLiteral("R1"), QDateTime(QDate(2024, 6, 3), QTime(10, 0))},
                            {2, 2, QStringLiteral("E1"), 1, QStringLiteral("R1"), QDateTime(QDate(2024, 7, 1), QTime(9, 0))}}));
        r = runFolianctl(ini, {QStringLiteral("stats"), QStringLiteral("loans"), QStringLiteral("--from"), QStringLiteral("2024-01-01"),
                               QStringLiteral("--to"), QStringLiteral("2024-12-31"), QStringLiteral("--by"), QStringLiteral("month")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed().split(u'\n'),
                 (QStringList{QStringLiteral("2024-06\t1\t0\t100.00"), QStringLiteral("2024-07\t0\t1\t0.00")}));

        // Refusals and failures: a message and a non-zero status.
        r = runFolianctl(ini, {QStringLiteral("stats"), QStringLiteral("nothing")});
        QVERIFY(r.code != 0);
        r = runFolianctl(ini, {QStringLiteral("stats"), QStringLiteral("loans"), QStringLiteral("--from"), QStringLiteral("2024-02-01"),
                               QStringLiteral("--to"), QStringLiteral("2024-01-01")});
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(stats::periodReversed()), qPrintable(r.out));
        QVERIFY(db.exec(QStringLiteral("DROP TABLE CATEGORIE")));
        r = runFolianctl(ini, {QStringLiteral("stats"), QStringLiteral("categories")});
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(stats::readFailed(QString())), qPrintable(r.out));
    }
};

QTEST_GUILESS_MAIN(TstStatExport)
#include "tst_statexport.moc"
