// The report writer on both engines: the page byte for byte in French and
// in Arabic, the letterhead, no rows, failures that say so, stopping
// midway; the office program chosen; pages read in their character set;
// the scratch report database.

#include "base/cp1256.h"
#include "base/outputdir.h"
#include "base/progress.h"
#include "base/session.h"
#include "data/core/database.h"
#include "reports/core/editions.h"
#include "reports/core/htmlpage.h"
#include "reports/core/office.h"
#include "reports/core/report.h"
#include "support/testdb.h"

#include <QFile>
#include <QLocale>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

// The fixture: three readers' loan counts, with a quote, markup, Arabic, a
// character the code page lacks, a NULL and a code without a label.
void seed(Database &db)
{
    TableDef t;
    t.name = QStringLiteral("ESSAI");
    t.columns = {{QStringLiteral("ESS_ID"), ColType::Integer, 0, true},
                 {QStringLiteral("ESS_NOM"), ColType::Text, 80, false},
                 {QStringLiteral("ESS_PRENOM"), ColType::Text, 80, false},
                 {QStringLiteral("ESS_PRETS"), ColType::Integer, 0, false},
                 {QStringLiteral("ESS_TOTAL"), ColType::Integer, 0, false},
                 {QStringLiteral("ESS_DATE"), ColType::Date, 0, false},
                 {QStringLiteral("TYP_ID"), ColType::Text, 1, false}};
    t.primaryKey = {QStringLiteral("ESS_ID")};
    QVERIFY2(db.exec(db.dialect().createTable(t)), qPrintable(db.lastError().text()));
    const QString insert = QStringLiteral("INSERT INTO ESSAI VALUES (?, ?, ?, ?, ?, ?, ?)");
    const QList<QVariantList> rows = {
        {1, QStringLiteral("O'Brien & <Fils>"), QStringLiteral("Seán"), 3, 4, QDate(2024, 3, 5), QStringLiteral("a")},
        {2, QStringLiteral("بن علي"), QStringLiteral("محمد"), 1, 3, QVariant(QMetaType(QMetaType::QDate)),
         QStringLiteral("z")},
        {3, QStringLiteral("Ayşe"), QVariant(QMetaType(QMetaType::QString)), 0, 5, QDate(2023, 12, 31),
         QStringLiteral("c")},
    };
    for (const QVariantList &r : rows)
        QVERIFY2(db.exec(insert, r), qPrintable(db.lastError().text()));
}

