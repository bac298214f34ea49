// The rules of copy cataloguing without the network: the queries written
// for each protocol, how each record a target sends is read (UNIMARC XML or
// ISO 2709, its character set, MARC 21 refused, a malformed record said),
// and how each failure of the exchange is told.

#include "catalogue/copy/copysearch.h"
#include "catalogue/copy/copytexts.h"
#include "catalogue/copy/targets.h"
#include "catalogue/unimarc/reader.h"
#include "copyfixture.h"
#include "unimarc/records.h"

#include <QTest>

using namespace folian;
using namespace folian::copy;
using folian::unimarc::Field;
using folian::unimarc::Record;
using folian::unimarc::Subfield;

namespace {

// A transport that answers what the test says, and keeps what it was asked.
class FakeTransport : public Transport
{
public:
    FetchReply reply;
    FetchRequest asked;
    FetchReply fetch(const FetchRequest &request, const std::atomic<bool> &) override
    {
        asked = request;
        return reply;
    }
};

CopyTarget sruTarget()
{
    CopyTarget t = *parseSruAddress(QStringLiteral("http://127.0.0.1:9/sru"), nullptr);
    t.name = QStringLiteral("Union");
    return t;
}

// An ISO 2709 record whose 100 $a declares `charset` at 26-29, its title given as bytes.
QByteArray iso2709(const QByteArray &charset, const QByteArray &title)
{
    Record r = unimarc::test::sampleRecord(charset);
    r.field("200")->subfields[0].value = title;
    return unimarc::test::bytesOf(r);
}

QByteArray marc21Bytes()
{
    Record r;
    r.append(Field::control("001", QByteArray("11224466")));
    r.append(Field("100", '1', '0', {Subfield('a', QStringLiteral("Jack Collins"))}));
    r.append(Field("245", '1', '0', {Subfield('a', QStringLiteral("How to program a computer"))}));
    return unimarc::test::bytesOf(r);
}

} // namespace

