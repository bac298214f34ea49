// The public catalogue server on both engines, driven over HTTP: searches
// (accents, Arabic variants, apostrophes, "%" and "_"), availability, the
// record page, escaping, what readers never see, oversized requests, a
// write refused on the server's connection, many clients at once, and the
// program's clean stop.

#include "opacfixture.h"
#include "httpclient.h"

#include "admin/core/administration.h"
#include "base/version.h"
#include "support/folianctl.h"
#include "opac/core/opaccatalogue.h"
#include "opac/core/opactexts.h"
#include "opac/server/opacserver.h"
#include "reports/core/htmlpage.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>
#include <csignal>

using namespace folian;
using namespace folian::test;

namespace {

// The records a page links to, in order.
QList<int> linkedRecords(const QString &page)
{
    static const QRegularExpression link(QStringLiteral("/record/([0-9]+)\\?"));
    QList<int> ids;
    for (auto m = link.globalMatch(page); m.hasNext();)
        ids << m.next().captured(1).toInt();
    return ids;
}

// A server of the fixture's database on a free port, in this process.
struct RunningServer {
    explicit RunningServer(const ConnectionParams &connection, int workers = 4)
    {
        opac::Server::Options o;
        o.connection = connection;
        o.port = 0;
        o.workers = workers;
        o.log = [this](const QString &line) { log << line; };
        server = std::make_unique<opac::Server>(o);
        port = server->start(&why);
    }
    std::unique_ptr<opac::Server> server;
    quint16 port = 0;
    QString why;
    QStringList log;
};

// The fixture's server, started (the test fails when it cannot start).
#define FOLIAN_OPAC_SERVER(s, fx)        \
    RunningServer s((fx).connection);    \
    QVERIFY2(s.port, qPrintable(s.why))

struct SearchCase {
    const char *name;
    const char *query;
    QList<int> found;
};

const SearchCase kSearches[] = {
    {"accents ignored", "title=ETE", {2}},
    {"apostrophe typed", "title=d%27alger", {2}},
    {"typographic apostrophe", "title=l%E2%80%99%C3%A9t%C3%A9", {2}},
    {"Arabic variant of a title", "title=%D8%A7%D8%AD%D9%85%D8%AF", {3}},              // احمد finds أحمد
    {"Arabic variant of an author", "author=%D8%A7%D8%AD%D9%85%D8%AF", {3}},
    {"author by surname", "author=feraoun", {1, 2}},
    {"percent is no wildcard", "title=100%25", {4}},
    {"underscore is no wildcard", "title=le_tiret", {4}},
    {"star is the wildcard", "title=lex*", {7}},
    {"subject", "subject=enfance", {1}},
    {"ISBN with hyphens", "number=978-2-02-000000-1", {1}},
    {"language code", "language=ara", {3}},
    {"type and words", "type=a&title=pauvre", {1}},
    {"words joined with and", "title=fils+alger", {}},
    {"a record not public", "title=suggestion", {}},
};

// Thirty public records "Série 00" to "Série 29" (DOC_ID 100 to 129), and
// one the public may not see that would stand first among them.
bool addSeries(Database &db)
{
    for (int i = 0; i < 30; ++i)
        if (!db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, STA_ID) VALUES (?, 'a', ?, 1)"),
                     {100 + i, QStringLiteral("Série %1").arg(i, 2, 10, QLatin1Char('0'))}))
            return false;
    if (!db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, STA_ID) "
                                "VALUES (130, 'a', 'Série 00 suggérée', 2)")))
        return false;
    qint64 changed = 0;
    QString why;
    return refreshSearchColumns(db, &changed, &why);
}

// Bounds of the count over the thirty records of addSeries.
struct CountBoundCase {
    const char *name;
    int bound, count;
    bool more;
    int pages;
};

const CountBoundCase kCountBounds[] = {
    {"all counted", opac::Catalogue::kCountedAtMost, 30, false, 2},
    {"two pages counted", 25, 25, true, 2},
    {"one page counted", 20, 20, true, 1},
    {"part of a page counted", 7, 7, true, 1},
};

} // namespace