Report essai(const QString &fileName = QStringLiteral("essai.html"))
{
    Report r;
    r.fileName = fileName;
    r.french = QStringLiteral("Prêts des lecteurs");
    r.arabic = QStringLiteral("إعارات القراء");
    r.columns = {
        {QStringLiteral("N°"), QStringLiteral("الرقم"), 40, ColumnKind::Number, false, {}},
        {QStringLiteral("Nom"), QStringLiteral("الاسم"), 200, ColumnKind::Text, false, {}},
        {QStringLiteral("Prénom"), QStringLiteral("اللقب"), 150, ColumnKind::Text, false, {}},
        {QStringLiteral("Taux"), QStringLiteral("النسبة"), 60, ColumnKind::Rate, false, {}},
        {QStringLiteral("Date"), QStringLiteral("التاريخ"), 80, ColumnKind::Date, false, {}},
        {QStringLiteral("Type"), QStringLiteral("النوع"), 120, ColumnKind::Code, false,
         {QStringLiteral("TYPE_DOCUMENT"), QStringLiteral("TYP_ID"), QStringLiteral("TYP_LIBELLE")}},
    };
    r.sql = QStringLiteral("SELECT ESS_ID, ESS_NOM, ESS_PRENOM, ESS_PRETS * 100.0 / ESS_TOTAL, ESS_DATE, TYP_ID "
                           "FROM ESSAI WHERE ESS_ID >= ? ORDER BY ESS_ID");
    r.binds = {1};
    return r;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Records the steps; asks to stop after `stopAfter` of them.
class Recorder : public Progress
{
public:
    explicit Recorder(int stopAfter = -1) : stopAfter_(stopAfter) {}
    void step(int done, int total, const QString &text) override
    {
        steps << done;
        totals << total;
        texts << text;
    }
    bool stopped() const override { return stopAfter_ >= 0 && steps.size() >= stopAfter_; }
    QList<int> steps, totals;
    QStringList texts;

private:
    int stopAfter_;
};

const QByteArray kFrenchPage =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1256\"/></head><body>\n"
    "<p align=\"center\"><b>Pr\xEAts des lecteurs</b></p>\n"
    "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">\n"
    "<tr align=\"center\"><td width=\"40\"><b>N&#176;</b></td><td width=\"200\"><b>Nom</b></td>"
    "<td width=\"150\"><b>Pr&#233;nom</b></td><td width=\"60\"><b>Taux</b></td><td width=\"80\"><b>Date</b></td>"
    "<td width=\"120\"><b>Type</b></td></tr>\n"
    "<tr><td align=\"center\" valign=\"top\">1</td><td valign=\"top\">O&#39;Brien &amp; &lt;Fils&gt;</td>"
    "<td valign=\"top\">Se&#225;n</td><td align=\"center\" valign=\"top\">75.00</td>"
    "<td valign=\"top\">05/03/2024</td><td valign=\"top\">Monographie</td></tr>\n"
    "<tr><td align=\"center\" valign=\"top\">2</td><td valign=\"top\">\xC8\xE4 \xDA\xE1\xED</td>"
    "<td valign=\"top\">\xE3\xCD\xE3\xCF</td><td align=\"center\" valign=\"top\">33.33</td>"
    "<td valign=\"top\">&nbsp;</td><td valign=\"top\">&nbsp;</td></tr>\n"
    "<tr><td align=\"center\" valign=\"top\">3</td><td valign=\"top\">Ay&#351;e</td>"
    "<td valign=\"top\">&nbsp;</td><td align=\"center\" valign=\"top\">0.00</td>"
    "<td valign=\"top\">31/12/2023</td><td valign=\"top\">Th\xE8se</td></tr>\n"
    "</table></body></html>\n";

} // namespace

class TstReportWriter : public QObject
{
    Q_OBJECT
    QTemporaryDir home_;
    QString userDir_;

private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        // A directory whose URL needs escaping in the page.
        userDir_ = home_.path() + QStringLiteral("/Mes pages & l'été");
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    void init()
    {
        session() = Session();
        setUserDataDirectory(userDir_);
        QDir(userDir_).removeRecursively();
    }
    void cleanupTestCase() { setUserDataDirectory({}); }

