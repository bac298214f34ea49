// The public catalogue without a server or a database: its start address,
// the reading of requests with their limits, the availability of copies
// and records, and the escaping of the pages.

#include "opac/core/opacaddress.h"
#include "opac/core/opaccatalogue.h"
#include "opac/core/opacpages.h"
#include "opac/core/opacrequest.h"
#include "opac/core/opactexts.h"

#include <QTest>

using namespace folian;
using namespace folian::opac;

Q_DECLARE_METATYPE(folian::opac::CopyFacts)

class TstOpacCore : public QObject
{
    Q_OBJECT

private slots:
    void startAddress_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        const QString none;
        QTest::newRow("local instance") << "." << "opac" << none << "http://127.0.0.1:8080/opac";
        QTest::newRow("embedded engine, no server") << "" << "opac" << none << "http://127.0.0.1:8080/opac";
        QTest::newRow("localhost") << "LocalHost" << "opac" << none << "http://127.0.0.1:8080/opac";
        QTest::newRow("database host") << "dbhost" << "opac" << none << "http://dbhost:8080/opac";
        QTest::newRow("database port stripped") << "dbhost:5433" << "opac" << none << "http://dbhost:8080/opac";
        QTest::newRow("IPv6 with port") << "[::1]:5432" << "opac" << none << "http://[::1]:8080/opac";
        QTest::newRow("IPv6 alone") << "fe80::1" << "opac" << none << "http://[fe80::1]:8080/opac";
        QTest::newRow("no directory") << "dbhost" << "" << none << "http://dbhost:8080/";
        QTest::newRow("directory with slashes") << "dbhost" << "/opac/" << none << "http://dbhost:8080/opac";
        QTest::newRow("directory of two levels") << "." << "//bib//opac/" << none << "http://127.0.0.1:8080/bib/opac";
        QTest::newRow("address given") << "dbhost:5433" << "opac" << " https://catalogue.example.org/ "
                                       << "https://catalogue.example.org/";
        QTest::newRow("blank address ignored") << "dbhost" << "opac" << "   " << "http://dbhost:8080/opac";
    }
    void startAddress()
    {
        QFETCH(QString, server);
        QFETCH(QString, directory);
        QFETCH(QString, address);
        QFETCH(QString, expected);
        QCOMPARE(opacStartAddress(server, directory, address), expected);
    }

    // Requests and their limits: what each is read as, and the status it gets.
    void requests_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("status");
        const QString opac = QStringLiteral("/opac");
        const QByteArray words = "/opac/search?title=" + QByteArray("mot+").repeated(kMaxWords + 1);
        QTest::newRow("home") << QByteArray("GET") << QByteArray("/opac") << opac << int(Page::Home) << 200;
        QTest::newRow("home with slash") << QByteArray("GET") << QByteArray("/opac/?lang=ar") << opac << int(Page::Home) << 200;
        QTest::newRow("root sent to the catalogue") << QByteArray("GET") << QByteArray("/") << opac << int(Page::Root) << 302;
        QTest::newRow("catalogue at the root") << QByteArray("GET") << QByteArray("/") << QString() << int(Page::Home) << 200;
        QTest::newRow("search") << QByteArray("GET") << QByteArray("/opac/search?title=%C3%A9t%C3%A9&page=2") << opac
                                << int(Page::Search) << 200;
        QTest::newRow("record") << QByteArray("GET") << QByteArray("/opac/record/42?lang=ar") << opac << int(Page::Record) << 200;
        QTest::newRow("record zero") << QByteArray("GET") << QByteArray("/opac/record/0") << opac << int(Page::Refused) << 400;
        QTest::newRow("record not a number") << QByteArray("GET") << QByteArray("/opac/record/12a") << opac << int(Page::Refused) << 400;
        QTest::newRow("record too long a number") << QByteArray("GET") << QByteArray("/opac/record/12345678901") << opac
                                                  << int(Page::Refused) << 400;
        QTest::newRow("unknown page") << QByteArray("GET") << QByteArray("/opac/admin") << opac << int(Page::NotFound) << 404;
        QTest::newRow("other directory") << QByteArray("GET") << QByteArray("/opacs/search") << opac << int(Page::NotFound) << 404;
        QTest::newRow("post refused") << QByteArray("POST") << QByteArray("/opac/search") << opac << int(Page::Refused) << 400;
        QTest::newRow("target too long") << QByteArray("GET") << "/opac/search?title=" + QByteArray(kMaxTarget, 'a') << opac
                                         << int(Page::Refused) << 400;
        QTest::newRow("criterion too long") << QByteArray("GET") << "/opac/search?author=" + QByteArray(kMaxCriterion + 1, 'a')
                                            << opac << int(Page::Refused) << 400;
        QTest::newRow("too many words") << QByteArray("GET") << words << opac << int(Page::Refused) << 400;
        QTest::newRow("page zero") << QByteArray("GET") << QByteArray("/opac/search?title=a&page=0") << opac
                                   << int(Page::Refused) << 400;
        QTest::newRow("page negative") << QByteArray("GET") << QByteArray("/opac/search?title=a&page=-3") << opac
                                       << int(Page::Refused) << 400;
        QTest::newRow("page huge") << QByteArray("GET") << QByteArray("/opac/search?title=a&page=99999999999") << opac
                                   << int(Page::Refused) << 400;
        QTest::newRow("page not a number") << QByteArray("GET") << QByteArray("/opac/search?title=a&page=deux") << opac
                                           << int(Page::Refused) << 400;
        QTest::newRow("type of two letters") << QByteArray("GET") << QByteArray("/opac/search?type=ab") << opac
                                             << int(Page::Refused) << 400;
        QTest::newRow("language with a quote") << QByteArray("GET") << QByteArray("/opac/search?language=f%27r") << opac
                                               << int(Page::Refused) << 400;
    }
    void requests()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, target);
        QFETCH(QString, base);
        QFETCH(int, page);
        QFETCH(int, status);
        const Request r = parseRequest(method, target, 100, base);
        QCOMPARE(int(r.page), page);
        QCOMPARE(r.status(), status);
        QCOMPARE(r.refusal.isEmpty(), r.page != Page::Refused);
    }

    void requestValues()
    {
        const Request r = parseRequest("GET", "/opac/search?title=l%E2%80%99%C3%A9t%C3%A9+d%27Alger&author=100%25_x"
                                              "&type=a&language=ara&page=3&lang=ar",
                                       200, QStringLiteral("/opac"));
        QCOMPARE(int(r.page), int(Page::Search));
        QCOMPARE(r.criteria.title, QStringLiteral("l’été d'Alger"));
        QCOMPARE(r.criteria.author, QStringLiteral("100%_x"));
        QCOMPARE(r.criteria.type, QStringLiteral("a"));
        QCOMPARE(r.criteria.language, QStringLiteral("ara"));
        QCOMPARE(r.pageNumber, 3);
        QVERIFY(r.arabic);
        // The query a page writes for its links reads back as the same criteria.
        const Request again = parseRequest("GET", "/opac/search?" + searchQuery(r.criteria, true, 3).toLatin1(), 200,
                                           QStringLiteral("/opac"));
        QCOMPARE(again.criteria.title, r.criteria.title);
        QCOMPARE(again.criteria.author, r.criteria.author);
        QCOMPARE(again.pageNumber, 3);
        QVERIFY(again.arabic);
        // Without a lang parameter, the browser's first language decides.
        for (const auto &[accept, arabic] : {std::pair{"ar-DZ,ar;q=0.9,fr;q=0.8", true}, std::pair{"fr-FR,ar;q=0.5", false},
                                             std::pair{"", false}})
            QCOMPARE(parseRequest("GET", "/opac", 100, QStringLiteral("/opac"), accept).arabic, arabic);
        QVERIFY(!parseRequest("GET", "/opac?lang=fr", 100, QStringLiteral("/opac"), "ar").arabic);
        // Header lines beyond the limit are refused, in the request's language.
        const Request big = parseRequest("GET", "/opac?lang=ar", kMaxHeaders + 1, QStringLiteral("/opac"));
        QCOMPARE(big.status(), 400);
        QCOMPARE(big.refusal, tooLong(true));
    }

    // A copy's availability, and a record's from its copies.
    void availability_data()
    {
        QTest::addColumn<QList<CopyFacts>>("copies");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDate>("due");
        const QDate today(2026, 12, 10);
        const CopyFacts free{2, false, {}, false, {}};
        const CopyFacts lentSoon{2, true, today.addDays(3), false, {}};
        const CopyFacts lentLater{2, true, today.addDays(20), false, {}};
        const CopyFacts overdue{2, true, today.addDays(-5), false, {}};
        const CopyFacts consulted{3, true, today, false, {}};
        const CopyFacts onSite{3, false, {}, false, {}};
        const CopyFacts held{2, false, {}, true, today.addDays(2)};
        const CopyFacts holdLapsed{2, false, {}, true, today.addDays(-1)};
        const CopyFacts damaged{5, false, {}, false, {}};
        const CopyFacts lost{6, false, {}, false, {}};
        const CopyFacts given{8, false, {}, false, {}};
        QTest::newRow("no copy") << QList<CopyFacts>{} << int(Availability::NoCopy) << QDate();
        QTest::newRow("free") << QList<CopyFacts>{free} << int(Availability::Available) << QDate();
        QTest::newRow("lent") << QList<CopyFacts>{lentLater} << int(Availability::OnLoan) << today.addDays(20);
        QTest::newRow("lent twice: earliest due") << QList<CopyFacts>{lentLater, overdue, lentSoon}
                                                  << int(Availability::OnLoan) << today.addDays(-5);
        QTest::newRow("read on site") << QList<CopyFacts>{consulted} << int(Availability::InConsultation) << QDate();
        QTest::newRow("on site only") << QList<CopyFacts>{onSite} << int(Availability::OnSite) << QDate();
        QTest::newRow("held for a reserver") << QList<CopyFacts>{held} << int(Availability::Reserved) << QDate();
        QTest::newRow("hold lapsed") << QList<CopyFacts>{holdLapsed} << int(Availability::Available) << QDate();
        QTest::newRow("damaged") << QList<CopyFacts>{damaged} << int(Availability::Unavailable) << QDate();
        QTest::newRow("lost and given not counted") << QList<CopyFacts>{lost, given} << int(Availability::NoCopy) << QDate();
        QTest::newRow("one free among lent") << QList<CopyFacts>{lentSoon, held, free} << int(Availability::Available)
                                             << QDate();
        QTest::newRow("loan before consultation") << QList<CopyFacts>{consulted, lentLater, held}
                                                  << int(Availability::OnLoan) << today.addDays(20);
    }
    void availability()
    {
        QFETCH(QList<CopyFacts>, copies);
        QFETCH(int, kind);
        QFETCH(QDate, due);
        const Summary s = summarise(copies, QDate(2026, 12, 10));
        QCOMPARE(int(s.kind), kind);
        QCOMPARE(s.due, due);
    }

    // A count that stopped at its bound says so, in both languages, and the
    // pager leads through the pages the bound fills and no further.
    void boundedCount()
    {
        Criteria c;
        c.title = QStringLiteral("histoire");
        for (const bool arabic : {false, true}) {
            for (const int page : {1, 250, 500}) {
                Results r;
                r.count = 10000;
                r.more = true;
                r.page = page;
                r.pages = 500;
                Hit h;
                h.id = 1;
                h.title = QStringLiteral("Histoire");
                r.hits << h;
                const QString html = searchPage(QStringLiteral("/opac"), c, {}, &r, arabic);
                QVERIFY(html.contains(arabic ? QStringLiteral("أكثر من 10000") : QStringLiteral("plus de 10")));
                QVERIFY(!html.contains(arabic ? QStringLiteral("عدد التسجيلات: 10000<") : QStringLiteral(">10000 notices")));
                QVERIFY(html.contains(arabic ? QStringLiteral("الصفحة %1 من الصفحات 500 الأولى").arg(page)
                                             : QStringLiteral("page %1 des 500 premières").arg(page)));
                QCOMPARE(html.contains(QStringLiteral("page=%1").arg(page + 1)), page < 500);
            }
        }
        QCOMPARE(foundCount(10000, false, true), QStringLiteral("plus de 10\u202F000 notices trouvées"));
        QCOMPARE(foundCount(10000, false), QStringLiteral("10000 notices trouvées"));
    }

    // What comes from the database or the reader is escaped; no script anywhere.
    void pagesEscape()
    {
        Criteria c;
        c.title = QStringLiteral("\"><script>alert(1)</script>");
        Results r;
        r.count = 1;
        r.pages = 1;
        Hit h;
        h.id = 7;
        h.title = QStringLiteral("<script>alert('x')</script> & co");
        h.author = QStringLiteral("<b>Auteur</b>");
        r.hits << h;
        Choices choices;
        choices.types << Choice{QStringLiteral("a"), QStringLiteral("<i>Livre</i>")};
        for (bool arabic : {false, true}) {
            const QString page = searchPage(QStringLiteral("/opac"), c, choices, &r, arabic);
            QVERIFY(!page.contains(QLatin1String("<script"), Qt::CaseInsensitive));
            QVERIFY(page.contains(QLatin1String("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; co")));
            QVERIFY(page.contains(QLatin1String("&lt;b&gt;Auteur&lt;/b&gt;")));
            QVERIFY(page.contains(QLatin1String("&lt;i&gt;Livre&lt;/i&gt;")));
            QVERIFY(page.contains(arabic ? QLatin1String("dir=\"rtl\"") : QLatin1String("dir=\"ltr\"")));
        }
        RecordView view;
        view.title = QStringLiteral("<script>t</script>");
        view.copies << CopyLine{QStringLiteral("<x>"), QStringLiteral("<cote>"), QStringLiteral("<loc>"),
                                QStringLiteral("<state>"), {}};
        const QString record = recordPage(QStringLiteral("/opac"), 7, view, false);
        QVERIFY(!record.contains(QLatin1String("<script"), Qt::CaseInsensitive));
        QVERIFY(!record.contains(QLatin1String("<cote>")));
        const QString problem = problemPage(QStringLiteral("/opac"), 400, QStringLiteral("<script>"), true);
        QVERIFY(!problem.contains(QLatin1String("<script"), Qt::CaseInsensitive));
        // Every page forbids scripts through its headers too.
        bool policy = false;
        for (const auto &[key, value] : pageHeaders())
            if (key == "Content-Security-Policy")
                policy = value.contains("default-src 'none'") && !value.contains("script-src");
        QVERIFY(policy);
    }
};

QTEST_GUILESS_MAIN(TstOpacCore)
#include "tst_opaccore.moc"
