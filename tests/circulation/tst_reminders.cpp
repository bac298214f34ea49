// Reminders and the circulation lists on both engines: who is late (a loan
// due today is not), with which loans; the reminder letter with awkward
// names, Arabic, and letter texts with every kind of line break; the
// letters of every late reader and folianctl reminders; the nine lists of
// the editions, their rows and their pages.

#include "base/cp1256.h"
#include "base/dates.h"
#include "base/messages.h"
#include "base/progress.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "circulation/reminderfixture.h"
#include "circulation/core/circulationeditions.h"
#include "circulation/core/reminders.h"
#include "data/core/dialect.h"
#include "reports/core/htmlpage.h"
#include "support/folianctl.h"
#include "support/session.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

Q_DECLARE_METATYPE(ReminderKind)
Q_DECLARE_METATYPE(CirculationList)

namespace {

QDate today() { return QDate::currentDate(); }

// The values of one column of a query, in order.
QStringList column(Database &db, const SqlText &q, const QString &name)
{
    SqlRows r = db.query(q.sql, q.binds);
    if (!r.isActive())
        qWarning("%s", qPrintable(db.lastError().text()));
    QStringList out;
    while (r.next())
        out << r.value(name).toString();
    return out;
}

QStringList ids(const char *list) { return QString::fromLatin1(list).split(u' ', Qt::SkipEmptyParts); }

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString shortDate(int fromToday) { return ShowDate(today().addDays(fromToday)); }

} // namespace

class TstReminders : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir pages;