    void frenchPage_data() { addEngineRows(); }
    void frenchPage()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        seed(tdb.db());
        Recorder progress;
        const ReportResult r = writeReport(tdb.db(), essai(), &progress);
        QVERIFY2(r.written(), qPrintable(r.message));
        QCOMPARE(r.rows, 3);
        QCOMPARE(r.path, reportPath(QStringLiteral("essai.html")));
        QCOMPARE(readAll(r.path), kFrenchPage);
        QCOMPARE(progress.steps, (QList<int>{1, 2, 3}));
        QCOMPARE(progress.totals, (QList<int>{3, 3, 3}));
        QCOMPARE(progress.texts.last(), QStringLiteral("Création [") + userDir_ + QStringLiteral("/pages/essai.htm] : 3"));
    }

    // Right to left, Arabic titles and labels, the letterhead beside the page.
    void arabicPage_data() { addEngineRows(); }
    void arabicPage()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        seed(tdb.db());
        const QByteArray picture("BM\x00\x01\xFFletterhead", 15);
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE PARAMETRE SET ENTETE = ?"), {picture}));
        session().setLanguage(QStringLiteral("AR"));
        Report report = essai();
        report.letterhead = true;
        const ReportResult r = writeReport(tdb.db(), report);
        QVERIFY2(r.written(), qPrintable(r.message));
        QCOMPARE(readAll(reportPath(QStringLiteral("entete.bmp"))), picture);
        const QString url = QStringLiteral("file://") + home_.path()
            + QStringLiteral("/Mes%20pages%20&amp;%20l&#39;%C3%A9t%C3%A9/pages/entete.bmp");
        const QString expected =
            QStringLiteral("<html dir=\"rtl\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                           "charset=windows-1256\"/></head><body>\n")
            + QStringLiteral("<p align=\"center\"><b><img src=\"") + url + QStringLiteral("\"></b></p>\n")
            + QStringLiteral("<p align=\"center\">&nbsp;</p>\n"
                             "<p align=\"center\"><b>إعارات القراء</b></p>\n"
                             "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">\n"
                             "<tr align=\"center\"><td width=\"40\"><b>الرقم</b></td><td width=\"200\"><b>الاسم</b></td>"
                             "<td width=\"150\"><b>اللقب</b></td><td width=\"60\"><b>النسبة</b></td>"
                             "<td width=\"80\"><b>التاريخ</b></td><td width=\"120\"><b>النوع</b></td></tr>\n"
                             "<tr><td align=\"center\" valign=\"top\">1</td><td valign=\"top\">O&#39;Brien &amp; &lt;Fils&gt;</td>"
                             "<td valign=\"top\">Seán</td><td align=\"center\" valign=\"top\">75.00</td>"
                             "<td valign=\"top\">05/03/2024</td><td valign=\"top\">كتاب</td></tr>\n"
                             "<tr><td align=\"center\" valign=\"top\">2</td><td valign=\"top\">بن علي</td>"
                             "<td valign=\"top\">محمد</td><td align=\"center\" valign=\"top\">33.33</td>"
                             "<td valign=\"top\">&nbsp;</td><td valign=\"top\">&nbsp;</td></tr>\n"
                             "<tr><td align=\"center\" valign=\"top\">3</td><td valign=\"top\">Ayşe</td>"
                             "<td valign=\"top\">&nbsp;</td><td align=\"center\" valign=\"top\">0.00</td>"
                             "<td valign=\"top\">31/12/2023</td><td valign=\"top\">أطروحة</td></tr>\n"
                             "</table></body></html>\n");
        const QByteArray page = readAll(r.path);
        QCOMPARE(page, encodeCp1256(expected));
        QVERIFY(page.contains("Se&#225;n"));
        QVERIFY(page.contains("Ay&#351;e"));
    }

    // No letterhead stored: the page has none rather than a broken picture.
    void letterheadUnset()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        seed(tdb.db());
        Report report = essai();
        report.letterhead = true;
        const ReportResult r = writeReport(tdb.db(), report);
        QVERIFY(r.written());
        QVERIFY(!readAll(r.path).contains("<img"));
        QVERIFY(!QFile::exists(reportPath(QStringLiteral("entete.bmp"))));
    }

    void noRows_data() { addEngineRows(); }
    void noRows()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        seed(tdb.db());
        Report report = essai();
        report.binds = {100};
        Recorder progress;
        const ReportResult r = writeReport(tdb.db(), report, &progress);
        QVERIFY(r.written());
        QCOMPARE(r.rows, 0);
        QVERIFY(progress.steps.isEmpty());
        const QByteArray header = kFrenchPage.left(kFrenchPage.indexOf("<tr><td"));
        QCOMPARE(readAll(r.path), header + "</table></body></html>\n");
    }

    // A failing query or code lookup says why and claims no page; the
    // previous page stays.
    void failingQuery_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("badLookup");
        QTest::addColumn<QString>("message");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" query FR"))) << e << QStringLiteral("FR") << false
                                                                       << QStringLiteral("La requête du rapport a échoué : ");
            QTest::newRow(qPrintable(e + QStringLiteral(" query AR"))) << e << QStringLiteral("AR") << false
                                                                       << QStringLiteral("فشل استعلام التقرير : ");
            QTest::newRow(qPrintable(e + QStringLiteral(" lookup"))) << e << QStringLiteral("FR") << true
                                                                     << QStringLiteral("La requête du rapport a échoué : ");
        }
    }
    void failingQuery()
    {
        QFETCH(QString, engine);
        QFETCH(QString, language);
        QFETCH(bool, badLookup);
        QFETCH(QString, message);
        FOLIAN_TEST_DB(tdb, engine);
        seed(tdb.db());
        QVERIFY(writeHtmlPage(reportPath(QStringLiteral("essai.html")), QStringLiteral("<html>avant</html>")));
        session().setLanguage(language);
        Report report = essai();
        if (badLookup)
            report.columns.last().lookup.table = QStringLiteral("NO_SUCH_TABLE");
        else
            report.sql = QStringLiteral("SELECT ESS_ID FROM NO_SUCH_TABLE WHERE ESS_ID >= ?");
        const ReportResult r = writeReport(tdb.db(), report);
        QCOMPARE(r.status, ReportResult::Status::Failed);
        QVERIFY2(r.message.startsWith(message), qPrintable(r.message));
        QVERIFY(r.message.size() > message.size());  // the engine's reason follows
        QCOMPARE(readAll(reportPath(QStringLiteral("essai.html"))), QByteArray("<html>avant</html>"));
        // The connection still works after the failure.
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM ESSAI")).toInt(), 3);
    }

    void unwritableDirectory()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        seed(tdb.db());
        // A directory below a plain file cannot be made, not even by root.
        const QString blocker = home_.path() + QStringLiteral("/blocker");
        QVERIFY(writeHtmlPage(blocker, QStringLiteral("x")));
        setUserDataDirectory(blocker + QStringLiteral("/sub"));
        for (const bool letterhead : {false, true}) {
            QVERIFY(tdb.db().exec(QStringLiteral("UPDATE PARAMETRE SET ENTETE = ?"), {QByteArray("BM")}));
            Report report = essai();
            report.letterhead = letterhead;
            const ReportResult r = writeReport(tdb.db(), report);
            QCOMPARE(r.status, ReportResult::Status::Failed);
            QVERIFY2(r.message.startsWith(QStringLiteral("Impossible d'écrire le fichier ")), qPrintable(r.message));
            QVERIFY(r.message.contains(blocker));
        }
    }

    // Stopping midway: the run says Stopped and leaves no page (the
    // previous one stays); rows given by the caller count their total.
    void stopMidway()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        QVERIFY(writeHtmlPage(reportPath(QStringLiteral("liste.html")), QStringLiteral("<html>avant</html>")));
        Report report;
        report.fileName = QStringLiteral("liste.html");
        report.french = QStringLiteral("Liste");
        report.columns = {{QStringLiteral("N"), {}, 0, ColumnKind::Number, false, {}}};
        for (int i = 1; i <= 5; ++i)
            report.rows << QVariantList{i};
        Recorder progress(2);
        const ReportResult r = writeReport(tdb.db(), report, &progress);
        QCOMPARE(r.status, ReportResult::Status::Stopped);
        QCOMPARE(r.rows, 2);
        QCOMPARE(progress.totals, (QList<int>{5, 5}));
        QCOMPARE(readAll(reportPath(QStringLiteral("liste.html"))), QByteArray("<html>avant</html>"));

        Recorder all;
        QVERIFY(writeReport(tdb.db(), report, &all).written());
        QCOMPARE(all.steps.size(), 5);
        const QByteArray page = readAll(reportPath(QStringLiteral("liste.html")));
        QVERIFY(page.contains("<tr align=\"center\"><td><b>N</b></td></tr>\n<tr><td align=\"center\" valign=\"top\">1</td></tr>\n"));
        QVERIFY(page.endsWith("<tr><td align=\"center\" valign=\"top\">5</td></tr>\n</table></body></html>\n"));
    }

    // Without declared columns the query's own columns are listed as text.
    void queryColumns_data() { addEngineRows(); }
    void queryColumns()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Report report;
        report.fileName = QStringLiteral("types.html");
        report.french = QStringLiteral("Types");
        report.sql = QStringLiteral("SELECT TYP_ID, TYP_LIBELLE FROM TYPE_DOCUMENT WHERE TYP_ID IN ('a', 'b') ORDER BY TYP_ID");
        const ReportResult r = writeReport(tdb.db(), report);
        QVERIFY2(r.written(), qPrintable(r.message));
        const QByteArray page = readAll(r.path);
        QVERIFY(page.contains("<tr align=\"center\"><td><b>"));
        QVERIFY(page.toUpper().contains("<TD><B>TYP_LIBELLE</B></TD></TR>"));
        QVERIFY(page.contains("<tr><td valign=\"top\">b</td><td valign=\"top\">Publication en s\xE9rie</td></tr>"));
    }

    void officeProgram_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<int>("program");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("option");
        const int writer = int(OfficeProgram::WordProcessor), calc = int(OfficeProgram::Spreadsheet);
        QTest::newRow("soffice writer") << QStringList{QStringLiteral("soffice")} << writer << QStringLiteral("soffice") << QStringLiteral("--writer");
        QTest::newRow("soffice calc") << QStringList{QStringLiteral("soffice")} << calc << QStringLiteral("soffice") << QStringLiteral("--calc");
        QTest::newRow("libreoffice only") << QStringList{QStringLiteral("libreoffice")} << calc << QStringLiteral("libreoffice") << QStringLiteral("--calc");
        QTest::newRow("soffice first") << QStringList{QStringLiteral("libreoffice"), QStringLiteral("soffice")} << writer << QStringLiteral("soffice") << QStringLiteral("--writer");
        QTest::newRow("not executable") << QStringList{QStringLiteral("soffice.txt")} << writer << QString() << QString();
        QTest::newRow("none") << QStringList() << writer << QString() << QString();
    }
    void officeProgram()
    {
        QFETCH(QStringList, installed);
        QFETCH(int, program);
        QFETCH(QString, expected);
        QFETCH(QString, option);
        QTemporaryDir empty, bin;
        for (const QString &name : installed) {
            const bool executable = !name.endsWith(QLatin1String(".txt"));
            QFile f(bin.filePath(executable ? name : QStringLiteral("soffice")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\n");
            f.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                        : QFile::ReadOwner | QFile::WriteOwner);
        }
        const QString page = QStringLiteral("/tmp/mes pages/liste.html");
        const OfficeCommand cmd = officeCommand(OfficeProgram(program), page, {empty.path(), bin.path()});
        if (expected.isEmpty()) {
            QVERIFY(!cmd.found());
            QVERIFY(officeUnavailableMessage(page).contains(page));
            return;
        }
        QCOMPARE(cmd.program, bin.filePath(expected));
        QCOMPARE(cmd.arguments, (QStringList{option, page}));
    }

    void readPage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString arabic = QStringLiteral("كشاف المؤلفين é");
        QTest::newRow("windows-1256 declared")
            << encodeCp1256(htmlPageOpening(true) + arabic) << htmlPageOpening(true) + arabic;
        const QByteArray utf8Head = "<html><head><meta charset=\"UTF-8\"></head><body>";
        QTest::newRow("utf-8 declared") << QByteArray(utf8Head + arabic.toUtf8())
                                        << QString::fromUtf8(utf8Head) + arabic;
        QTest::newRow("undeclared utf-8") << arabic.toUtf8() << arabic;
        QTest::newRow("undeclared windows-1256") << encodeCp1256(arabic) << arabic;
    }
    void readPage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString path = reportPath(QStringLiteral("lu.html"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QString html;
        QVERIFY(readHtmlPage(path, &html));
        QCOMPARE(html, text);
        QVERIFY(!readHtmlPage(path + QStringLiteral(".absent"), &html));
    }

    void previewOfPage_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("preview");
        const QString rows = QStringLiteral("<table border=\"1\">\n<tr align=\"center\"><td width=\"40\"><b>A</b></td><td><b>B</b></td></tr>\n"
                                            "<tr><td valign=\"top\">1</td><td valign=\"top\">x &lt;y&gt;</td><td>z</td></tr>\n</table>");
        const QString mirrored = QStringLiteral("<table align=\"right\" border=\"1\">\n<tr align=\"center\"><td><b>B</b></td><td width=\"40\"><b>A</b></td></tr>\n"
                                                "<tr><td>z</td><td valign=\"top\">x &lt;y&gt;</td><td valign=\"top\">1</td></tr>\n</table>");
        QTest::newRow("right to left") << htmlPageOpening(true) + rows << htmlPageOpening(true) + mirrored;
        QTest::newRow("left to right") << htmlPageOpening(false) + rows << htmlPageOpening(false) + rows;
        QTest::newRow("aligned table kept") << QStringLiteral("<HTML DIR=rtl><TABLE ALIGN=center><TR><TD>1</TD><TH>2</TH></TR></TABLE>")
                                            << QStringLiteral("<HTML DIR=rtl><TABLE ALIGN=center><TR><TH>2</TH><TD>1</TD></TR></TABLE>");
        QTest::newRow("no table") << htmlPageOpening(true) + QStringLiteral("<p>texte</p>")
                                  << htmlPageOpening(true) + QStringLiteral("<p>texte</p>");
    }
    void previewOfPage()
    {
        QFETCH(QString, page);
        QFETCH(QString, preview);
        QCOMPARE(previewHtml(page), preview);
    }

    // Made when missing, completed when a table is missing, kept otherwise.
    void scratchDatabase()
    {
        QVERIFY(!QFile::exists(scratchDatabasePath()));
        QString why;
        QVERIFY2(ensureScratchDatabase(&why), qPrintable(why));
        ConnectionParams p;
        p.engine = QStringLiteral("SQLITE");
        p.catalog = scratchDatabasePath();
        {
            Database db;
            QVERIFY(db.open(p));
            QStringList tables = db.dialect().tables(db.connection());
            tables.sort();
            QCOMPARE(tables, (QStringList{QStringLiteral("AUTEUR"), QStringLiteral("CATALOGUE"),
                                          QStringLiteral("MATIERE"), QStringLiteral("TITRE")}));
            QVERIFY(db.exec(QStringLiteral("INSERT INTO TITRE (ID, TITRE) VALUES (1, 'Nedjma')")));
            QVERIFY(db.exec(QStringLiteral("DROP TABLE AUTEUR")));
        }
        QVERIFY2(ensureScratchDatabase(&why), qPrintable(why));
        Database db;
        QVERIFY(db.open(p));
        QCOMPARE(db.scalar(QStringLiteral("SELECT TITRE FROM TITRE WHERE ID = 1")).toString(), QStringLiteral("Nedjma"));
        QVERIFY(db.exec(QStringLiteral("SELECT ID, AUTEUR, AUTEUR_TRI, RENVOIS FROM AUTEUR")));

        setUserDataDirectory(home_.path() + QStringLiteral("/blocker/sub"));
        QVERIFY(writeHtmlPage(home_.path() + QStringLiteral("/blocker"), QStringLiteral("x")));
        why.clear();
        QVERIFY(!ensureScratchDatabase(&why));
        QVERIFY(!why.isEmpty());
    }

    // The catalogue pages are previewed only once generated.
    void editionPages()
    {
        const EditionGroup &catalogue = editionMenu().first();
        const EditionEntry *titles = nullptr, *generation = nullptr;
        for (const EditionEntry &e : catalogue.entries) {
            if (e.name == QLatin1String("BtnIndexTitres"))
                titles = &e;
            if (e.name == QLatin1String("BtnGeneration"))
                generation = &e;
        }
        QVERIFY(titles && generation);
        QVERIFY(existingEditionPage(*titles).isEmpty());
        QVERIFY(QDir().mkpath(reportPath(QStringLiteral("titres.html"))));  // a directory is not a page
        QVERIFY(existingEditionPage(*titles).isEmpty());
        QVERIFY(QDir().rmdir(reportPath(QStringLiteral("titres.html"))));
        QVERIFY(writeHtmlPage(reportPath(QStringLiteral("titres.html")), QStringLiteral("<html></html>")));
        QCOMPARE(existingEditionPage(*titles), reportPath(QStringLiteral("titres.html")));
        QVERIFY(existingEditionPage(*generation).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstReportWriter)
#include "tst_reportwriter.moc"
