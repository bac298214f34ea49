// The displays of a stored record: the ISBD card (French and Arabic,
// placeholders, punctuation, escaping, call numbers) and the UNIMARC output
// (tagged HTML and the exchange record).

#include "base/session.h"
#include "catalogue/unimarc/isbd.h"
#include "catalogue/unimarc/output.h"
#include "catalogue/unimarc/reader.h"

#include <QTest>

using namespace folian;
using namespace folian::unimarc;

namespace {

StoredRecord record(std::initializer_list<std::pair<const char *, const char *>> columns)
{
    StoredRecord r;
    r.notice.insert(QStringLiteral("DOC_ID"), 7);
    r.notice.insert(QStringLiteral("TYP_ID"), QStringLiteral("a"));
    r.notice.insert(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Titre"));
    for (const auto &[c, v] : columns)
        r.notice.insert(QLatin1String(c), v ? QVariant(QString::fromUtf8(v)) : QVariant());
    return r;
}

StoredAuthor author(const char *name, int type, const char *function = "", const char *abbreviation = "", int kind = 1)
{
    return StoredAuthor{QString::fromUtf8(name), kind, kind == 1 ? QStringLiteral("700") : QString(), QLatin1String(function),
                        Label{QString::fromUtf8(abbreviation), QString()}, type};
}

QString card(const StoredRecord &r, IsbdLayout layout = IsbdLayout::Card, bool subjects = false)
{
    return formatIsbd(r, layout, subjects).html;
}

// The fields of the output as tagged text: "701 ##$aDupont$bJean$4070".
QStringList tagged(const Record &r)
{
    QStringList out;
    for (const Field &f : r.fields) {
        QString line = f.tagText() + u' ';
        if (f.isControl()) {
            out << line + f.controlText();
            continue;
        }
        line += QLatin1Char(f.ind1 == ' ' ? '#' : f.ind1);
        line += QLatin1Char(f.ind2 == ' ' ? '#' : f.ind2);
        for (const Subfield &s : f.subfields)
            line += u'$' + QLatin1Char(s.code) + s.text();
        out << line;
    }
    return out;
}

QStringList withTag(const QStringList &lines, const QString &prefix)
{
    QStringList out;
    for (const QString &l : lines)
        if (l.startsWith(prefix))
            out << l;
    return out;
}

} // namespace

class TstUnimarcDisplay : public QObject
{
    Q_OBJECT

private slots:
    void init() { session() = Session(); }