class TstOpacServer : public QObject
{
    Q_OBJECT

private slots:
    void searches_data() { addEngineCaseRows(kSearches); }
    void searches()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const SearchCase &c = kSearches[index];
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        FOLIAN_OPAC_SERVER(s, fx);
        for (const char *lang : {"fr", "ar"}) {
            const HttpReply r = httpGet(s.port, QByteArray("/opac/search?") + c.query + "&lang=" + lang);
            QCOMPARE(r.status, 200);
            QList<int> found = linkedRecords(r.text());
            std::sort(found.begin(), found.end());
            QCOMPARE(found, c.found);
        }
    }

    // Each copy's state on the results and on the record page, in both languages.
    void availability_data() { addEngineRows(); }
    void availability()
    {
        QFETCH(QString, engine);
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        FOLIAN_OPAC_SERVER(s, fx);
        for (bool arabic : {false, true}) {
            const opac::Words &w = opac::words(arabic);
            const QString lent = opac::onLoanUntil(fx.due, arabic);
            const struct {
                int record;
                QString state;
            } expected[] = {{1, opac::text(w.available)},
                            {2, lent},
                            {3, opac::text(w.reserved)},
                            {4, opac::text(w.inConsultation)}};
            const QByteArray lang = arabic ? "lang=ar" : "lang=fr";
            for (const auto &e : expected) {
                const HttpReply page = httpGet(s.port, QByteArray("/opac/record/") + QByteArray::number(e.record) + '?' + lang);
                QCOMPARE(page.status, 200);
                QVERIFY2(page.text().contains(QStringLiteral("<td dir=\"auto\">") + htmlEscape(e.state) + u'<'),
                         qPrintable(QStringLiteral("record %1: %2").arg(e.record).arg(e.state)));
            }
            const HttpReply results = httpGet(s.port, "/opac/search?type=a&" + lang);
            QCOMPARE(results.status, 200);
            for (const auto &e : expected)
                QVERIFY2(results.text().contains(u'>' + htmlEscape(e.state) + QStringLiteral("</div>")),
                         qPrintable(e.state));
            QVERIFY(results.text().contains(htmlEscape(opac::foundCount(6, arabic))));
        }
        // The record page: its ISBD, its copies with shelf mark and location,
        // the due date of the loan; the lost copy is not shown.
        const QString record = httpGet(s.port, "/opac/record/2").text();
        QVERIFY(record.contains(QStringLiteral("L&#39;été d&#39;Alger")));
        QVERIFY(record.contains(QStringLiteral("843 FER C2")));
        QVERIFY(record.contains(QStringLiteral("Salle d&#39;étude")));
        QVERIFY(record.contains(opac::shownDate(fx.due)));
        QVERIFY(!httpGet(s.port, "/opac/record/4").text().contains(QStringLiteral("C5")));
        QCOMPARE(httpGet(s.port, "/opac/record/6").status, 404);  // not public
        QCOMPARE(httpGet(s.port, "/opac/record/999").status, 404);
    }

    // Every copy shown of a record is on its page, however many there are.
    void everyCopy_data() { addEngineRows(); }
    void everyCopy()
    {
        QFETCH(QString, engine);
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        const QStringList more{QStringLiteral("C6"), QStringLiteral("C7"), QStringLiteral("C8")};
        for (const QString &number : more)
            QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, EXP_COTE, LOC_ID, "
                                                 "STA_EXP_ID) VALUES (?, 1, 0, ?, 'SAL', 2)"),
                                  {number, QString(QStringLiteral("843 FER ") + number)}));
        FOLIAN_OPAC_SERVER(s, fx);
        const QString record = httpGet(s.port, "/opac/record/1").text();
        for (const QString &number : QStringList{QStringLiteral("C1")} + more)
            QVERIFY2(record.contains(QStringLiteral("843 FER ") + number), qPrintable(number));
    }

    // The records found are counted up to a bound: within it, the exact
    // count; beyond it, the bound and the pages it fills, read in the
    // desktop search's plan, in the same order.
    void countBound_data() { addEngineCaseRows(kCountBounds); }
    void countBound()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const auto [name, bound, count, more, pages] = kCountBounds[index];
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        QVERIFY(addSeries(tdb.db()));
        opac::Catalogue catalogue(tdb.db(), bound);
        opac::Criteria c;
        c.title = QStringLiteral("serie");
        QList<int> ids;
        QString why;
        for (int page = 1; page <= pages; ++page) {
            opac::Results r;
            QCOMPARE(catalogue.search(c, page, false, &r, &why), opac::Outcome::Done);
            QCOMPARE(r.count, count);
            QCOMPARE(r.more, more);
            QCOMPARE(r.pages, pages);
            for (const opac::Hit &h : r.hits)
                ids << h.id;
        }
        QList<int> expected;
        for (int i = 0; i < qMin(30, pages * 20); ++i)
            expected << 100 + i;
        QCOMPARE(ids, expected);
        opac::Results beyond;
        QCOMPARE(catalogue.search(c, pages + 1, false, &beyond, &why), opac::Outcome::OutOfRange);
        c.title = QStringLiteral("nothingatall");
        QCOMPARE(catalogue.search(c, 1, false, &beyond, &why), opac::Outcome::Done);
        QCOMPARE(beyond.count, 0);
        QVERIFY(!beyond.more);
        QCOMPARE(catalogue.search(c, 2, false, &beyond, &why), opac::Outcome::OutOfRange);
    }

    // Results by pages of twenty, with their count; beyond the last page, a 400.
    void pages_data() { addEngineRows(); }
    void pages()
    {
        QFETCH(QString, engine);
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        QVERIFY(addSeries(tdb.db()));
        FOLIAN_OPAC_SERVER(s, fx);
        const QString first = httpGet(s.port, "/opac/search?title=serie").text();
        QCOMPARE(linkedRecords(first).size(), 20);
        QCOMPARE(linkedRecords(first).first(), 100);  // in the order of titles
        QVERIFY(first.contains(htmlEscape(opac::foundCount(30, false))));
        QVERIFY(first.contains(htmlEscape(opac::pageOf(1, 2, false))));
        QVERIFY(first.contains(QLatin1String("page=2")));
        const QString second = httpGet(s.port, "/opac/search?title=serie&page=2").text();
        QCOMPARE(linkedRecords(second), QList<int>({120, 121, 122, 123, 124, 125, 126, 127, 128, 129}));
        QVERIFY(second.contains(htmlEscape(opac::pageOf(2, 2, false))));
        QCOMPARE(httpGet(s.port, "/opac/search?title=serie&page=3").status, 400);
    }

    // Nothing of the reader, of the staff or of the internal notes on any page.
    void privacy_data() { addEngineRows(); }
    void privacy()
    {
        QFETCH(QString, engine);
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        FOLIAN_OPAC_SERVER(s, fx);
        QList<QByteArray> pages;
        for (const char *lang : {"fr", "ar"}) {
            pages << QByteArray("/opac?lang=") + lang << QByteArray("/opac/search?type=a&lang=") + lang;
            for (int id = 1; id <= 5; ++id)
                pages << QByteArray("/opac/record/") + QByteArray::number(id) + "?lang=" + lang;
        }
        const QList<HttpReply> replies = exchange(s.port, pages);
        for (qsizetype i = 0; i < replies.size(); ++i) {
            const QString text = replies[i].text();
            QCOMPARE(replies[i].status, 200);
            for (const QString &secret : {OpacFixture::readerId(), OpacFixture::readerName(), OpacFixture::readerFirstName(),
                                          QStringLiteral("Remarque interne"), QStringLiteral("Note interne")})
                QVERIFY2(!text.contains(secret), qPrintable(QString::fromLatin1(pages[i]) + QStringLiteral(": ") + secret));
        }
    }

    // A title holding a script is shown as text; the headers forbid scripts anyway.
    void escaping_data() { addEngineRows(); }
    void escaping()
    {
        QFETCH(QString, engine);
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        FOLIAN_OPAC_SERVER(s, fx);
        for (const QByteArray &target : {QByteArray("/opac/search?title=dangereux"), QByteArray("/opac/record/5"),
                                         QByteArray("/opac/search?title=%3Cscript%3Ealert(2)%3C/script%3E")}) {
            const HttpReply r = httpGet(s.port, target);
            QCOMPARE(r.status, 200);
            QVERIFY2(!r.text().contains(QLatin1String("<script"), Qt::CaseInsensitive), target.constData());
            QVERIFY(r.text().contains(QLatin1String("&lt;script&gt;")));
            QCOMPARE(r.headers.value("content-type"), QByteArray("text/html; charset=utf-8"));
            QVERIFY(r.headers.value("content-security-policy").contains("default-src 'none'"));
        }
    }

    // Requests beyond the limits get a 400 page, in their language; the server goes on.
    void refusals_data() { addEngineRows(); }
    void refusals()
    {
        QFETCH(QString, engine);
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        FOLIAN_OPAC_SERVER(s, fx);
        const QByteArray manyWords = "/opac/search?lang=ar&title=" + QByteArray("a+").repeated(50);
        const QByteArray thousandsOfWords = "/opac/search?subject=" + QByteArray("a+").repeated(1500);
        const QByteArray bigHeader = "GET /opac HTTP/1.1\r\nHost: x\r\nX-Filler: " + QByteArray(12000, 'x')
            + "\r\nConnection: close\r\n\r\n";
        const struct {
            QByteArray request;
            QString reason;
        } cases[] = {
            {"/opac/search?title=" + QByteArray(6000, 'a'), opac::tooLong(false)},
            {manyWords, opac::tooManyWords(true)},
            {thousandsOfWords, opac::tooLong(false)},
            {"/opac/search?title=alger&page=2", opac::badPage(false)},  // one page only
            {"/opac/search?title=alger&page=0", opac::badPage(false)},
            {"/opac/record/abc", opac::badRecord(false)},
            {bigHeader, opac::tooLong(false)},
            {"POST /opac/search HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\nConnection: close\r\n\r\nabc",
             opac::badMethod(false)},
        };
        for (const auto &c : cases) {
            const HttpReply r = exchange(s.port, {c.request}).first();
            QCOMPARE(r.status, 400);
            QVERIFY2(r.text().contains(htmlEscape(c.reason)), qPrintable(c.reason));
            QCOMPARE(r.headers.value("content-type"), QByteArray("text/html; charset=utf-8"));
        }
        // A request line far beyond what any page needs: refused or cut, never answered with a page.
        const HttpReply huge = httpGet(s.port, "/opac/search?title=" + QByteArray(200000, 'a'));
        QVERIFY(huge.status == 0 || huge.status >= 400);
        QCOMPARE(httpGet(s.port, "/opac/search?title=alger").status, 200);
        QCOMPARE(httpGet(s.port, "/opac/nothing").status, 404);
        QCOMPARE(httpGet(s.port, "/").status, 302);
        // One line of log per request, with its status.
        QVERIFY(!s.log.isEmpty());
        QVERIFY(s.log.last().contains(QLatin1String("GET / 302")));
    }

    // The server's connection only reads: writes are refused by the
    // database, and the readers cannot be read on the shared server.
    void readOnly_data() { addEngineRows(); }
    void readOnly()
    {
        QFETCH(QString, engine);
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        QVERIFY(fx.connection.readOnly);
        Database db;
        QString why;
        QVERIFY2(db.open(fx.connection, false, &why), qPrintable(why));
        QCOMPARE(opac::readerConnectionRefusal(db), QString());
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE")).toInt() == 7);
        QVERIFY(!db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = 'x'")));
        QVERIFY(!db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (99, 'x')")));
        QVERIFY(!db.exec(QStringLiteral("DELETE FROM NOTICE_EXEMPLAIRE")));
        if (engine == QLatin1String("POSTGRESQL")) {
            QVERIFY(!db.query(QStringLiteral("SELECT LEC_NOM FROM LECTEUR")).isActive());
            QVERIFY(!db.query(QStringLiteral("SELECT UTL_LOGIN FROM UTILISATEUR")).isActive());
            // Even with the session's read-only mode turned off, the role cannot write.
            QVERIFY(db.exec(QStringLiteral("SET default_transaction_read_only = off")));
            QVERIFY(!db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = 'x'")));
            // A server told to connect as a role that may write refuses to start.
            RunningServer owner(opac::catalogueConnection(tdb.params(), {}, {}));
            QCOMPARE(owner.port, quint16(0));
            QVERIFY2(owner.why.contains(QLatin1String("only reads")), qPrintable(owner.why));
        }
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE")).toInt(), 7);
    }

    // Fifty readers at once on four workers: every one answered.
    void manyClients_data() { addEngineRows(); }
    void manyClients()
    {
        QFETCH(QString, engine);
        FOLIAN_OPAC_FIXTURE(fx, tdb, engine);
        FOLIAN_OPAC_SERVER(s, fx);
        QList<QByteArray> requests;
        for (int i = 0; i < 50; ++i)
            requests << (i % 3 == 0   ? QByteArray("/opac/search?author=feraoun&lang=ar")
                         : i % 3 == 1 ? QByteArray("/opac/record/") + QByteArray::number(1 + i % 5)
                                      : QByteArray("/opac/search?title=alger"));
        const QList<HttpReply> replies = exchange(s.port, requests);
        int answered = 0;
        for (const HttpReply &r : replies)
            answered += r.status == 200 && r.body.endsWith("</html>\n");
        QCOMPARE(answered, 50);
        QCOMPARE(s.log.size(), 50);
    }

    // folianctl opac-role: the reading role made, granted again, and never
    // made of the workstations' role (which would stop them writing).
    void roleCommand_data() { addEngineRows(); }
    void roleCommand()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        const QString ini = tdb.writeIni();
        const QString reader = QStringLiteral("folian_opac_c%1").arg(QRandomGenerator::global()->generate() % 100000000);
        const QString workstations = reader + QStringLiteral("_poste");
        CtlRun r = runFolianctl(ini, {QStringLiteral("opac-role"), reader, QStringLiteral("--password-stdin")}, "secret-1\n");
        if (engine == QLatin1String("SQLITE")) {
            QVERIFY(r.code != 0);
            QVERIFY2(r.out.contains(QLatin1String("no roles")), qPrintable(r.out));
            return;
        }
        auto drop = qScopeGuard([&] {
            for (const QString &role : {reader, workstations}) {
                tdb.db().exec(QStringLiteral("DROP OWNED BY ") + role);
                tdb.db().exec(QStringLiteral("DROP ROLE IF EXISTS ") + role);
            }
        });
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(QLatin1String("is made")), qPrintable(r.out));
        r = runFolianctl(ini, {QStringLiteral("opac-role"), reader});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(QLatin1String("granted again")), qPrintable(r.out));
        bool ok = false;
        auto may = [&](const QString &role, const char *table, const char *what) {
            return tdb.db().scalar(QStringLiteral("SELECT has_table_privilege(?, ?, ?)"),
                                   {role, QLatin1String(table), QLatin1String(what)}, &ok).toBool();
        };
        QVERIFY(may(reader, "NOTICE", "SELECT") && !may(reader, "NOTICE", "INSERT") && !may(reader, "LECTEUR", "SELECT"));

        bool created = false;
        QString why;
        QVERIFY2(GrantRuntimeRole(tdb.db(), workstations, QStringLiteral("pw-poste"), &created, &why), qPrintable(why));
        r = runFolianctl(ini, {QStringLiteral("opac-role"), workstations});
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(QLatin1String("may change the tables")), qPrintable(r.out));
        QVERIFY(may(workstations, "NOTICE", "INSERT") && may(workstations, "LECTEUR", "UPDATE"));
    }

    // The program: its version, its start on a free port, a request, and a clean stop on SIGTERM.
    void program()
    {
        FOLIAN_OPAC_FIXTURE(fx, tdb, QStringLiteral("SQLITE"));
        QProcess version;
        version.start(QStringLiteral(FOLIAN_OPAC_PATH), {QStringLiteral("--version")});
        QVERIFY(version.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(version.readAllStandardOutput()).trimmed(),
                 QStringLiteral("folian-opac ") + QLatin1String(kVersion));

        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        QProcess p;
        p.start(QStringLiteral(FOLIAN_OPAC_PATH), {QStringLiteral("--ini"), tdb.writeIni(), QStringLiteral("--port"),
                                                   QString::number(port), QStringLiteral("--directory"),
                                                   QStringLiteral("/catalogue/")});
        QVERIFY(p.waitForStarted());
        QByteArray err;
        for (int i = 0; i < 300 && !err.contains("is at http://"); ++i) {
            p.waitForReadyRead(100);
            err += p.readAllStandardError();
        }
        QVERIFY2(err.contains(QByteArray("is at http://127.0.0.1:" + QByteArray::number(port) + "/catalogue")), err.constData());
        const HttpReply r = httpGet(port, "/catalogue/search?title=pauvre");
        QCOMPARE(r.status, 200);
        QCOMPARE(linkedRecords(r.text()), QList<int>{1});
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        err += p.readAllStandardError();
        QVERIFY2(err.contains("GET /catalogue/search?title=pauvre 200"), err.constData());
        QVERIFY(err.contains("folian-opac: stopped"));
    }
};

QTEST_GUILESS_MAIN(TstOpacServer)
#include "tst_opacserver.moc"
