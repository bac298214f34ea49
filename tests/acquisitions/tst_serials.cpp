// Serial subscriptions and the claims to late suppliers on both engines:
// an issue awaited leaves its record on order and is claimed until it is
// received; what is late (expected yesterday, not today, never without a
// date; not fully received; validated documents only, never a pre-order)
// is the same in the list, its count and the letter; the letter's tables,
// each only when it has rows, every value escaped, the text's line breaks
// kept, in both languages; the subscription form; folianctl's commands.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/claims.h"
#include "acquisitions/core/receivedcopies.h"
#include "acquisitions/core/serialtexts.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "reports/core/htmlpage.h"
#include "support/folianctl.h"
#include "support/session.h"

#include <QDir>
#include <QTemporaryDir>

using namespace folian;
using namespace folian::test;

namespace {

const QDate kToday(2024, 6, 10);

// A validated document of supplier `supplier` with one line of `copies`
// copies of `record`, expected on `expected` (none when invalid); the line's key.
int validatedLine(Database &db, AcqType type, int supplier, int record, int copies, const QDate &expected,
                  const QString &number = QStringLiteral("BC-1"), bool validate = true)
{
    const int document = newDocument(db, type, number, QDate(2024, 1, 5), supplier);
    LineSheet l;
    l.document = document;
    l.record = record;
    l.copies = QString::number(copies);
    l.price = QStringLiteral("10.00");
    l.expected = expected;
    const AcqResult r = saveLine(db, l);
    if (!r.passed || (validate && !validateDocument(db, document).passed))
        return 0;
    return r.key;
}

// A delivery of the line's document with the line on it; its key.
int delivered(Database &db, int line)
{
    ReceiptRequest q;
    q.document = loadLine(db, line).document;
    q.number = QStringLiteral("BL-%1").arg(line);
    q.date = QDate(2024, 5, 2);
    return receive(db, q).key;
}

// An issue numbered `number` on the line, received or awaited; its key.
int issueOn(Database &db, int line, const QString &number, bool received, const QString &title = QString())
{
    const int delivery = delivered(db, line);
    IssueSheet s;
    s.number = number;
    s.date = QStringLiteral("mai 2024");
    s.title = title;
    s.received = received;
    return addReceivedIssue(db, {line, delivery, AcquisitionMode::Purchase}, s).key;
}

bool copiesOn(Database &db, int line, int n)
{
    const int delivery = delivered(db, line);
    for (int i = 0; i < n; ++i) {
        CopySheet c;
        c.id = QStringLiteral("C%1-%2").arg(line).arg(i);
        if (!addReceivedCopy(db, {line, delivery, AcquisitionMode::Purchase}, c).passed)
            return false;
    }
    return true;
}

struct ClaimCase {
    const char *name;
    std::function<bool(Database &)> setUp;
    QList<int> late;      // the late suppliers, by name (2 "Dar El Gharb" before 1 "L'Harmattan")
    int titles, issues;   // of supplier 1
    int missing;          // copies missing on its first overdue title
};

const ClaimCase kClaims[] = {
    {"expected yesterday", [](Database &db) { return validatedLine(db, AcqType::Order, 1, 1, 2, kToday.addDays(-1)) > 0; },
     {1}, 1, 0, 2},
    {"expected today", [](Database &db) { return validatedLine(db, AcqType::Order, 1, 1, 2, kToday) > 0; }, {}, 0, 0, 0},
    {"expected tomorrow", [](Database &db) { return validatedLine(db, AcqType::Order, 1, 1, 2, kToday.addDays(1)) > 0; }, {}, 0, 0, 0},
    {"no expected date", [](Database &db) { return validatedLine(db, AcqType::Order, 1, 1, 2, QDate()) > 0; }, {}, 0, 0, 0},
    {"partial receipt",
     [](Database &db) {
         const int line = validatedLine(db, AcqType::Order, 1, 4, 5, kToday.addDays(-30));
         return line > 0 && copiesOn(db, line, 2);
     },
     {1}, 1, 0, 3},
    {"fully received",
     [](Database &db) {
         const int line = validatedLine(db, AcqType::Order, 1, 4, 2, kToday.addDays(-30));
         return line > 0 && copiesOn(db, line, 2);
     },
     {}, 0, 0, 0},
    {"order not validated",
     [](Database &db) { return validatedLine(db, AcqType::Order, 1, 1, 2, kToday.addDays(-9), QStringLiteral("BC-1"), false) > 0; },
     {}, 0, 0, 0},
    {"pre-order", [](Database &db) {
         return validatedLine(db, AcqType::PreOrder, 1, 3, 2, kToday.addDays(-9), QStringLiteral("PC-1"), false) > 0;
     },
     {}, 0, 0, 0},
    {"late only by an awaited issue",
     [](Database &db) {
         const int line = validatedLine(db, AcqType::Subscription, 1, 5, 1, QDate(), QStringLiteral("AB-1"));
         return line > 0 && issueOn(db, line, QStringLiteral("12"), false) > 0 && issueOn(db, line, QStringLiteral("11"), true) > 0;
     },
     {1}, 0, 1, 0},
    {"awaited issue received since",
     [](Database &db) {
         const int line = validatedLine(db, AcqType::Subscription, 1, 5, 1, QDate(), QStringLiteral("AB-1"));
         const int issue = line > 0 ? issueOn(db, line, QStringLiteral("12"), false) : 0;
         IssueSheet s = loadIssue(db, issue);
         s.received = true;
         return issue > 0 && updateIssue(db, s).passed;
     },
     {}, 0, 0, 0},
    {"a subscription line expected yesterday",
     [](Database &db) { return validatedLine(db, AcqType::Subscription, 1, 5, 1, kToday.addDays(-1), QStringLiteral("AB-1")) > 0; },
     {1}, 1, 0, 1},
    {"two suppliers, by name",
     [](Database &db) {
         return validatedLine(db, AcqType::Order, 1, 1, 1, kToday.addDays(-1)) > 0
             && validatedLine(db, AcqType::Order, 2, 2, 3, kToday.addDays(-2), QStringLiteral("BC-2")) > 0
             && validatedLine(db, AcqType::Order, 1, 2, 4, kToday.addDays(-3), QStringLiteral("BC-3")) > 0;
     },
     {2, 1}, 2, 0, 4},
};

QList<int> keysOf(Database &db, const SqlText &sql, const char *column)
{
    SqlRows q = db.query(sql.sql, sql.binds);
    QList<int> out;
    while (q.next())
        out << q.value(QLatin1String(column)).toInt();
    return out;
}

int rowsOf(Database &db, const SqlText &sql)
{
    SqlRows q = db.query(sql.sql, sql.binds);
    int n = 0;
    while (q.next())
        ++n;
    return n;
}

QString page(const ReportResult &r)
{
    QString html;
    if (!r.written() || !readHtmlPage(r.path, &html))
        return QString();
    return html;
}

// The letter's cases: what supplier 1 owes, and which captioned tables its letter has.
struct LetterCase {
    const char *name;
    bool title, issue;
};
const LetterCase kLetters[] = {{"two tables", true, true}, {"titles only", true, false}, {"issues only", false, true},
                               {"no table", false, false}};

} // namespace