    void isbdAreas_data()
    {
        QTest::addColumn<int>("example");
        QTest::addColumn<QString>("expected");
        QTest::newRow("author with a function") << 1 << QStringLiteral("<b>Dupont, Jean</b><br>Titre / trad. Jean Dupont. - Paris : Seuil, 1946.<br>");
        QTest::newRow("nothing published") << 2 << QStringLiteral("<b>Titre</b>. - [s.l] : [s.n], [s.d].<br>");
        QTest::newRow("two places, one publisher") << 3 << QStringLiteral("Paris : Seuil ; Lyon : [s.n], 1990.");
        QTest::newRow("same place twice") << 4 << QStringLiteral("Paris : Seuil : [s.n], 1990.");
        QTest::newRow("second publisher without second place") << 5 << QStringLiteral("Paris : Seuil : [s.l] : Minuit, 1990.");
        QTest::newRow("article") << 6 << QStringLiteral("<p><code></code><b>Titre</b>.<br></p>");
        QTest::newRow("four authors") << 7 << QStringLiteral("Titre / Un, Deux; Trois, ...[et all.].");
        QTest::newRow("secondary authors only") << 8 << QStringLiteral("<p><code></code>Titre / ill. Pierre Martin.");
        QTest::newRow("open numbering") << 9 << QStringLiteral("<b>Titre</b>. - 1990-    . - Paris");
        QTest::newRow("numbering without hyphen") << 10 << QStringLiteral("<b>Titre</b>. - 1990-    . - Paris");
        QTest::newRow("closed numbering") << 11 << QStringLiteral("<b>Titre</b>. - 1990-1995. - Paris");
        QTest::newRow("titles and designation") << 12 << QStringLiteral("<b>Oeuvres. 3, Titre [Texte imprimé] : roman = Title</b>");
        QTest::newRow("physical and series") << 13
            << QStringLiteral("185 p. : ill. ; 18 cm + 1 CD. - (Folio : poche / Gallimard, 07680066 ; 12. Classiques ; 7).");
        QTest::newRow("notes and numbers") << 14
            << QStringLiteral("Mensuel. - Note un<br>Note deux. - ISBN 2070360248. - ISSN 12345678 = Titre. - Numéro normalisé M2306<br>");
        QTest::newRow("thesis") << 15 << QStringLiteral("Doctorat : Histoire : Alger : Université d&#39;Alger : 2004<br>");
        QTest::newRow("parent") << 16 << QStringLiteral("Ensemble : Oeuvres, 3, 1990, ISSN 11112222<br>");
        QTest::newRow("escaped") << 17 << QStringLiteral("<b>A &lt;b&gt; &amp; &quot;C&quot;</b>. - Saint-&lt;Denis&gt;");
    }
    void isbdAreas()
    {
        QFETCH(int, example);
        QFETCH(QString, expected);
        StoredRecord r = record({});
        switch (example) {
        case 1:
            r = record({{"DOC_LIEU_EDITION", "Paris"}, {"DOC_ANNEE", "1946"}});
            r.publisher = Label{QStringLiteral("Seuil"), QString()};
            r.authors << author("Dupont, Jean", 1, "730", "trad.");
            break;
        case 2: break;
        case 3:
        case 4:
        case 5:
            r = record({{"DOC_LIEU_EDITION", "Paris"}, {"DOC_LIEU_EDITION2", example == 3 ? "Lyon" : example == 4 ? "Paris" : nullptr},
                        {"DOC_ANNEE", "1990"}});
            r.publisher = Label{QStringLiteral("Seuil"), QString()};
            if (example == 5)
                r.publisher2 = Label{QStringLiteral("Minuit"), QString()};
            break;
        case 6: r = record({{"TYP_ID", "d"}, {"DOC_LIEU_EDITION", "Paris"}}); break;
        case 7:
            r.authors << author("Un", 1, "", "", 2) << author("Deux", 2, "", "", 2) << author("Trois", 3, "", "", 2)
                      << author("Quatre", 2, "", "", 2);
            break;
        case 8: r.authors << author("Martin, Pierre", 3, "440", "ill."); break;
        case 9:
        case 10:
        case 11:
            r = record({{"DOC_NUMEROTATION", example == 9 ? "1990-" : example == 10 ? "1990" : "1990-1995"},
                        {"DOC_LIEU_EDITION", "Paris"}});
            break;
        case 12:
            r = record({{"DOC_TITRE_ENSEMBLE", "Oeuvres"}, {"DOC_NUMERO_PARTIE", "3"}, {"IND_ID", "a"},
                        {"DOC_TITRE_COMPLEMENT", "roman"}, {"DOC_TITRE_PARALLELE", "Title"}});
            r.indication = Label{QString::fromUtf8("Texte imprimé"), QString::fromUtf8("نص مطبوع")};
            break;
        case 13:
            r = record({{"DOC_NBR_UNITE", "185 p."}, {"DOC_ILLUSTRATION", "ill."}, {"DOC_FORMAT", "18 cm"},
                        {"DOC_MATERIEL", "1 CD"}, {"COL_NUMERO", "12"}, {"SCL_NUMERO", "7"}});
            r.collection = {{QStringLiteral("COL_TITRE_PROPRE"), QStringLiteral("Folio")},
                            {QStringLiteral("COL_TITRE_COMPLEMENT"), QStringLiteral("poche")},
                            {QStringLiteral("COL_RESPONSABILITE"), QStringLiteral("Gallimard")},
                            {QStringLiteral("COL_ISSN"), QStringLiteral("07680066")}};
            r.subCollection = {{QStringLiteral("SCL_TITRE_PROPRE"), QStringLiteral("Classiques")}};
            break;
        case 14:
            r = record({{"DOC_NOTE", "Note un\r\nNote deux"}, {"DOC_ISBN", "2070360248"}, {"DOC_ISSN", "12345678"},
                        {"DOC_NUM", "M2306"}});
            r.periodicity = Label{QStringLiteral("Mensuel"), QString()};
            break;
        case 15:
            r = record({{"DIP_ID", "1"}, {"DOC_LIEU_SOUTENANCE", "Alger"}, {"DOC_ANNEE", "2004"}});
            r.diploma = Label{QStringLiteral("Doctorat"), QString()};
            r.speciality = Label{QStringLiteral("Histoire"), QString()};
            r.authors << author("Benali, Ahmed", 1) << author("Université d'Alger", 3, "340", "", 2);
            break;
        case 16:
            r = record({{"REL_ID", "461"}, {"REL_TITRE", "Oeuvres"}, {"REL_VOLUME", "3"}, {"REL_DATE_PUB", "1990"},
                        {"REL_ISSN", "11112222"}});
            r.relation = Label{QStringLiteral("Ensemble"), QString()};
            break;
        case 17: r = record({{"DOC_TITRE_PROPRE", "A <b> & \"C\""}, {"DOC_LIEU_EDITION", "Saint-<Denis>"}}); break;
        }
        const QString html = card(r);
        QVERIFY2(html.contains(expected), qPrintable(html));
    }

