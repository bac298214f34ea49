// Copy cataloguing over the network, on 127.0.0.1: a small SRU service
// started by the test (UNIMARC XML in French and Arabic, one record that
// declares ISO 5426, a diagnostic, a malformed record, a service that never
// answers) and yaz-ztest as a Z39.50 server (the protocol's path, its
// diagnostics, and the MARC 21 records it serves, refused). folianctl's
// commands on both engines: a record imported twice is one record.

#include "catalogue/copy/copysearch.h"
#include "catalogue/copy/copytexts.h"
#include "catalogue/copy/targets.h"
#include "copyfixture.h"
#include "support/folianctl.h"
#include "support/testdb.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace folian;
using namespace folian::copy;

namespace {

CopyTarget sruTarget(const QString &url, int timeout = 10)
{
    CopyTarget t = *parseSruAddress(url, nullptr);
    t.name = QStringLiteral("Union");
    t.timeout = timeout;
    return t;
}

CopyTarget zTarget(int port, const QString &database)
{
    CopyTarget t = *parseZ3950Address(QStringLiteral("127.0.0.1:%1/%2").arg(port).arg(database), nullptr);
    t.name = QStringLiteral("ztest");
    t.timeout = 10;
    return t;
}

CopySearchResult search(const CopyTarget &t, const CopyCriteria &c)
{
    const std::atomic<bool> stop{false};
    return searchTarget(t, c, *networkTransport(), stop);
}

// A port nobody listens on.
int closedPort()
{
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost, 0))
        return 0;
    const int port = s.serverPort();
    s.close();
    return port;
}

// yaz-ztest on a port of its own, stopped with the object.
class ZTest
{
public:
    ZTest()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("yaz-ztest"));
        if (program.isEmpty())
            return;
        port_ = closedPort();
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(program, {QStringLiteral("-l"), QStringLiteral("/dev/null"), QStringLiteral("tcp:127.0.0.1:%1").arg(port_)});
        if (!process_.waitForStarted())
            return;
        for (int i = 0; i < 100; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, quint16(port_));
            if (probe.waitForConnected(100)) {
                ready_ = true;
                return;
            }
            QTest::qWait(50);
        }
    }
    ~ZTest()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished();
    }
    bool ready() const { return ready_; }
    int port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
    bool ready_ = false;
};

} // namespace