class TstSerials : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir pages;

private slots:
    void initTestCase() { setUserDataDirectory(pages.path()); }
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("agent.acq");
        session().CurrentUserRole = 2;  // the acquisitions' manager: every acquisition right
    }
    void cleanup() { setMessageSink(nullptr); }

    // An issue awaited leaves its record on order; it is received when the
    // issue is, and an issue received at once receives it.
    void issueStatus_data() { addEngineRows(); }
    void issueStatus()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET STA_ID = 3 WHERE DOC_ID IN (2, 5)")));
        const int line = validatedLine(db, AcqType::Subscription, 1, 5, 1, QDate(), QStringLiteral("AB-1"));
        QVERIFY(line > 0);
        const int awaited = issueOn(db, line, QStringLiteral("7"), false);
        QVERIFY(awaited > 0);
        QCOMPARE(recordStatus(db, 5), 3);
        QCOMPARE(countOf(db, QStringLiteral("SELECT BUL_STATUT FROM NOTICE_BULLETIN WHERE BUL_ID = ?"), {awaited}), 0);
        IssueSheet s = loadIssue(db, awaited);
        s.title = QStringLiteral("Numéro spécial");
        QVERIFY(updateIssue(db, s).passed);
        QCOMPARE(recordStatus(db, 5), 3);
        s.received = true;
        QVERIFY(updateIssue(db, s).passed);
        QCOMPARE(recordStatus(db, 5), 1);

        const int other = validatedLine(db, AcqType::Subscription, 1, 2, 1, QDate(), QStringLiteral("AB-2"));
        QVERIFY(issueOn(db, other, QStringLiteral("1"), true) > 0);
        QCOMPARE(recordStatus(db, 2), 1);
        // Any number of issues on a line of one copy, the counts unchanged.
        QVERIFY(issueOn(db, other, QStringLiteral("2"), true) > 0 && issueOn(db, other, QStringLiteral("3"), false) > 0);
        QCOMPARE(lineValue(db, other, "ACQ_NBR_LIVRE"), 0);
    }

    // The list, its count, each supplier's titles and issues, and whether a
    // letter is written, all from one definition of late.
    void claims_data() { addEngineCaseRows(kClaims); }
    void claims()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QFETCH(int, index);
        const ClaimCase &c = kClaims[index];
        QVERIFY(c.setUp(db));
        QCOMPARE(keysOf(db, lateSuppliersSql(db, kToday), "FOU_ID"), c.late);
        QCOMPARE(lateSupplierCount(db, kToday), int(c.late.size()));
        QCOMPARE(rowsOf(db, overdueTitlesSql(db, 1, kToday)), c.titles);
        QCOMPARE(rowsOf(db, awaitedIssuesSql(1)), c.issues);
        if (c.titles > 0) {
            const SqlText titles = overdueTitlesSql(db, 1, kToday);
            SqlRows q = db.query(titles.sql, titles.binds);
            QVERIFY(q.next());
            QCOMPARE(q.value(QStringLiteral("MANQUANT")).toInt(), c.missing);
        }
        const ReportResult letter = writeClaimLetter(db, 1, kToday);
        QCOMPARE(letter.written(), c.late.contains(1));
        if (!letter.written())
            QCOMPARE(letter.message, acq::supplierNotLate(QStringLiteral("L'Harmattan")));
    }

    // The letter: its tables each only with rows, under their captions; the
    // supplier's particulars, the text and the rows escaped; the text's line
    // breaks kept whatever their form; right to left in Arabic.
    void letter_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("arabic");
        for (const QString &engine : engines())
            for (int i = 0; i < int(std::size(kLetters)); ++i)
                for (const bool arabic : {false, true})
                    QTest::newRow(qPrintable(engine + u' ' + QLatin1String(kLetters[i].name) + (arabic ? u" AR" : u" FR")))
                        << engine << i << arabic;
    }
    void letter()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QFETCH(int, index);
        QFETCH(bool, arabic);
        const LetterCase &c = kLetters[index];
        session().CurrentLanguage = arabic ? QStringLiteral("AR") : QStringLiteral("FR");
        session().ArabicMode = arabic;
        session().LanguageSuffix = arabic ? QStringLiteral("_AR") : QString();
        QVERIFY(db.exec(QStringLiteral("UPDATE FOURNISSEUR SET FOU_LIBELLE = ?, FOU_ADRESSE = ?, FOU_CONTACT = ? WHERE FOU_ID = 1"),
                        {QStringLiteral("O'Brien & <Fils>"), QStringLiteral("شارع الحرية، الجزائر"), QStringLiteral("عبد القادر بن علي")}));
        QVERIFY(db.exec(QStringLiteral("UPDATE PARAMETRE SET RELANCE_FOURNISSEUR = ?"),
                        {QStringLiteral("Madame, Monsieur,\r\nnous attendons <toujours>\nles titres\rsuivants & merci.")}));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = ? WHERE DOC_ID = 1"),
                        {QStringLiteral("Le <b>roman</b> d'Alger")}));
        if (c.title)
            QVERIFY(validatedLine(db, AcqType::Order, 1, 1, 3, kToday.addDays(-1)) > 0);
        if (c.issue) {
            const int line = validatedLine(db, AcqType::Subscription, 1, 5, 1, QDate(), QStringLiteral("AB-1"));
            QVERIFY(issueOn(db, line, QStringLiteral("N°12"), false, QStringLiteral("Spécial <été>")) > 0);
        }
        const ReportResult r = writeClaimLetter(db, 1, kToday);
        if (!c.title && !c.issue) {
            QVERIFY(!r.written());
            QCOMPARE(r.message, acq::supplierNotLate(QStringLiteral("O'Brien & <Fils>")));
            return;
        }
        const QString html = page(r);
        QVERIFY2(!html.isEmpty(), qPrintable(r.message));
        QVERIFY(r.path.endsWith(QStringLiteral("/relanceFournisseur.html")));
        QCOMPARE(html.startsWith(QStringLiteral("<html dir=\"rtl\">")), arabic);
        QVERIFY(html.contains(QStringLiteral("O&#39;Brien &amp; &lt;Fils&gt;")));
        QVERIFY(html.contains(QStringLiteral("شارع الحرية، الجزائر")) && html.contains(QStringLiteral("عبد القادر بن علي")));
        QVERIFY(!html.contains(QStringLiteral("<Fils>")) && !html.contains(QStringLiteral("<toujours>"))
                && !html.contains(QStringLiteral("<b>roman")) && !html.contains(QStringLiteral("<été>")));
        QVERIFY(html.contains(QStringLiteral("Madame, Monsieur,<br>nous attendons &lt;toujours&gt;<br>les titres<br>suivants &amp; merci.")));
        const auto captioned = [&](const QString &caption) {
            const QString escaped = htmlEscape(caption);
            return html.contains(QStringLiteral("<p><b>") + (arabic ? escaped : htmlReferences(escaped)) + QStringLiteral("</b></p>"));
        };
        QCOMPARE(captioned(acq::lateTitlesCaption()), c.title);
        QCOMPARE(captioned(acq::awaitedIssuesCaption()), c.issue);
        QCOMPARE(html.count(QStringLiteral("<table border=\"1\"")), int(c.title) + int(c.issue));
        QCOMPARE(html.contains(QStringLiteral("Le &lt;b&gt;roman&lt;/b&gt; d&#39;Alger")), c.title);
        QCOMPARE(html.contains(QStringLiteral("Sp&#233;cial &lt;&#233;t&#233;&gt;")) || html.contains(QStringLiteral("Spécial &lt;été&gt;")),
                 c.issue);
        if (arabic)
            QVERIFY(html.contains(htmlEscape(acq::claimLetterTitle())));
    }

    // The batch: a letter per late supplier and their list in the directory.
    void batch_data() { addEngineRows(); }
    void batch()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(validatedLine(db, AcqType::Order, 1, 1, 1, kToday.addDays(-1)) > 0);
        QVERIFY(validatedLine(db, AcqType::Order, 2, 2, 1, kToday.addDays(-1), QStringLiteral("BC-2")) > 0);
        QVERIFY(db.exec(QStringLiteral("UPDATE FOURNISSEUR SET FOU_COMPTE = 'C<1>', FOU_EMAIL = 'dar@gharb.dz' WHERE FOU_ID = 2")));
        QTemporaryDir out;
        const QString dir = out.filePath(QStringLiteral("relances"));
        const ClaimBatch b = writeClaims(db, dir, kToday);
        QVERIFY2(b.passed, qPrintable(b.message));
        QCOMPARE(b.suppliers.size(), 2);
        QCOMPARE(b.suppliers.first().name, QStringLiteral("Dar El Gharb"));
        QCOMPARE(QDir(dir).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("listeFournisseur.html"), QStringLiteral("relanceFournisseur-1.html"),
                              QStringLiteral("relanceFournisseur-2.html")}));
        QString list;
        QVERIFY(readHtmlPage(QDir(dir).filePath(QStringLiteral("listeFournisseur.html")), &list));
        QVERIFY(list.contains(QStringLiteral("L&#39;Harmattan")) && list.contains(QStringLiteral("C&lt;1&gt;"))
                && list.contains(QStringLiteral("dar@gharb.dz")));
        QVERIFY(list.indexOf(QStringLiteral("Dar El Gharb")) < list.indexOf(QStringLiteral("L&#39;Harmattan")));

        // Without the claims' right nothing is written.
        session().CurrentUserRole = 5;
        QVERIFY(!writeClaims(db, out.filePath(QStringLiteral("other")), kToday).passed);
        QVERIFY(!QDir(out.filePath(QStringLiteral("other"))).exists());
    }

    // "abonnement.html": the periodicity (empty without one) and the
    // numbering of each title, in both languages.
    void subscriptionForm_data() { addEngineRows(); }
    void subscriptionForm()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET PER_ID = 'h' WHERE DOC_ID = 5")));  // "Trimestriel"
        const int document = newDocument(db, AcqType::Subscription, QStringLiteral("AB<2024>"));
        for (const int record : {5, 2}) {
            LineSheet l;
            l.document = document;
            l.record = record;
            l.copies = QStringLiteral("1");
            l.price = QStringLiteral("120.00");
            l.numbering = QStringLiteral("n° 1 à 12 & hors-série");
            l.subscriptionStart = QDate(2024, 1, 1);
            l.subscriptionEnd = QDate(2024, 12, 31);
            QVERIFY(saveLine(db, l).passed);
        }
        QCOMPARE(documentFormTitle(AcqType::Subscription), acq::subscriptionFormTitle());
        for (const bool arabic : {false, true}) {
            session().ArabicMode = arabic;
            session().LanguageSuffix = arabic ? QStringLiteral("_AR") : QString();
            const ReportResult r = writeOrderForm(db, document);
            const QString html = page(r);
            QVERIFY2(!html.isEmpty(), qPrintable(r.message));
            QVERIFY(r.path.endsWith(QStringLiteral("/abonnement.html")));
            QVERIFY(html.contains(arabic ? QStringLiteral("فصلية") : QStringLiteral("Trimestriel")));
            QVERIFY(html.contains(QStringLiteral("AB&lt;2024&gt;")));
            QCOMPARE(html.count(QStringLiteral("hors-s")), 2);
            // The periodicity of the title without one is blank.
            QVERIFY(html.contains(QStringLiteral("Titre 2</td><td valign=\"top\">&nbsp;</td>")));
            QVERIFY(html.contains(QStringLiteral("240.00")));
        }
    }

    // The commands: a subscription, an awaited issue, the claims written.
    void commands_data() { addEngineRows(); }
    void commands()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        const auto run = [&](const QStringList &args) { return runFolianctl(ini, args); };
        const auto key = [](const CtlRun &r) { return r.code == 0 ? r.out.trimmed().toInt() : 0; };
        const int sub = key(run({QStringLiteral("order-add"), QStringLiteral("--supplier"), QStringLiteral("2"),
                                 QStringLiteral("--number"), QStringLiteral("AB-7"), QStringLiteral("--subscription")}));
        QVERIFY(sub > 0);
        QCOMPARE(loadDocument(db, sub).type, AcqType::Subscription);
        const int line = key(run({QStringLiteral("order-line"), QString::number(sub), QStringLiteral("--record"), QStringLiteral("5"),
                                  QStringLiteral("--copies"), QStringLiteral("1"), QStringLiteral("--numbering"),
                                  QStringLiteral("1-12"), QStringLiteral("--start"), QStringLiteral("2024-01-01")}));
        QVERIFY(line > 0);
        QCOMPARE(loadLine(db, line).numbering, QStringLiteral("1-12"));
        QCOMPARE(run({QStringLiteral("order-validate"), QString::number(sub)}).code, 0);
        const int delivery = key(run({QStringLiteral("receive"), QString::number(sub), QStringLiteral("--number"), QStringLiteral("L1")}));
        QVERIFY(delivery > 0);
        const QStringList issue{QStringLiteral("issue-add"), QString::number(delivery), QString::number(line)};
        CtlRun r = run(issue);
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(acq::issueNumberRequired()), qPrintable(r.out));
        const int awaited = key(run(issue + QStringList{QStringLiteral("--number"), QStringLiteral("3"), QStringLiteral("--date"),
                                                         QStringLiteral("mars 2024"), QStringLiteral("--awaited")}));
        QVERIFY(awaited > 0);
        QVERIFY(!loadIssue(db, awaited).received);

        QTemporaryDir out;
        r = run({QStringLiteral("claims"), out.path(), QStringLiteral("--date"), QStringLiteral("2024-06-10")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.trimmed(), QStringLiteral("2\tDar El Gharb"));
        QVERIFY(QFile::exists(out.filePath(QStringLiteral("relanceFournisseur-2.html"))));
        QVERIFY(QFile::exists(out.filePath(QStringLiteral("listeFournisseur.html"))));
        QCOMPARE(run({QStringLiteral("claims"), out.path(), QStringLiteral("--date"), QStringLiteral("10/06/2024")}).code == 0, false);
    }
};

QTEST_GUILESS_MAIN(TstSerials)
#include "tst_serials.moc"