    void mainEntryAndTitle()
    {
        StoredRecord r = record({{"IND_ID", "a"}, {"DOC_TITRE_COMPLEMENT", "roman"}});
        r.indication = Label{QString::fromUtf8("Texte imprimé"), QString()};
        Isbd i = formatIsbd(r, IsbdLayout::Catalogue, false);
        QCOMPARE(i.mainEntry, QString::fromUtf8("Titre [Texte imprimé] : roman"));
        QCOMPARE(i.title, QStringLiteral("Titre : roman"));
        // The first principal author among the first three is the main entry, as stored.
        r.authors << author("Martin, Pierre", 3) << author("Dupont, Jean", 1) << author("Durand, Paul", 1);
        i = formatIsbd(r, IsbdLayout::Catalogue, false);
        QCOMPARE(i.mainEntry, QStringLiteral("Dupont, Jean"));
        QVERIFY(i.html.contains(QStringLiteral("<code></code><b>Dupont, Jean</b><br>")));
        // Plain text: nothing escaped.
        r = record({{"DOC_TITRE_PROPRE", "R&D <1>"}});
        i = formatIsbd(r, IsbdLayout::Catalogue, false);
        QCOMPARE(i.title, QStringLiteral("R&D <1>"));
        QCOMPARE(i.mainEntry, QStringLiteral("R&D <1>"));
    }

    // An Arabic record: Arabic labels and placeholders, right to left, whatever the interface language.
    void arabicRecord_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("French interface") << QStringLiteral("FR");
        QTest::newRow("Arabic interface") << QStringLiteral("AR");
    }
    void arabicRecord()
    {
        QFETCH(QString, language);
        session().setLanguage(language);
        StoredRecord r = record({{"LAN_ID", "ara"}, {"DOC_TITRE_PROPRE", "الطريق"}, {"IND_ID", "a"}, {"DOC_ISBN", "9789953"},
                                 {"COL_NUMERO", "4"}});
        r.indication = Label{QString::fromUtf8("Texte imprimé"), QString::fromUtf8("نص مطبوع")};
        r.authors << StoredAuthor{QString::fromUtf8("محفوظ، نجيب"), 1, QStringLiteral("700"), QStringLiteral("070"), {}, 1};
        r.copies << StoredCopy{QStringLiteral("1"), {}, QStringLiteral("892.7 MAH"), {}, {}, {}, {}};
        const QString html = card(r);
        // The call number isolated, so that the right-to-left paragraph does not show it "MAH 892.7".
        QVERIFY2(html.startsWith(QStringLiteral("<p dir=rtl align=left><b>\u2068892.7 MAH\u2069</b></p><p dir=\"rtl\">")),
                 qPrintable(html));
        QVERIFY2(html.contains(QString::fromUtf8("الطريق [نص مطبوع] / نجيب محفوظ. - [د.م] : [د.ن], [د.ت].")), qPrintable(html));
        QVERIFY(html.contains(QString::fromUtf8("ر.د.م.ك 9789953")));
        // A French record keeps its French labels in the Arabic interface.
        r.notice.insert(QStringLiteral("LAN_ID"), QStringLiteral("fre"));
        const QString french = card(r);
        QVERIFY(french.contains(QString::fromUtf8("[Texte imprimé]")));
        QVERIFY(french.contains(QStringLiteral("[s.l] : [s.n], [s.d]")));
        QVERIFY(french.startsWith(QStringLiteral("<p align=right><b>892.7 MAH</b></p>")));
        QCOMPARE(noticePage(QStringLiteral("x"), true).left(17), QStringLiteral("<html dir=\"rtl\"><"));
    }