class TstCopyNetwork : public QObject
{
    Q_OBJECT

private slots:
    void sru_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");  // titles found, "|" between
        QTest::newRow("French by ISBN") << "978-2-07-061275-8" << "" << "L'Étranger : récit d'été";
        QTest::newRow("Arabic by ISBN") << "9789953686019" << "" << "الأيام";
        QTest::newRow("declared ISO 5426") << "9782253006329" << "" << "Œuvres complètes de Molière";
        QTest::newRow("by title words") << "" << "étranger récit" << "L'Étranger : récit d'été";
        QTest::newRow("Arabic title word") << "" << "الأيام" << "الأيام";
        QTest::newRow("nothing found") << "9780000000002" << "" << "";
    }
    void sru()
    {
        QFETCH(QString, number);
        QFETCH(QString, title);
        QFETCH(QString, expected);
        copy::test::SruServer server;
        QVERIFY(server.port() > 0);
        const CopySearchResult r = search(sruTarget(server.url("/sru")), {number, title, {}, 10});
        QVERIFY2(r.passed, qPrintable(r.message));
        QStringList titles;
        for (const CopyHit &h : r.records) {
            QVERIFY2(h.ok(), qPrintable(h.error));
            titles << h.title;
        }
        QCOMPARE(titles.join(u'|'), expected);
        QCOMPARE(r.hits, qint64(titles.size()));
    }

    void failures()
    {
        copy::test::SruServer server;
        // A diagnostic of the service, with its number and its words.
        CopySearchResult r = search(sruTarget(server.url("/diagnostic")), {{}, QStringLiteral("x"), {}, 10});
        QVERIFY(!r.passed);
        QVERIFY2(r.message.startsWith(diagnostic(QStringLiteral("Union"), 16, QString())), qPrintable(r.message));

        // Nobody listening.
        r = search(sruTarget(QStringLiteral("http://127.0.0.1:%1/sru").arg(closedPort())), {QStringLiteral("1"), {}, {}, 10});
        QVERIFY(!r.passed);
        QVERIFY2(r.message.startsWith(unreachable(QStringLiteral("Union"), QString()).section(u'(', 0, 0)),
                 qPrintable(r.message));

        // A service that takes the connection and never answers: the time-out holds.
        QElapsedTimer clock;
        clock.start();
        r = search(sruTarget(server.url("/silent"), 2), {QStringLiteral("1"), {}, {}, 10});
        QVERIFY(!r.passed);
        QCOMPARE(r.message, timedOut(QStringLiteral("Union"), 2));
        QVERIFY2(clock.elapsed() < 60000, "the search waited far beyond its time-out");
        QVERIFY(server.service().requests() >= 1);

        // Malformed records are said, one by one; the search itself answered.
        r = search(sruTarget(server.url("/broken")), {QStringLiteral("1"), {}, {}, 10});
        QVERIFY2(r.passed, qPrintable(r.message));
        QCOMPARE(r.records.size(), 2);
        for (const CopyHit &h : r.records)
            QVERIFY2(h.error.startsWith(malformedRecord(QString())), qPrintable(h.error));
    }

    // The limit reaches the service: no more records are fetched.
    void limit()
    {
        copy::test::SruServer server;
        const CopySearchResult r = search(sruTarget(server.url("/sru")), {{}, QStringLiteral("e"), {}, 1});
        QVERIFY2(r.passed, qPrintable(r.message));
        QCOMPARE(r.records.size(), 1);
        QVERIFY(r.hits >= 2);
    }

    void z3950()
    {
        ZTest ztest;
        if (!ztest.ready())
            QSKIP("yaz-ztest is not installed (scripts/setup.sh installs it)");
        // yaz-ztest serves MARC 21 whatever is asked: refused, never imported.
        CopySearchResult r = search(zTarget(ztest.port(), QStringLiteral("Default")), {QStringLiteral("3"), {}, {}, 10});
        QVERIFY(!r.passed);
        QCOMPARE(r.message, marc21Refused());
        // Its diagnostic for a database it does not have.
        r = search(zTarget(ztest.port(), QStringLiteral("Nothere")), {{}, QStringLiteral("prince"), {}, 10});
        QVERIFY(!r.passed);
        QVERIFY2(r.message.startsWith(diagnostic(QStringLiteral("ztest"), 109, QString())), qPrintable(r.message));
        // Nobody listening.
        r = search(zTarget(closedPort(), QStringLiteral("Default")), {QStringLiteral("3"), {}, {}, 10});
        QVERIFY(!r.passed);
        QVERIFY2(r.message.startsWith(unreachable(QStringLiteral("ztest"), QString()).section(u'(', 0, 0)),
                 qPrintable(r.message));
    }

    // folianctl: a target added, listed, searched; the record imported
    // twice is one record; a failure ends non-zero with its message.
    void commands_data() { folian::test::addEngineRows(); }
    void commands()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(folian::test::addCommandAdministrator(tdb.db()));
        const QString ini = tdb.writeIni();
        copy::test::SruServer server;
        using folian::test::runFolianctl;

        folian::test::CtlRun run = runFolianctl(ini, {QStringLiteral("target-add"), QStringLiteral("Union"),
                                                      QStringLiteral("--sru"), server.url("/sru"),
                                                      QStringLiteral("--timeout"), QStringLiteral("5")});
        QVERIFY2(run.code == 0, qPrintable(run.out));
        run = runFolianctl(ini, {QStringLiteral("target-add"), QStringLiteral("Muet"), QStringLiteral("--sru"),
                                 server.url("/silent"), QStringLiteral("--timeout"), QStringLiteral("1")});
        QVERIFY2(run.code == 0, qPrintable(run.out));
        run = runFolianctl(ini, {QStringLiteral("target-add"), QStringLiteral("Union"), QStringLiteral("--z3950"),
                                 QStringLiteral("h:210/db")});
        QCOMPARE(run.code, 1);
        run = runFolianctl(ini, {QStringLiteral("targets")});
        QCOMPARE(run.code, 0);
        const QStringList lines = run.out.trimmed().split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0).section(u'\t', 0, 2), QStringLiteral("Muet\tSRU\t") + server.url("/silent"));

        const QStringList searchArabic{QStringLiteral("copy-search"), QStringLiteral("Union"), QStringLiteral("--isbn"),
                                       QStringLiteral("9789953686019")};
        run = runFolianctl(ini, searchArabic);
        QVERIFY2(run.code == 0, qPrintable(run.out));
        QCOMPARE(run.out.trimmed(), QStringLiteral("9789953686019\tالأيام\tحسين, طه\t1929"));

        run = runFolianctl(ini, searchArabic + QStringList{QStringLiteral("--import")});
        QVERIFY2(run.code == 0, qPrintable(run.out));
        const QString key = run.out.trimmed().split(u'\n').last();
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT DOC_TITRE_PROPRE FROM NOTICE WHERE DOC_ID = ?"), {key.toInt()}).toString(),
                 QStringLiteral("الأيام"));
        run = runFolianctl(ini, searchArabic + QStringList{QStringLiteral("--import")});
        QVERIFY2(run.code == 0, qPrintable(run.out));
        QVERIFY2(run.out.contains(recordDuplicate(QStringLiteral("الأيام"), key.toInt())) || run.out.contains(key), qPrintable(run.out));
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_TITRE_PROPRE = ?"), {QStringLiteral("الأيام")}).toInt(), 1);

        run = runFolianctl(ini, {QStringLiteral("copy-search"), QStringLiteral("Muet"), QStringLiteral("--isbn"), QStringLiteral("1")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.out.contains(QStringLiteral("Muet")), qPrintable(run.out));
        run = runFolianctl(ini, {QStringLiteral("copy-search"), QStringLiteral("Union")});
        QCOMPARE(run.code, 1);
        run = runFolianctl(ini, {QStringLiteral("copy-search"), QStringLiteral("Personne"), QStringLiteral("--isbn"), QStringLiteral("1")});
        QCOMPARE(run.code, 1);
        run = runFolianctl(ini, {QStringLiteral("target-delete"), QStringLiteral("Muet")});
        QCOMPARE(run.code, 0);
        run = runFolianctl(ini, {QStringLiteral("target-delete"), QStringLiteral("Muet")});
        QCOMPARE(run.code, 1);
    }
};

QTEST_GUILESS_MAIN(TstCopyNetwork)
#include "tst_copynetwork.moc"