class TstCopySearch : public QObject
{
    Q_OBJECT

private slots:
    void queries_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("pqf");
        QTest::addColumn<QString>("dc");
        QTest::addColumn<QString>("bib");
        QTest::newRow("ISBN with hyphens") << "978-2-07-061275-8" << "" << ""
                                           << "@attr 1=7 \"9782070612758\"" << "bath.isbn = \"9782070612758\""
                                           << "bib.isbn = \"9782070612758\"";
        QTest::newRow("ISSN") << "0395-2649" << "" << "" << "@attr 1=8 \"03952649\"" << "bath.issn = \"03952649\""
                              << "bib.issn = \"03952649\"";
        QTest::newRow("title and author") << "" << "  petit   prince " << "Saint-Exupéry"
                                          << "@and @attr 1=4 @attr 4=6 \"petit prince\" @attr 1=1003 @attr 4=6 \"Saint-Exupéry\""
                                          << "dc.title all \"petit prince\" and dc.creator all \"Saint-Exupéry\""
                                          << "bib.title all \"petit prince\" and bib.author all \"Saint-Exupéry\"";
        QTest::newRow("all three") << "2070612759" << "prince" << "Antoine"
                                   << "@and @and @attr 1=7 \"2070612759\" @attr 1=4 @attr 4=6 \"prince\" @attr 1=1003 @attr 4=6 \"Antoine\""
                                   << "bath.isbn = \"2070612759\" and dc.title all \"prince\" and dc.creator all \"Antoine\""
                                   << "bib.isbn = \"2070612759\" and bib.title all \"prince\" and bib.author all \"Antoine\"";
        // Quotes and backslashes typed stay inside the term; CQL's masks are searched as characters.
        QTest::newRow("quotes and masks") << "" << "le \"mot\" 100% c:\\ * ?" << ""
                                          << "@attr 1=4 @attr 4=6 \"le \\\"mot\\\" 100% c:\\\\ * ?\""
                                          << "dc.title all \"le \\\"mot\\\" 100% c:\\\\ \\* \\?\""
                                          << "bib.title all \"le \\\"mot\\\" 100% c:\\\\ \\* \\?\"";
        QTest::newRow("Arabic title") << "" << "الأيام" << "" << "@attr 1=4 @attr 4=6 \"الأيام\""
                                      << "dc.title all \"الأيام\"" << "bib.title all \"الأيام\"";
    }
    void queries()
    {
        QFETCH(QString, number);
        QFETCH(QString, title);
        QFETCH(QString, author);
        const CopyCriteria c{number, title, author, 10};
        QTEST(pqfQuery(c), "pqf");
        QTEST(cqlQuery(c, IndexSet::DublinCore), "dc");
        QTEST(cqlQuery(c, IndexSet::Bib), "bib");
    }

    void refusedCriteria()
    {
        QCOMPARE(criteriaRefusal({}), criterionRequired());
        QCOMPARE(criteriaRefusal({QStringLiteral("  "), QStringLiteral(" "), QString(), 10}), criterionRequired());
        QCOMPARE(criteriaRefusal({QStringLiteral("1"), {}, {}, 0}), limitInvalid(QStringLiteral("0")));
        QCOMPARE(criteriaRefusal({QStringLiteral("1"), {}, {}, kMaxLimit + 1}), limitInvalid(QString::number(kMaxLimit + 1)));
        QVERIFY(criteriaRefusal({QStringLiteral("1"), {}, {}, kMaxLimit}).isEmpty());
    }

    void addresses_data()
    {
        QTest::addColumn<bool>("sru");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("address");  // empty: refused
        QTest::newRow("http") << true << "http://sru.example.org/sru" << "http://sru.example.org:80/sru";
        QTest::newRow("https with port") << true << "HTTPS://sru.example.org:8443/api/SRU"
                                         << "https://sru.example.org:8443/api/SRU";
        QTest::newRow("no path") << true << "http://127.0.0.1:9000" << "http://127.0.0.1:9000/";
        QTest::newRow("ftp") << true << "ftp://sru.example.org/sru" << "";
        QTest::newRow("no scheme") << true << "sru.example.org/sru" << "";
        QTest::newRow("with a query") << true << "http://h/sru?version=1.2" << "";
        QTest::newRow("z3950") << false << "z3950.example.org:210/INNOPAC" << "z3950.example.org:210/INNOPAC";
        QTest::newRow("z3950 without database") << false << "z3950.example.org:210" << "";
        QTest::newRow("z3950 port 0") << false << "h:0/db" << "";
        QTest::newRow("z3950 port too large") << false << "h:70000/db" << "";
        QTest::newRow("z3950 with scheme") << false << "tcp://h:210/db" << "";
    }
    void addresses()
    {
        QFETCH(bool, sru);
        QFETCH(QString, typed);
        QFETCH(QString, address);
        QString why;
        const std::optional<CopyTarget> t = sru ? parseSruAddress(typed, &why) : parseZ3950Address(typed, &why);
        QCOMPARE(t.has_value(), !address.isEmpty());
        if (t) {
            QCOMPARE(t->address(), address);
            QCOMPARE(t->isSru(), sru);
        } else {
            QCOMPARE(why, targetAddressInvalid(typed));
        }
    }

    void syntaxes()
    {
        QString normal, why;
        QVERIFY(acceptSyntax(QStringLiteral(" unimarc "), &normal, &why));
        QCOMPARE(normal, QStringLiteral("UNIMARC"));
        for (const char *marc21 : {"MARC21", "marc 21", "USMARC"}) {
            QVERIFY(!acceptSyntax(QLatin1String(marc21), &normal, &why));
            QCOMPARE(why, marc21Refused());
        }
        QVERIFY(!acceptSyntax(QStringLiteral("SUTRS"), &normal, &why));
        QCOMPARE(why, syntaxUnknown(QStringLiteral("SUTRS")));
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("syntax");
        QTest::addColumn<QString>("charset");  // the target's
        QTest::addColumn<QString>("title");    // expected; empty when refused
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("error");    // expected error, or its beginning
        const QList<copy::test::XmlRecord> xml = copy::test::sampleXmlRecords();
        QTest::newRow("UNIMARC XML, French") << xml.at(0).xml.toUtf8() << "XML" << "" << "L'Étranger : récit d'été"
                                             << "Camus, Albert" << "";
        QTest::newRow("UNIMARC XML, Arabic") << xml.at(1).xml.toUtf8() << "XML" << "" << "الأيام" << "حسين, طه" << "";
        QTest::newRow("XML declaring ISO 5426") << xml.at(2).xml.toUtf8() << "XML" << ""
                                                << "Œuvres complètes de Molière" << "Molière, Jean-Baptiste" << "";
        QTest::newRow("ISO 2709, UTF-8") << iso2709("50", "Le petit prince") << "Unimarc" << "" << "Le petit prince"
                                         << "Saint-Exupéry, Antoine de" << "";
        QTest::newRow("ISO 2709, ISO 5426") << iso2709("0103", unimarc::test::bytes("{C2}Ecole des femmes")) << "Unimarc"
                                            << "" << "École des femmes" << "Saint-Exupéry, Antoine de" << "";
        // A record that declares no set is read in the target's.
        // ISO 5426's apostrophe (0xB9) is a superscript one in Windows-1252:
        // only the target's set tells them apart.
        const QByteArray apostrophe = unimarc::test::bytes("L{B9}homme");
        QTest::newRow("undeclared, read by its bytes") << iso2709("    ", apostrophe) << "Unimarc" << "" << "L¹homme"
                                                       << "Saint-Exupéry, Antoine de" << "";
        QTest::newRow("undeclared, target ISO 5426") << iso2709("    ", apostrophe) << "Unimarc" << "ISO-5426"
                                                     << "L’homme" << "Saint-Exupéry, Antoine de" << "";
        QTest::newRow("MARC 21 by its syntax") << iso2709("50", "Le petit prince") << "USmarc" << "" << "" << ""
                                               << copy::marc21Record();
        QTest::newRow("MARC 21 by its fields") << marc21Bytes() << "" << "" << "" << "" << copy::marc21Record();
        QTest::newRow("MARC 21 in XML")
            << QByteArray("<record xmlns=\"http://www.loc.gov/MARC21/slim\"><leader>00000nam a2200000 a 4500</leader>"
                          "<datafield tag=\"245\" ind1=\"1\" ind2=\"0\"><subfield code=\"a\">How to</subfield></datafield>"
                          "</record>")
            << "XML" << "" << "" << "" << copy::marc21Record();
        QTest::newRow("ISO 2709 cut short") << iso2709("50", "Le petit prince").left(40) << "Unimarc" << "" << "" << ""
                                            << malformedRecord(QString());
        QTest::newRow("not ISO 2709") << QByteArray("00123nam  22000xx   450 not a record") << "" << "" << "" << ""
                                      << malformedRecord(QString());
        QTest::newRow("XML without fields") << QByteArray("<record><leader>bad</leader></record>") << "XML" << "" << ""
                                            << "" << malformedRecord(QString());
        QTest::newRow("XML cut short") << QByteArray("<record><datafield tag=\"200\"") << "XML" << "" << "" << ""
                                       << malformedRecord(QString());
        QTest::newRow("nothing sent") << QByteArray() << "" << "" << "" << "" << emptyRecord();
        QTest::newRow("no title proper")
            << QByteArray("<record><leader>00000nam0 2200000   450 </leader><datafield tag=\"101\" ind1=\"0\" ind2=\" \">"
                          "<subfield code=\"a\">fre</subfield></datafield></record>")
            << "XML" << "" << "" << "" << untitledRecord();
    }
    void reading()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, syntax);
        QFETCH(QString, charset);
        QFETCH(QString, title);
        QFETCH(QString, author);
        QFETCH(QString, error);
        CopyTarget target = sruTarget();
        target.charset = charset;
        const CopyHit hit = readFetched({data, syntax}, target, 3);
        QCOMPARE(hit.position, 3);
        if (error.isEmpty()) {
            QVERIFY2(hit.ok(), qPrintable(hit.error));
            QCOMPARE(hit.title, title);
            QCOMPARE(hit.author, author);
            QCOMPARE(hit.record.value("200", 'a'), title);
        } else {
            QVERIFY(!hit.ok());
            QVERIFY2(hit.error.startsWith(error), qPrintable(hit.error));
        }
    }

    void failures_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("message");
        const CopyTarget t = sruTarget();
        QTest::newRow("unreachable") << int(FetchFailure::Unreachable) << unreachable(t.name, QStringLiteral("detail"));
        QTest::newRow("time-out") << int(FetchFailure::Timeout) << timedOut(t.name, t.timeout);
        QTest::newRow("diagnostic") << int(FetchFailure::Diagnostic) << diagnostic(t.name, 16, QStringLiteral("detail"));
        QTest::newRow("protocol") << int(FetchFailure::Protocol) << protocolFailure(t.name, QStringLiteral("detail"));
        QTest::newRow("stopped") << int(FetchFailure::Stopped) << stopped();
    }
    void failures()
    {
        QFETCH(int, failure);
        FakeTransport transport;
        transport.reply.failure = FetchFailure(failure);
        transport.reply.code = 16;
        transport.reply.detail = QStringLiteral("detail");
        transport.reply.records << FetchedRecord{copy::test::sampleXmlRecords().at(0).xml.toUtf8(), QStringLiteral("XML")};
        const CopySearchResult r = searchTarget(sruTarget(), {QStringLiteral("9782070612758"), {}, {}, 10}, transport, {});
        QVERIFY(!r.passed);
        QTEST(r.message, "message");
        QVERIFY(r.records.isEmpty());
    }

    // The protocol chooses the query; the limit bounds what is read; a
    // result of MARC 21 records only is refused as a whole.
    void results()
    {
        FakeTransport transport;
        const QByteArray french = copy::test::sampleXmlRecords().at(0).xml.toUtf8();
        for (int i = 0; i < 5; ++i)
            transport.reply.records << FetchedRecord{french, QStringLiteral("XML")};
        transport.reply.hits = 40;
        CopyTarget t = sruTarget();
        CopySearchResult r = searchTarget(t, {{}, QStringLiteral("étranger"), {}, 3}, transport, {});
        QVERIFY(r.passed);
        QCOMPARE(transport.asked.query, cqlQuery({{}, QStringLiteral("étranger"), {}, 3}, IndexSet::DublinCore));
        QCOMPARE(transport.asked.limit, 3);
        QCOMPARE(r.records.size(), 3);
        QCOMPARE(r.message, foundCount(3, 40));

        t = *parseZ3950Address(QStringLiteral("127.0.0.1:210/Default"), nullptr);
        t.name = QStringLiteral("Z");
        transport.reply.records = {FetchedRecord{marc21Bytes(), QStringLiteral("USmarc")},
                                   FetchedRecord{marc21Bytes(), QStringLiteral("USmarc")}};
        r = searchTarget(t, {QStringLiteral("3"), {}, {}, 10}, transport, {});
        QCOMPARE(transport.asked.query, pqfQuery({QStringLiteral("3"), {}, {}, 10}));
        QVERIFY(!r.passed);
        QCOMPARE(r.message, marc21Refused());

        // One readable record among them: the search passes, the others are said.
        transport.reply.records << FetchedRecord{french, QStringLiteral("XML")};
        r = searchTarget(t, {QStringLiteral("3"), {}, {}, 10}, transport, {});
        QVERIFY(r.passed);
        QCOMPARE(r.records.at(0).error, copy::marc21Record());
        QVERIFY(r.records.at(2).ok());

        // A target kept with another syntax is refused before any exchange.
        t.syntax = QStringLiteral("MARC21");
        transport.asked = {};
        r = searchTarget(t, {QStringLiteral("3"), {}, {}, 10}, transport, {});
        QVERIFY(!r.passed);
        QCOMPARE(r.message, marc21Refused());
        QVERIFY(transport.asked.query.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstCopySearch)
#include "tst_copysearch.moc"