    void callNumbersAndSubjects()
    {
        StoredRecord r = record({{"DOC_RESUME", "Un <résumé>"}});
        for (const char *shelf : {"843 CAM", "843 CAM", "", "843 CAM2", "900 X"})
            r.copies << StoredCopy{QStringLiteral("c"), {}, QLatin1String(shelf), {}, {}, {}, {}};
        r.subjects << StoredSubject{QStringLiteral("Roman"), 6, QStringLiteral("606")}
                   << StoredSubject{QStringLiteral("Algérie"), 7, QStringLiteral("607")};
        const QString top = card(r, IsbdLayout::Card, true);
        QVERIFY2(top.startsWith(QStringLiteral("<p align=right><b>843 CAM, 843 CAM2</b></p>")), qPrintable(top));
        QVERIFY(top.contains(QStringLiteral("<br>Roman<br>Algérie<br><br>Un &lt;résumé&gt;<br>")));
        const QString bottom = card(r, IsbdLayout::Catalogue, false);
        QVERIFY(bottom.endsWith(QStringLiteral("<br><p align=center><b>843 CAM, 843 CAM2</b></p></p>")));
        QVERIFY(!bottom.contains(QStringLiteral("Roman")));
    }

    void unimarcFields()
    {
        StoredRecord r = record({{"DOC_EDITION", "2e éd., rev. = 2nd ed. / par X"}, {"DOC_ISBN", "2070360248"},
                                 {"LAN_ID", "fre"}, {"PER_ID", "m"}, {"DOC_LIEU_EDITION", "Paris"}, {"DOC_ANNEE", "1946"},
                                 {"DOC_NOTE", "Un\r\nDeux"}, {"REL_ID", "464"}, {"REL_TITRE", "Revue"}, {"TYP_ID", "b"}});
        r.publisher = Label{QStringLiteral("Seuil"), QStringLiteral("سوي")};
        r.authors << StoredAuthor{QStringLiteral("Dupont, Jean"), 1, QStringLiteral("700"), QStringLiteral("070"), {}, 2}
                  << StoredAuthor{QStringLiteral("Homère. Iliade"), 4, QStringLiteral("730"), {}, {}, 2}
                  << StoredAuthor{QStringLiteral("Peugeot"), 10, QStringLiteral("716"), {}, {}, 3}
                  << StoredAuthor{QStringLiteral("Sans tag"), 6, QString(), {}, {}, 1};
        r.subjects << StoredSubject{QStringLiteral("Histoire : France"), 7, QStringLiteral("607")}
                   << StoredSubject{QStringLiteral("A; B"), 6, QStringLiteral("606")};
        r.indices << QStringLiteral("944");
        r.resources << StoredResource{QStringLiteral("Sommaire"), QStringLiteral("doc.pdf")};
        r.copies << StoredCopy{QStringLiteral("B1"), {}, QStringLiteral("R 1"), QStringLiteral("MAG"), {}, QStringLiteral("2"), {}};
        r.issues << StoredIssue{QStringLiteral("12"), QStringLiteral("2001"), {}};
        const QStringList lines = tagged(unimarcRecord(r, 0));
        QCOMPARE(lines.first(), QStringLiteral("001 7"));
        QCOMPARE(withTag(lines, QStringLiteral("205")), QStringList{QString::fromUtf8("205 ##$a2e éd.$brev.$d2nd ed.$fpar X")});
        QCOMPARE(withTag(lines, QStringLiteral("110")), QStringList{QStringLiteral("110 ##$aam")});
        QCOMPARE(withTag(lines, QStringLiteral("210")), QStringList{QStringLiteral("210 0#$aParis$cSeuil$d1946")});
        QCOMPARE(withTag(lines, QStringLiteral("300")), QStringList({QStringLiteral("300 ##$aUn"), QStringLiteral("300 ##$aDeux")}));
        QCOMPARE(withTag(lines, QStringLiteral("464")), QStringList{QStringLiteral("464 ##$tRevue")});
        QCOMPARE(withTag(lines, QStringLiteral("6")),
                 QStringList({QStringLiteral("607 ##$aHistoire$xFrance"), QStringLiteral("606 ##$aA$aB")}));
        QCOMPARE(withTag(lines, QStringLiteral("7")), QStringList({QStringLiteral("701 ##$aDupont$bJean$4070"),
                                                                    QStringLiteral("730 ##$aHomère. Iliade"),
                                                                    QStringLiteral("716 ##$aPeugeot")}));
        QCOMPARE(withTag(lines, QStringLiteral("856")), QStringList{QStringLiteral("856 ##$udoc.pdf$xSommaire")});
        QCOMPARE(withTag(lines, QStringLiteral("901")), QStringList{QStringLiteral("901 ##$ab")});
        QCOMPARE(withTag(lines, QStringLiteral("985")), QStringList{QStringLiteral("985 ##$a12$d2001")});
        QCOMPARE(withTag(lines, QStringLiteral("995")), QStringList{QStringLiteral("995 ##$fB1$kR 1$lMAG$t2")});
        // The indices follow the library's classification; none under 0.
        QCOMPARE(withTag(lines, QStringLiteral("67")), QStringList());
        QCOMPARE(withTag(tagged(unimarcRecord(r, 2)), QStringLiteral("676")), QStringList{QStringLiteral("676 ##$a944")});
        QCOMPARE(withTag(tagged(unimarcRecord(r, 3)), QStringLiteral("686")), QStringList{QStringLiteral("686 ##$a944")});
        // An Arabic record names its publisher in Arabic.
        r.notice.insert(QStringLiteral("LAN_ID"), QStringLiteral("ara"));
        QCOMPARE(withTag(tagged(unimarcRecord(r, 0)), QStringLiteral("210")), QStringList{QString::fromUtf8("210 0#$aParis$cسوي$d1946")});
        // No author of a known kind, no 7xx.
        r.authors = {r.authors.last()};
        QCOMPARE(withTag(tagged(unimarcRecord(r, 0)), QStringLiteral("7")), QStringList());
    }