private slots:
    void initTestCase() { setUserDataDirectory(pages.path()); }
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("resp.pret");
        session().CurrentUserRole = 4;
        sink.clear();
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    // --- Who is late, with what ---------------------------------------------------

    void lateReaders_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<ReminderKind>("kind");
        QTest::addColumn<QStringList>("readers");
        QTest::addColumn<QStringList>("loansOfR01");  // the late loans of R01
        QTest::addColumn<QStringList>("loansOfR02");  // due today: none
        for (const QString &engine : engines()) {
            QTest::addRow("%s loans", qPrintable(engine))
                << engine << ReminderKind::Loans << ids("R01 R03") << ids("E1") << QStringList();
            QTest::addRow("%s inter-library", qPrintable(engine))
                << engine << ReminderKind::InterLibrary << ids("R01 R05") << ids("P1") << QStringList();
        }
    }
    void lateReaders()
    {
        QFETCH(QString, engine);
        QFETCH(ReminderKind, kind);
        QFETCH(QStringList, readers);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        const SqlText list = lateReadersSql(db.dialect(), kind, today());
        QCOMPARE(column(db, list, QStringLiteral("LEC_ID")), readers);
        QCOMPARE(column(db, list, QStringLiteral("CAT_LIBELLE")).first(), QStringLiteral("Etudiant"));
        QCOMPARE(column(db, list, QStringLiteral("STR_LIBELLE")).first(), QStringLiteral("Lettres & langues"));
        QCOMPARE(column(db, list, QStringLiteral("LEC_NOM")).first(), kOBrien);
        QCOMPARE(lateReaderCount(db, kind, today()), readers.size());

        const QString key = kind == ReminderKind::Loans ? QStringLiteral("EXP_ID") : QStringLiteral("PEB_EXP_ID");
        QTEST(column(db, lateLoansSql(db.dialect(), kind, QStringLiteral("R01"), today()), key), "loansOfR01");
        QTEST(column(db, lateLoansSql(db.dialect(), kind, QStringLiteral("R02"), today()), key), "loansOfR02");
        // Tomorrow the loans due today are late too.
        const QDate tomorrow = today().addDays(1);
        QVERIFY(column(db, lateReadersSql(db.dialect(), kind, tomorrow), QStringLiteral("LEC_ID")).contains(QStringLiteral("R02")));
        QCOMPARE(column(db, lateLoansSql(db.dialect(), kind, QStringLiteral("R02"), tomorrow), key).size(), 1);
        if (kind == ReminderKind::Loans) {
            const SqlText loans = lateLoansSql(db.dialect(), kind, QStringLiteral("R01"), today());
            QCOMPARE(column(db, loans, QStringLiteral("TITRE")), QStringList{QStringLiteral("Titre 1")});
            QCOMPARE(column(db, loans, QStringLiteral("TITRE_COMPLET")), QStringList{QStringLiteral("Titre 1 : suite & fin")});
        } else {
            const SqlText loans = lateLoansSql(db.dialect(), kind, QStringLiteral("R01"), today());
            QCOMPARE(column(db, loans, QStringLiteral("BIB_NOM")), QStringList{QStringLiteral("Bibliothèque <centrale>")});
            // Returned late loans are not reminded.
            QVERIFY(column(db, lateLoansSql(db.dialect(), kind, QStringLiteral("R04"), today()), key).isEmpty());
        }
    }

    // --- The letter -------------------------------------------------------------------

    void letter_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");  // the text as the page holds it; empty: no paragraph
        const QString expected = QStringLiteral("<p><b>Madame, Monsieur,<br>Rendez &amp; vite<br><br>&lt;Merci&gt;</b></p>");
        for (const QString &engine : engines()) {
            const QByteArray name = engine.toLatin1();
            const char *e = name.constData();
            QTest::addRow("%s CR LF", e) << engine << QStringLiteral("Madame, Monsieur,\r\nRendez & vite\r\n\r\n<Merci>") << expected;
            QTest::addRow("%s LF", e) << engine << QStringLiteral("Madame, Monsieur,\nRendez & vite\n\n<Merci>") << expected;
            QTest::addRow("%s CR", e) << engine << QStringLiteral("Madame, Monsieur,\rRendez & vite\r\r<Merci>") << expected;
            QTest::addRow("%s mixed", e) << engine << QStringLiteral("Madame, Monsieur,\r\nRendez & vite\n\r<Merci>") << expected;
            QTest::addRow("%s empty", e) << engine << QString() << QString();
        }
    }
    void letter()
    {
        QFETCH(QString, engine);
        QFETCH(QString, text);
        QFETCH(QString, written);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        QVERIFY(db.exec(QStringLiteral("UPDATE PARAMETRE SET RELANCE_LECTEUR = ?"), {text.isEmpty() ? QVariant() : QVariant(text)}));

        ReportResult page = writeReminder(db, ReminderKind::Loans, QStringLiteral("R01"), today());
        QVERIFY2(page.written(), qPrintable(page.message));
        QCOMPARE(QFileInfo(page.path).fileName(), QStringLiteral("relancelecteur.html"));
        QString html;
        QVERIFY(readHtmlPage(page.path, &html));
        QVERIFY(html.startsWith(QLatin1String("<html><head>")));
        QVERIFY(html.contains(QLatin1String("charset=windows-1256")));
        if (written.isEmpty())
            QVERIFY(!html.contains(QLatin1String("<p><b>")));
        else
            QVERIFY2(html.contains(written), qPrintable(html));
        QVERIFY(!html.contains(u'\r'));
        for (const char *piece : {"Lettre de relance", "N&#176; lecteur : ", "Pr&#233;nom : ", "Adresse : ",
                                  "O&#39;Brien &amp; &lt;Fils&gt;", "<td width=\"100\"><b>N&#176; exemplaire</b></td>",
                                  "<td width=\"60\"><b>Cote</b></td>", "<td width=\"280\"><b>Titre</b></td>",
                                  "<td width=\"90\"><b>Date pr&#234;t</b></td>", "Titre 1 : suite &amp; fin", "840 OBR",
                                  "</table>"})
            QVERIFY2(html.contains(QLatin1String(piece)), piece);
        QVERIFY(html.endsWith(QLatin1String("</body></html>\n")));
        QVERIFY(html.contains(QLatin1String("Se&#225;n")));  // a letter the code page lacks
        QVERIFY(html.contains(shortDate(-3)));
        // Only this kind of loan: not the copy that is not due, not the inter-library loan.
        QVERIFY(!html.contains(QLatin1String("E2")));
        QVERIFY(!html.contains(QLatin1String("P1")));

        page = writeReminder(db, ReminderKind::InterLibrary, QStringLiteral("R01"), today());
        QVERIFY2(page.written(), qPrintable(page.message));
        QVERIFY(readHtmlPage(page.path, &html));
        for (const char *piece : {"P1", "Livre pr", "Ibn Khaldoun",
                                  "<td width=\"140\"><b>Auteur</b></td>", "<td width=\"140\"><b>Biblioth&#232;que</b></td>"})
            QVERIFY2(html.contains(QLatin1String(piece)), piece);
        QVERIFY(html.contains(QStringLiteral("Bibliothèque &lt;centrale&gt;")));
        QVERIFY(!html.contains(QLatin1String(">E1<")));

        QVERIFY(!writeReminder(db, ReminderKind::Loans, QStringLiteral("NOBODY"), today()).written());
    }

    // Arabic: right to left, Arabic captions and names, and the letterhead.
    void arabicLetter_data() { addEngineRows(); }
    void arabicLetter()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        const QByteArray picture("BM-letterhead");
        QVERIFY(db.exec(QStringLiteral("UPDATE PARAMETRE SET ENTETE = ?, RELANCE_LECTEUR = ?"),
                        {picture, QStringLiteral("نرجو إرجاع الوثائق\nشكرا")}));
        session().setLanguage(QStringLiteral("AR"));
        const ReportResult page = writeReminder(db, ReminderKind::Loans, QStringLiteral("R02"), today().addDays(1));
        QVERIFY2(page.written(), qPrintable(page.message));
        QString html;
        QVERIFY(readHtmlPage(page.path, &html));
        QVERIFY(html.startsWith(QLatin1String("<html dir=\"rtl\">")));
        for (const QString &piece : {QStringLiteral("رسالة تذكير"), QStringLiteral("رقم القارئ : "), QStringLiteral("العلوي"),
                                     QStringLiteral("فاطمة"), QStringLiteral("نرجو إرجاع الوثائق<br>شكرا"),
                                     QStringLiteral("رقم النسخة"), QStringLiteral("E3"), QStringLiteral("entete.bmp")})
            QVERIFY2(html.contains(piece), qPrintable(piece));
        QCOMPARE(fileBytes(QFileInfo(page.path).dir().filePath(QStringLiteral("entete.bmp"))), picture);
        // Arabic is written in the code page itself, not as references.
        QVERIFY(fileBytes(page.path).contains(QByteArray("\xD1\xD3\xC7\xE1\xC9"))); // رسالة
    }

    // --- Every late reader at once ------------------------------------------------------

    void allLetters_data() { addEngineRows(); }
    void allLetters()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        QTemporaryDir out;
        const QString dir = out.filePath(QStringLiteral("relances/nuit"));
        ReminderBatch batch;
        QVERIFY2(writeAllReminders(db, dir, today(), &batch), qPrintable(batch.message));
        QCOMPARE(batch.loanLetters, 2);
        QCOMPARE(batch.interLibraryLetters, 2);
        QStringList names = QDir(dir).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        QCOMPARE(names, ids("relance-peb-R01.html relance-peb-R05.html relance-pret-R01.html relance-pret-R03.html"));
        QString html;
        QVERIFY(readHtmlPage(QDir(dir).filePath(QStringLiteral("relance-pret-R03.html")), &html));
        QVERIFY(html.contains(QLatin1String(">E4<")));
        QVERIFY(!html.contains(QLatin1String(">E1<")));

        // A number a file name cannot hold.
        QVERIFY(db.exec(QStringLiteral("UPDATE LECTEUR SET LEC_ID = 'A/B' WHERE LEC_ID = 'R03'")));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'A/B' WHERE LEC_ID = 'R03'")));
        batch = ReminderBatch();
        QVERIFY2(writeAllReminders(db, dir, today(), &batch), qPrintable(batch.message));
        QVERIFY(QFile::exists(QDir(dir).filePath(QStringLiteral("relance-pret-A_B.html"))));

        // Stopped midway: the batch says it did not finish.
        struct StopAtOnce : Progress {
            bool stopped() const override { return true; }
        } stop;
        batch = ReminderBatch();
        QVERIFY(!writeAllReminders(db, dir, today(), &batch, &stop));
        QCOMPARE(batch.files.size(), 1);
        QVERIFY(!batch.message.isEmpty());
    }

    void folianctlReminders_data() { addEngineRows(); }
    void folianctlReminders()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(seed(tdb.db()));
        QVERIFY(addCommandAdministrator(tdb.db()));
        QTemporaryDir out;
        const QString ini = tdb.writeIni();
        CtlRun r = runFolianctl(ini, {QStringLiteral("reminders"), out.path()});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(QStringLiteral("2 lettre(s) de relance (pr\u00eat) et 2 lettre(s) de relance (PEB)")),
                 qPrintable(r.out));
        QCOMPARE(QDir(out.path()).entryList({QStringLiteral("relance-*.html")}).size(), 4);
        // As of tomorrow the loans due today are late too.
        const QString tomorrow = today().addDays(1).toString(Qt::ISODate);
        r = runFolianctl(ini, {QStringLiteral("reminders"), out.path(), QStringLiteral("--date"), tomorrow});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(QStringLiteral("3 lettre(s) de relance (pr\u00eat) et 3 lettre(s)")), qPrintable(r.out));
        QVERIFY(runFolianctl(ini, {QStringLiteral("reminders")}).code != 0);
        QVERIFY(runFolianctl(ini, {QStringLiteral("reminders"), out.path(), QStringLiteral("--date"), QStringLiteral("demain")}).code
                != 0);
    }

    // --- The nine lists ----------------------------------------------------------------

    void lists_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<CirculationList>("list");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("keys");     // the first column, in order
        QTest::addColumn<QStringList>("readers");  // the reader column of document lists
        using L = CirculationList;
        for (const QString &engine : engines()) {
            const QByteArray name = engine.toLatin1();
            const char *e = name.constData();
            QTest::addRow("%s borrowed", e) << engine << L::Borrowed << "DocEmpruntes.html" << ids("E1 E2 E3 E4")
                                            << ids("R01 R01 R02 R03");
            QTest::addRow("%s overdue", e) << engine << L::Overdue << "DocNonRemis.html" << ids("E1 E4") << ids("R01 R03");
            QTest::addRow("%s lost", e) << engine << L::Lost << "DocPerdus.html" << ids("E6") << QStringList{QString()};
            // E5 is back, held for R06: nobody borrows it.
            QTest::addRow("%s reserved", e) << engine << L::Reserved << "DocReserves.html" << ids("E5") << QStringList{QString()};
            QTest::addRow("%s suspended", e) << engine << L::Suspended << "LecSuspendus.html" << ids("R03 R05") << QStringList();
            QTest::addRow("%s penalised", e) << engine << L::Penalised << "LecPenalises.html" << ids("R04 R05") << QStringList();
            QTest::addRow("%s late readers", e) << engine << L::LateReaders << "LecIrreguliers.html" << ids("R01 R03 R05")
                                                << QStringList();
            QTest::addRow("%s inter-library", e) << engine << L::InterLibraryBorrowed << "DocEmpruntesPEB.html"
                                                 << ids("P1 P2 P3") << ids("R01 R02 R05");
            QTest::addRow("%s inter-library overdue", e) << engine << L::InterLibraryOverdue << "DocNonRemisPEB.html"
                                                         << ids("P1 P3") << ids("R01 R05");
        }
    }
    void lists()
    {
        QFETCH(QString, engine);
        QFETCH(CirculationList, list);
        QFETCH(QString, fileName);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, readers);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        const CirculationEdition &e = circulationEdition(list);
        QCOMPARE(e.list, list);
        const SqlText sql = circulationListSql(db.dialect(), list, today());
        QCOMPARE(column(db, sql, e.columns.first().field), keys);
        if (e.tab == EditionTab::Documents)
            QCOMPARE(column(db, sql, QStringLiteral("NUM_LECTEUR")), readers);
        if (e.tab == EditionTab::InterLibrary)
            QCOMPARE(column(db, sql, QStringLiteral("LEC_ID")), readers);

        const Report report = circulationListReport(db.dialect(), list, today());
        QCOMPARE(report.fileName, fileName);
        QVERIFY(report.letterhead);
        const ReportResult page = writeReport(db, report);
        QVERIFY2(page.written(), qPrintable(page.message));
        QCOMPARE(page.rows, keys.size());
        QCOMPARE(QFileInfo(page.path).fileName(), fileName);
        QString html;
        QVERIFY(readHtmlPage(page.path, &html));
        QVERIFY(html.contains(QLatin1String("<p align=\"center\"><b>") + htmlEscape(report.french)));
        for (const QString &key : keys)
            QVERIFY2(html.contains(QStringLiteral("<tr><td valign=\"top\">") + key + QStringLiteral("</td>")), qPrintable(key));
    }

    // The list of reserved documents names the borrower, as every list of
    // documents does, not the reader who reserved the copy.
    void reservedListNamesTheBorrower_data() { addEngineRows(); }
    void reservedListNamesTheBorrower()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        QVERIFY(addCopy(db, 8, QStringLiteral("E8"), QStringLiteral("a"), QStringLiteral("R02"), day(4), QStringLiteral("R06")));
        const SqlText sql = circulationListSql(db.dialect(), CirculationList::Reserved, today());
        QCOMPARE(column(db, sql, QStringLiteral("EXP_ID")), ids("E5 E8"));
        QCOMPARE(column(db, sql, QStringLiteral("NUM_LECTEUR")), (QStringList{QString(), QStringLiteral("R02")}));
        QCOMPARE(column(db, sql, QStringLiteral("LEC_PRENOM")), (QStringList{QString(), QStringLiteral("فاطمة")}));
    }

    // The columns the lists show beyond their keys.
    void listValues_data() { addEngineRows(); }
    void listValues()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        const Dialect &d = db.dialect();
        const SqlText overdue = circulationListSql(d, CirculationList::Overdue, today());
        QCOMPARE(column(db, overdue, QStringLiteral("TITRE")).first(), QStringLiteral("Titre 1 : suite & fin"));
        QCOMPARE(column(db, overdue, QStringLiteral("LEC_NOM")).first(), kOBrien);
        QCOMPARE(column(db, overdue, QStringLiteral("CAT_LIBELLE")), ids("Etudiant Etudiant"));
        QVERIFY(!column(db, overdue, QStringLiteral("TYPE")).first().isEmpty());
        const SqlText late = circulationListSql(d, CirculationList::LateReaders, today());
        // R01 holds two copies and one open inter-library loan; R05 one inter-library loan.
        QCOMPARE(column(db, late, QStringLiteral("NBR")), ids("3 1 1"));
        QCOMPARE(column(db, late, QStringLiteral("CAT_LIBELLE")), ids("Etudiant Etudiant Enseignant"));
        QCOMPARE(column(db, circulationListSql(d, CirculationList::Suspended, today()), QStringLiteral("LEC_MOTIF")),
                 (QStringList{QStringLiteral("Retards répétés"), QStringLiteral("Livre abîmé")}));
        // Only the list of suspended readers shows the reason.
        QCOMPARE(circulationEdition(CirculationList::Penalised).columns.size(), 5);
        QCOMPARE(circulationEdition(CirculationList::Suspended).columns.size(), 6);
    }

    // A small page byte for byte: the heading cells with their widths, an
    // amount, an escaped shelf mark, a copy on nobody's card.
    void lostPageBytes_data() { addEngineRows(); }
    void lostPageBytes()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        const ReportResult page = writeReport(db, circulationListReport(db.dialect(), CirculationList::Lost, today()));
        QVERIFY2(page.written(), qPrintable(page.message));
        const QByteArray type = encodeCp1256(htmlEscape(
            db.scalar(QStringLiteral("SELECT TYP_LIBELLE FROM TYPE_DOCUMENT WHERE TYP_ID = 'a'")).toString()));
        const QByteArray expected =
            "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1256\"/></head><body>\n"
            "<p align=\"center\"><b>Documents perdus</b></p>\n"
            "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">\n"
            "<tr align=\"center\"><td width=\"80\"><b>Num&#233;ro</b></td><td width=\"60\"><b>Cote</b></td>"
            "<td width=\"260\"><b>Titre</b></td><td width=\"40\"><b>Type de document</b></td>"
            "<td width=\"50\"><b>Prix unitaire</b></td><td width=\"80\"><b>N&#176; lecteur</b></td>"
            "<td width=\"50\"><b>Nom</b></td><td width=\"50\"><b>Pr&#233;nom</b></td>"
            "<td width=\"50\"><b>Cat&#233;gorie</b></td><td width=\"50\"><b>Date pr&#234;t</b></td>"
            "<td width=\"50\"><b>Date retour</b></td><td width=\"50\"><b>Date r&#233;servation</b></td></tr>\n"
            "<tr><td valign=\"top\">E6</td><td valign=\"top\">ZZ &lt;6&gt;</td><td valign=\"top\">Titre 6</td>"
            "<td valign=\"top\">" + type + "</td><td align=\"center\" valign=\"top\">12.00</td>"
            "<td valign=\"top\">&nbsp;</td><td valign=\"top\">&nbsp;</td><td valign=\"top\">&nbsp;</td>"
            "<td valign=\"top\">&nbsp;</td><td valign=\"top\">&nbsp;</td><td valign=\"top\">&nbsp;</td>"
            "<td valign=\"top\">&nbsp;</td></tr>\n"
            "</table></body></html>\n";
        QCOMPARE(fileBytes(page.path), expected);
    }

    // Arabic pages: right to left, Arabic titles and headings.
    void arabicList_data() { addEngineRows(); }
    void arabicList()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(seed(db));
        session().setLanguage(QStringLiteral("AR"));
        const Report report = circulationListReport(db.dialect(), CirculationList::InterLibraryOverdue, today());
        const ReportResult page = writeReport(db, report);
        QVERIFY2(page.written(), qPrintable(page.message));
        QString html;
        QVERIFY(readHtmlPage(page.path, &html));
        QVERIFY(html.startsWith(QLatin1String("<html dir=\"rtl\">")));
        for (const QString &piece : {QStringLiteral("الوثائق غير المرجعة (الإعارة بين المكتبات)"), QStringLiteral("رقم القارئ"),
                                     QStringLiteral("Ibn Khaldoun"), QStringLiteral("P3")})
            QVERIFY2(html.contains(piece), qPrintable(piece));
        QCOMPARE(circulationEdition(CirculationList::Borrowed).screenTitle(), QStringLiteral("التقارير - الوثائق المعارة"));
        session().setLanguage(QStringLiteral("FR"));
        QCOMPARE(circulationEdition(CirculationList::InterLibraryBorrowed).screenTitle(),
                 QStringLiteral("Edition - Documents empruntés (PEB)"));
    }
};

QTEST_GUILESS_MAIN(TstReminders)
#include "tst_reminders.moc"