    void leaderOfTheExchange_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("updatedBy");
        QTest::addColumn<QByteArray>("status");
        QTest::newRow("serial never edited") << QStringLiteral("b") << QString() << QByteArray("nas");
        QTest::newRow("serial edited") << QStringLiteral("b") << QStringLiteral("admin") << QByteArray("cas");
        QTest::newRow("monograph") << QStringLiteral("a") << QString() << QByteArray("nam");
        QTest::newRow("thesis") << QStringLiteral("c") << QString() << QByteArray("nam");
        QTest::newRow("music") << QStringLiteral("e") << QString() << QByteArray("ngm");
        QTest::newRow("map") << QStringLiteral("f") << QString() << QByteArray("nem");
        QTest::newRow("electronic") << QStringLiteral("g") << QString() << QByteArray("nlm");
        QTest::newRow("other") << QStringLiteral("x") << QString() << QByteArray("nkm");
        // The general material designation is the type of record it was read from.
        QTest::newRow("electronic serial") << QStringLiteral("b/l") << QString() << QByteArray("nls");
        QTest::newRow("designation not a type of record") << QStringLiteral("a/z") << QString() << QByteArray("nam");
    }
    void leaderOfTheExchange()
    {
        QFETCH(QString, type);
        QFETCH(QString, updatedBy);
        QFETCH(QByteArray, status);
        StoredRecord r = record({{"TYP_ID", type.section(u'/', 0, 0).toUtf8().constData()}});
        if (type.contains(u'/'))
            r.notice.insert(QStringLiteral("IND_ID"), type.section(u'/', 1));
        if (!updatedBy.isEmpty())
            r.notice.insert(QStringLiteral("UPDATE_USER"), updatedBy);
        const WriteResult w = exchangeRecord(r, 0);
        QVERIFY2(w.ok(), qPrintable(w.error));
        QCOMPARE(w.bytes.mid(5, 3), status);
        const ParseResult p = parseRecord(w.bytes);
        QVERIFY2(p.ok(), qPrintable(p.reason()));
        QCOMPARE(p.declared, Charset::Utf8);
        QCOMPARE(p.record.field("001")->controlText(), QStringLiteral("7"));
        QCOMPARE(p.record.value("200", 'a'), QStringLiteral("Titre"));
    }

    void taggedDisplay()
    {
        StoredRecord r = record({{"DOC_TITRE_PROPRE", "A & <B>"}, {"TYP_ID", "g"}});
        r.archiveDirectory = QStringLiteral("/srv/archives");
        r.resources << StoredResource{QStringLiteral("Texte integral"), QStringLiteral("these.pdf")}
                    << StoredResource{{}, QStringLiteral("http://x.org/?a=1&b=2")};
        const QString html = unimarcHtml(r, 0);
        QVERIFY(html.startsWith(QStringLiteral("<p><b>001</b> 7<br>")));
        QVERIFY(html.endsWith(QStringLiteral("</p>")));
        QVERIFY2(html.contains(QStringLiteral("<b>200</b> ## <font color=blue>$a</font>A &amp; &lt;B&gt;<br>")), qPrintable(html));
        // A web address is a link; a file is shown, not linked (the record form opens it).
        QVERIFY2(html.contains(QStringLiteral("<font color=blue>$u</font>these.pdf")), qPrintable(html));
        QVERIFY(!html.contains(QStringLiteral("file:")));
        QVERIFY(html.contains(QStringLiteral("<a href=\"http://x.org/?a=1&amp;b=2\">http://x.org/?a=1&amp;b=2</a>")));
    }
};

QTEST_GUILESS_MAIN(TstUnimarcDisplay)
#include "tst_unimarcdisplay.moc"
