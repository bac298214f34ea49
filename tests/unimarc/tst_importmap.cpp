// What each UNIMARC field gives the catalogue, field by field, before the
// database: columns, codes to look up, authors, subjects, indices,
// resources, issues and copies.

#include "catalogue/unimarc/importmap.h"
#include "records.h"

#include <QTest>

using namespace folian::unimarc;
using folian::unimarc::test::dataField;

Q_DECLARE_METATYPE(QList<folian::unimarc::Field>)

namespace {

using Fields = QList<Field>;

MappingContext context(int classification = 0)
{
    MappingContext c;
    c.relations = {410, 423, 430, 440, 461, 464};
    c.documentTypes = QStringLiteral("abcdefgx");
    c.supports = {1, 2};
    c.copyStatuses = {1, 2, 3, 4, 5, 6, 7, 8};
    c.classification = classification;
    return c;
}

// One aspect of a mapped record as text, so that a table can name what it expects.
QString describe(const MappedRecord &m, const QString &what)
{
    QStringList out;
    if (what == QLatin1String("type"))
        return m.typeId + u'/' + m.indication;
    if (what == QLatin1String("codes"))
        return QStringList{m.language, m.originalLanguage, m.periodicity, m.country}.join(u'|');
    if (what == QLatin1String("publication"))
        return QStringList{m.column(QStringLiteral("DOC_LIEU_EDITION")), m.column(QStringLiteral("DOC_LIEU_EDITION2")),
                           m.publisher, m.publisher2, m.column(QStringLiteral("DOC_ANNEE"))}
            .join(u'|');
    if (what == QLatin1String("collection"))
        return QStringList{m.collection.title, m.collection.parallel, m.collection.complement,
                           m.collection.responsibility, m.collection.issn, m.column(QStringLiteral("COL_NUMERO")),
                           m.subCollection, m.column(QStringLiteral("SCL_NUMERO"))}
            .join(u'|');
    if (what == QLatin1String("thesis"))
        return QStringList{m.diploma, m.speciality, m.column(QStringLiteral("DOC_LIEU_SOUTENANCE")),
                           m.column(QStringLiteral("DOC_ANNEE"))}
            .join(u'|');
    if (what == QLatin1String("authors")) {
        for (const MappedAuthor &a : m.authors)
            out << QStringLiteral("%1 %2 k%3 t%4").arg(a.name, a.function).arg(a.kind).arg(a.type);
        return out.join(QStringLiteral("; "));
    }
    if (what == QLatin1String("subjects")) {
        for (const MappedSubject &s : m.subjects)
            out << QStringLiteral("%1 k%2").arg(s.name).arg(s.kind);
        return out.join(QStringLiteral("; "));
    }
    if (what == QLatin1String("indices"))
        return m.indices.join(QStringLiteral("; "));
    if (what == QLatin1String("resources")) {
        for (const MappedResource &r : m.resources)
            out << r.type + u'|' + r.link;
        return out.join(QStringLiteral("; "));
    }
    if (what == QLatin1String("issues")) {
        for (const MappedIssue &i : m.issues)
            out << i.number + u'|' + i.date + u'|' + i.title;
        return out.join(QStringLiteral("; "));
    }
    if (what == QLatin1String("copies")) {
        for (const MappedCopy &c : m.copies)
            out << QStringList{c.id, c.inventory, c.shelfMark, c.location, c.support.toString(),
                               c.status.isNull() ? QStringLiteral("null") : c.status.toString(), c.remark}
                       .join(u'|');
        return out.join(QStringLiteral("; "));
    }
    if (what == QLatin1String("shelves"))
        return m.shelfNumbers.join(QStringLiteral("; "));
    if (what == QLatin1String("firstMainAuthor"))
        return m.firstMainAuthor;
    if (what == QLatin1String("sourceId"))
        return m.sourceId;
    if (what == QLatin1String("links"))
        return QStringList{m.column(QStringLiteral("REL_ID")), m.column(QStringLiteral("REL_TITRE")),
                           m.column(QStringLiteral("REL_VOLUME")), m.column(QStringLiteral("REL_DATE_PUB")),
                           m.column(QStringLiteral("REL_ISBN")), m.column(QStringLiteral("REL_ISSN")),
                           m.column(QStringLiteral("DOC_TITRE_ENSEMBLE")), m.column(QStringLiteral("DOC_NUMERO_PARTIE"))}
            .join(u'|');
    // What was left out: the tag of each field the remarks name.
    if (what == QLatin1String("leftOut")) {
        for (const QString &r : m.remarks)
            out << r.section(QStringLiteral(" : "), 1).left(3);
        return out.join(u' ');
    }
    QString text = m.column(what);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\r\\n"));
    return text;
}

} // namespace

class TstImportMap : public QObject
{
    Q_OBJECT

private slots:
    void fields_data()
    {
        QTest::addColumn<QByteArray>("leader");
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<int>("classification");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("expected");
        const QByteArray mono = "00000nam  2200000   450 ";
        auto row = [&](const char *name, const Fields &f, const char *what, const QString &expected,
                       QByteArray leader = QByteArray(), int classification = 0) {
            QTest::newRow(name) << (leader.isEmpty() ? mono : leader) << f << classification << QString::fromLatin1(what)
                                << expected;
        };
        const Field title = dataField("200", "1 ", {{'a', "Titre"}});

        // Numbers: cleaned; the first one when the field repeats.
        row("010 cleaned", {dataField("010", "  ", {{'a', "2-07-036024-8"}})}, "DOC_ISBN", QStringLiteral("2070360248"));
        row("two 010: the first", {dataField("010", "  ", {{'a', "2-07-036024-8"}}), dataField("010", "  ", {{'a', "978-2-07-036025-3"}})},
            "DOC_ISBN", QStringLiteral("2070360248"));
        row("010 repeated $a: the first", {dataField("010", "  ", {{'a', "2-07-036024-8"}, {'a', "2-07-036025-6"}})},
            "DOC_ISBN", QStringLiteral("2070360248"));
        row("010 second said", {dataField("010", "  ", {{'a', "2-07-036024-8"}}), dataField("010", "  ", {{'a', "978-2-07-036025-3"}})},
            "leftOut", QStringLiteral("010"));
        row("010 empty $a first", {dataField("010", "  ", {{'a', ""}, {'a', "2-07-036024-8"}})}, "DOC_ISBN",
            QStringLiteral("2070360248"));
        row("010 qualifier kept", {dataField("010", "  ", {{'a', "2-07-036024-8 (br.)"}})}, "DOC_ISBN",
            QStringLiteral("2070360248 (br.)"));
        row("010 qualifier of $b", {dataField("010", "  ", {{'a', "2-07-036024-8"}, {'b', "rel."}})}, "DOC_ISBN",
            QStringLiteral("2070360248 (rel.)"));
        row("011 qualifier of $b", {dataField("011", "  ", {{'a', "0955-2359"}, {'b', "print"}})}, "DOC_ISSN",
            QStringLiteral("09552359 (print)"));
        row("011", {dataField("011", "  ", {{'a', "0955-2359"}})}, "DOC_ISSN", QStringLiteral("09552359"));
        row("013 other number", {dataField("013", "  ", {{'a', "M 2306. 1"}})}, "DOC_NUM", QStringLiteral("M23061"));
        // Codes looked up later.
        row("101 two $a: the first", {dataField("101", "0 ", {{'a', "fre"}, {'a', "ara"}, {'c', "eng"}})}, "codes",
            QStringLiteral("fre|eng||"));
        row("101 empty $a first", {dataField("101", "0 ", {{'a', " "}, {'a', "ara"}})}, "codes", QStringLiteral("ara|||"));
        row("801 empty $a first", {dataField("801", " 0", {{'a', ""}, {'a', "DZ"}, {'b', "BN"}})}, "codes", QStringLiteral("|||DZ"));
        row("110 periodicity", {dataField("110", "  ", {{'a', "aka"}})}, "codes", QStringLiteral("||k|"));
        row("801 country and agency", {dataField("801", " 0", {{'a', "FR"}, {'b', "FNSP"}})}, "codes", QStringLiteral("|||FR"));
        row("801 agency", {dataField("801", " 0", {{'a', "FR"}, {'b', "FNSP"}})}, "DOC_AGENCE", QStringLiteral("FNSP"));
        // Titles.
        row("200 title proper", {dataField("200", "1 ", {{'a', "A"}, {'a', "B"}, {'c', "C"}, {'d', "D"}, {'e', "E"}})},
            "DOC_TITRE_PROPRE", QStringLiteral("A; B. C"));
        row("200 parallel title", {dataField("200", "1 ", {{'a', "A"}, {'d', "D1"}, {'d', "D2"}})}, "DOC_TITRE_PARALLELE",
            QStringLiteral("D1 = D2"));
        row("200 other title information", {dataField("200", "1 ", {{'a', "A"}, {'e', "roman"}, {'e', "traduit"}})},
            "DOC_TITRE_COMPLEMENT", QStringLiteral("roman : traduit"));
        row("530 without 200", {dataField("530", "0 ", {{'a', "Key title"}})}, "DOC_TITRE_PROPRE", QStringLiteral("Key title"));
        row("530 after 200", {title, dataField("530", "0 ", {{'a', "Key title"}})}, "DOC_TITRE_PROPRE", QStringLiteral("Titre"));
        row("two 200: the first", {title, dataField("200", "1 ", {{'a', "Autre"}})}, "DOC_TITRE_PROPRE", QStringLiteral("Titre"));
        row("205 edition", {dataField("205", "  ", {{'a', "2e éd."}, {'b', "rev."}, {'d', "2nd ed."}, {'f', "par X"}, {'g', "Y"}})},
            "DOC_EDITION", QString::fromUtf8("2e éd., rev. = 2nd ed. / par X; Y"));
        row("206", {dataField("206", "0 ", {{'a', "1:50000"}, {'a', "UTM"}})}, "DOC_MATHEMATIQUE", QStringLiteral("1:50000; UTM"));
        row("207", {dataField("207", " 0", {{'a', "1990-"}})}, "DOC_NUMEROTATION", QStringLiteral("1990-"));
        row("207 then 920", {dataField("207", " 0", {{'a', "1990-"}}), dataField("920", "  ", {{'a', "n. 1"}})}, "DOC_NUMEROTATION",
            QStringLiteral("1990-; n. 1"));
        row("208", {dataField("208", "  ", {{'a', "Partition"}})}, "DOC_MUSIQUE", QStringLiteral("Partition"));
        row("230", {dataField("230", "  ", {{'a', "Revue électronique"}})}, "DOC_RESSOURCE",
            QString::fromUtf8("Revue électronique"));
        // Publication: one subfield holding two names is cut at its comma,
        // two subfields are two names.
        row("210 one $a with a comma", {dataField("210", "  ", {{'a', "Paris, Lyon"}, {'c', "Seuil"}, {'d', "1990"}})},
            "publication", QStringLiteral("Paris|Lyon|Seuil||1990"));
        row("210 two $a and two $c",
            {dataField("210", "  ", {{'a', "Paris"}, {'a', "Lyon"}, {'c', "Seuil"}, {'c', "Minuit"}, {'d', "1990"}})},
            "publication", QStringLiteral("Paris|Lyon|Seuil|Minuit|1990"));
        row("210 a publisher with a comma", {dataField("210", "  ", {{'a', "Paris"}, {'c', "Gallimard, Jeunesse"}})},
            "publication", QStringLiteral("Paris||Gallimard|Jeunesse|"));
        row("214 without 210", {dataField("214", " 0", {{'a', "Alger"}, {'c', "Casbah"}, {'d', "2019"}})}, "publication",
            QStringLiteral("Alger||Casbah||2019"));
        row("214 beside 210", {dataField("210", "  ", {{'a', "Paris"}}), dataField("214", " 0", {{'a', "Alger"}})}, "publication",
            QStringLiteral("Paris||||"));
        row("214 beside 210 said", {dataField("210", "  ", {{'a', "Paris"}}), dataField("214", " 0", {{'a', "Alger"}})}, "leftOut",
            QStringLiteral("214"));
        // A field the record holds once keeps its first occurrence, the principal one; the others are said.
        const Fields two210{dataField("210", "  ", {{'a', "Paris"}, {'c', "Seuil"}, {'d', "1990"}}),
                            dataField("210", "  ", {{'a', "Lyon"}, {'c', "Fayard"}, {'d', "1992"}}),
                            dataField("210", "  ", {{'a', "Alger"}})};
        row("three 210: the first", two210, "publication", QStringLiteral("Paris||Seuil||1990"));
        row("three 210: two said", two210, "leftOut", QStringLiteral("210 210"));
        row("two 215, 225, 205", {dataField("215", "  ", {{'a', "1 vol."}}), dataField("215", "  ", {{'a', "2 vol."}}),
                                  dataField("205", "  ", {{'a', "2e éd."}}), dataField("205", "  ", {{'a', "3e éd."}}),
                                  dataField("225", "1 ", {{'a', "Folio"}}), dataField("225", "1 ", {{'a', "Poche"}})},
            "leftOut", QStringLiteral("215 205 225"));
        row("empty repeat not said", {dataField("210", "  ", {{'a', "Paris"}}), dataField("210", "  ", {{'a', " "}})}, "leftOut",
            QString());
        row("215 extent", {dataField("215", "  ", {{'a', "320 p."}, {'c', "ill."}, {'d', "24 cm"}, {'e', "1 CD"}})},
            "DOC_FORMAT", QStringLiteral("24 cm"));
        row("215 material", {dataField("215", "  ", {{'a', "320 p."}, {'e', "1 CD"}})}, "DOC_MATERIEL", QStringLiteral("1 CD"));
        row("225 collection",
            {dataField("225", "1 ", {{'a', "Que sais-je ?"}, {'d', "What"}, {'e', "compl"}, {'f', "PUF"}, {'x', "0768-0066"},
                                {'v', "123"}, {'i', "Histoire"}, {'h', "4"}})},
            "collection", QStringLiteral("Que sais-je ?|What|compl|PUF|0768-0066|123|Histoire|4"));
        // Notes.
        row("300 twice", {dataField("300", "  ", {{'a', "N1"}}), dataField("300", "  ", {{'a', "N2"}, {'a', "N3"}})}, "DOC_NOTE",
            QStringLiteral("N1\\r\\nN2; N3"));
        row("330", {dataField("330", "  ", {{'a', "Résumé"}})}, "DOC_RESUME", QString::fromUtf8("Résumé"));
        row("330 twice", {dataField("330", "  ", {{'a', "Résumé"}}), dataField("330", "  ", {{'a', "Abstract"}})}, "DOC_RESUME",
            QString::fromUtf8("Résumé\\r\\nAbstract"));
        // Document type.
        row("level m", {title}, "type", QStringLiteral("a/a"));
        row("level s", {title}, "type", QStringLiteral("b/a"), "00000nas  2200000   450 ");
        row("type g", {title}, "type", QStringLiteral("e/g"), "00000ngc  2200000   450 ");
        row("type e", {title}, "type", QStringLiteral("f/e"), "00000nec  2200000   450 ");
        row("type l", {title}, "type", QStringLiteral("g/l"), "00000nlc  2200000   450 ");
        row("type z", {title}, "type", QStringLiteral("x/"), "00000nzc  2200000   450 ");
        row("315 Thèse", {title, dataField("315", "  ", {{'a', "Thèse"}})}, "type", QStringLiteral("c/a"));
        row("315 Arabic serial", {title, dataField("315", "  ", {{'a', "دورية"}})}, "type", QStringLiteral("b/a"));
        row("315 other text", {title, dataField("315", "  ", {{'a', "Echelle"}})}, "type", QStringLiteral("a/a"));
        row("901 known type", {title, dataField("901", "  ", {{'a', "d"}})}, "type", QStringLiteral("d/a"));
        row("901 unknown type", {title, dataField("901", "  ", {{'a', "q"}})}, "type", QStringLiteral("a/a"));
        // Thesis.
        row("328 thesis",
            {dataField("328", " 1", {{'a', "Doctorat"}}), dataField("328", " 2", {{'a', "Histoire"}}), dataField("328", " 3", {{'a', "Alger"}}),
             dataField("328", " 4", {{'a', "2004"}})},
            "thesis", QStringLiteral("Doctorat|Histoire|Alger|2004"));
        row("328 thesis makes c", {title, dataField("328", " 3", {{'a', "Alger"}})}, "type", QStringLiteral("c/a"));
        row("328 body and supervisor",
            {dataField("328", " 5", {{'a', "Université d'Alger"}}), dataField("328", " 6", {{'a', "Benali"}}),
             dataField("328", " 7", {{'a', "Ahmed"}}), dataField("328", " 7", {{'a', "ignored"}})},
            "authors", QString::fromUtf8("Université d'Alger 340 k2 t3; Benali, Ahmed 727 k1 t3"));
        // Links.
        row("461 set", {dataField("461", " 0", {{'t', "Oeuvres"}, {'v', "3"}})}, "DOC_TITRE_ENSEMBLE", QStringLiteral("Oeuvres"));
        row("461 part", {dataField("461", " 0", {{'t', "Oeuvres"}, {'v', "3"}})}, "DOC_NUMERO_PARTIE", QStringLiteral("3"));
        row("430 plain", {dataField("430", " 1", {{'t', "Ancien titre"}, {'x', "1234-5678"}})}, "REL_ISSN",
            QStringLiteral("1234-5678"));
        row("430 relation", {dataField("430", " 1", {{'t', "Ancien titre"}})}, "REL_ID", QStringLiteral("430"));
        row("464 embeds 200 and 215",
            {dataField("464", " 1", {{'1', "001IT\\ICCU"}, {'1', "2001 "}, {'a', "Analytique"}, {'1', "215  "}, {'a', "p. 3-9"}})},
            "REL_VOLUME", QStringLiteral("p. 3-9"));
        row("464 embedded title", {dataField("464", " 1", {{'1', "2001 "}, {'a', "Analytique"}, {'v', "x"}})}, "REL_TITRE",
            QStringLiteral("Analytique"));
        row("4xx not a relation", {dataField("488", " 1", {{'t', "Autre"}})}, "REL_ID", QString());
        // A link gives what it holds, embedded or not; with nothing to show it is no link.
        row("464 embedded 001 alone", {dataField("464", " 1", {{'1', "001CFI0012298"}})}, "links", QStringLiteral("|||||||"));
        row("464 embedded 001 alone said", {dataField("464", " 1", {{'1', "001CFI0012298"}})}, "leftOut", QStringLiteral("464"));
        row("410 embedded 001 and 200", {dataField("410", " 0", {{'1', "001RAV1797816"}, {'1', "2001 "}, {'a', "Anticorpi"}, {'v', "43"}})},
            "links", QStringLiteral("410|Anticorpi|43|||||"));
        row("430 title in $a", {dataField("430", " 1", {{'a', "Evolution de l'activité"}, {'x', "0001-7736"}})}, "links",
            QString::fromUtf8("430|Evolution de l'activité||||0001-7736||"));
        row("423 empty $1 then $a", {dataField("423", " 1", {{'1', ""}, {'a', "FR. Feuillet rapide"}, {'x', "0150-5467"}})},
            "links", QStringLiteral("423|FR. Feuillet rapide||||0150-5467||"));
        row("430 empty $x first", {dataField("430", " 1", {{'t', "Ancien"}, {'x', ""}, {'x', "1234-5678"}})}, "REL_ISSN",
            QStringLiteral("1234-5678"));
        row("440 ISSN alone", {dataField("440", " 1", {{'x', "1387-2842"}})}, "links", QStringLiteral("440|||||1387-2842||"));
        row("two links: the first", {dataField("430", " 1", {{'t', "Avant"}}), dataField("440", " 1", {{'t', "Après"}})}, "links",
            QString::fromUtf8("430|Avant||||||"));
        row("two links: the second said", {dataField("430", " 1", {{'t', "Avant"}}), dataField("440", " 1", {{'t', "Après"}})},
            "leftOut", QStringLiteral("440"));
        row("461 and another link", {dataField("461", " 0", {{'t', "Oeuvres"}, {'v', "3"}}), dataField("410", " 0", {{'t', "Folio"}})},
            "links", QStringLiteral("410|Folio|||||Oeuvres|3"));
        row("461 alone is the link", {dataField("461", " 0", {{'t', "Oeuvres"}, {'v', "3"}})}, "links",
            QStringLiteral("461|Oeuvres|3||||Oeuvres|3"));
        row("461 and another link: nothing said", {dataField("461", " 0", {{'t', "Oeuvres"}}), dataField("410", " 0", {{'t', "Folio"}})},
            "leftOut", QString());
        // Subjects.
        row("606 with subdivisions", {dataField("606", "  ", {{'a', "Histoire"}, {'y', "France"}, {'z', "19e siècle"}})}, "subjects",
            QString::fromUtf8("Histoire : France : 19e siècle k6"));
        row("606 two $a", {dataField("606", "  ", {{'a', "A"}, {'a', "B"}})}, "subjects", QStringLiteral("A k6; B k6"));
        row("600 personal", {dataField("600", "  ", {{'a', "Camus"}, {'x', "Critique"}})}, "subjects",
            QStringLiteral("Camus : Critique k1"));
        row("607 and 610",
            {dataField("607", "  ", {{'a', "Algérie"}}), dataField("610", "  ", {{'a', "libre"}}), dataField("616", "  ", {{'a', "Ford"}})},
            "subjects", QString::fromUtf8("Algérie k7; libre k9; Ford k10"));
        row("609 is no subject", {dataField("609", "  ", {{'a', "X"}})}, "subjects", QString());
        // Indices by the classification of the library.
        row("676 ignored under 0", {dataField("676", "  ", {{'a', "944.04"}})}, "indices", QString());
        row("676 kept under 2", {dataField("676", "  ", {{'a', "944.04"}})}, "indices", QStringLiteral("944.04"), {}, 2);
        row("675 kept under 1", {dataField("675", "  ", {{'a', "82-31"}}), dataField("676", "  ", {{'a', "840"}})}, "indices",
            QStringLiteral("82-31"), {}, 1);
        row("686 under 3", {dataField("686", "  ", {{'a', "TK5105"}})}, "indices", QStringLiteral("TK5105"), {}, 3);
        row("short 995 $a under 3", {dataField("995", "  ", {{'a', "QA76"}})}, "indices", QStringLiteral("QA76"), {}, 3);
        // Authors.
        row("7xx authors",
            {dataField("700", " 1", {{'a', "Dupont"}, {'b', "Jean"}, {'4', "070"}}), dataField("701", " 1", {{'a', "Martin"}}),
             dataField("702", " 1", {{'a', "Durand"}, {'4', "730"}}), dataField("710", "02", {{'a', "Unesco"}}),
             dataField("711", "02", {{'a', "FAO"}}), dataField("712", "02", {{'a', "OMS"}}), dataField("720", "  ", {{'a', "Bourbon"}}),
             dataField("730", "  ", {{'a', "Homère. Iliade"}}), dataField("716", "  ", {{'a', "Peugeot"}})},
            "authors",
            QStringLiteral("Dupont, Jean 070 k1 t1; Martin  k1 t2; Durand 730 k1 t3; Unesco  k2 t1; FAO  k2 t2; "
                           "OMS  k2 t3; Bourbon  k3 t1; Homère. Iliade  k4 t1; Peugeot  k10 t1"));
        row("two 700, the first for duplicates", {dataField("700", " 1", {{'a', "Un"}}), dataField("700", " 1", {{'a', "Deux"}})},
            "firstMainAuthor", QStringLiteral("Un"));
        row("two $4: the first", {dataField("700", " 1", {{'a', "Un"}, {'4', "070"}, {'4', "440"}})}, "authors",
            QStringLiteral("Un 070 k1 t1"));
        // Punctuation carried in the parts of a name is not part of the heading.
        row("punctuation in $b", {dataField("700", " 1", {{'a', "Mazzucato"}, {'b', ", Mariana"}})}, "authors",
            QStringLiteral("Mazzucato, Mariana  k1 t1"));
        row("punctuation in $a", {dataField("701", " 1", {{'a', "Mazzucato ,"}, {'b', "Mariana"}})}, "authors",
            QStringLiteral("Mazzucato, Mariana  k1 t2"));
        row("initials keep their stop", {dataField("702", " 1", {{'a', "Dupont"}, {'b', " ; J.-P. "}})}, "authors",
            QStringLiteral("Dupont, J.-P.  k1 t3"));
        row("first 700 for duplicates, cleaned", {dataField("700", " 1", {{'a', "Mazzucato"}, {'b', ", Mariana"}})}, "firstMainAuthor",
            QStringLiteral("Mazzucato, Mariana"));
        row("740 is no author", {dataField("740", " 1", {{'a', "Un"}})}, "authors", QString());
        // Resources, issues, copies.
        // A resource joins every address; an empty one does not stand for the field.
        row("856", {dataField("856", "4 ", {{'u', "http://a.b/c"}, {'u', "http://d"}, {'x', "Sommaire"}}),
                    dataField("856", "  ", {{'a', "doc.pdf"}}), dataField("856", "  ", {{'z', "nothing to link"}})},
            "resources", QStringLiteral("Sommaire|http://a.b/c;  http://d; |doc.pdf"));
        row("856 empty $u first", {dataField("856", "4 ", {{'u', ""}, {'u', "http://a.b/c"}})}, "resources",
            QStringLiteral("|http://a.b/c"));
        row("985 issues", {dataField("985", "  ", {{'a', "12"}, {'d', "2001"}, {'t', "Spécial"}})}, "issues",
            QString::fromUtf8("12|2001|Spécial"));
        row("990 shelf numbers", {dataField("990", "  ", {{'a', "R 12"}}), dataField("990", "  ", {{'a', "R 13"}})}, "shelves",
            QStringLiteral("R 12; R 13"));
        row("995 copies",
            {dataField("995", "  ", {{'f', "B001"}, {'i', "I1"}, {'k', "840 CAM"}, {'l', "MAG"}, {'s', "2"}, {'t', "6"}, {'u', "abîmé"}}),
             dataField("995", "  ", {{'f', "B002"}, {'s', "9"}}), dataField("995", "  ", {{'f', "B003"}, {'t', "42"}}),
             dataField("995", "  ", {{'k', "no copy number"}})},
            "copies", QString::fromUtf8("B001|I1|840 CAM|MAG|2|6|abîmé; B002|||||2|; B003|||||null|"));
        row("995 empty $f first", {dataField("995", "  ", {{'f', ""}, {'f', "B004"}, {'l', ""}, {'l', "SALLE"}})}, "copies",
            QStringLiteral("B004|||SALLE||2|"));
        row("995 empty $f alone", {dataField("995", "  ", {{'f', " "}, {'k', "R 12"}})}, "copies", QString());
        // The identifier of the record in its source.
        row("001 source", {Field::control("001", QByteArray(" FRBNF123 ")), dataField("035", "  ", {{'a', "(OCoLC)9"}})}, "sourceId",
            QStringLiteral("FRBNF123"));
        row("035 without 001", {dataField("035", "  ", {{'a', ""}}), dataField("035", "  ", {{'a', "(OCoLC)9"}})}, "sourceId",
            QStringLiteral("(OCoLC)9"));
        row("no source", {title}, "sourceId", QString());
        row("999 digits", {dataField("999", "  ", {{'a', "12 ex."}})}, "DOC_NBR_EXEMPLAIRE", QStringLiteral("12"));
        row("999 no digit", {dataField("999", "  ", {{'a', "aucun"}})}, "DOC_NBR_EXEMPLAIRE", QString());
    }

    void fields()
    {
        QFETCH(QByteArray, leader);
        QFETCH(Fields, fields);
        QFETCH(int, classification);
        QFETCH(QString, what);
        QFETCH(QString, expected);
        QCOMPARE(describe(mapRecord(test::recordOf(fields, leader), context(classification)), what), expected);
    }

    // Text subfields never run together, even when the rule gives no separator.
    void extractJoinsRepeatedValues()
    {
        const Field f = dataField("215", "  ", {{'a', " 2 vol. "}, {'a', "320 p."}, {'c', "ill."}});
        QCOMPARE(extract(f, {{'a', ""}}), QStringLiteral("2 vol.; 320 p."));
        QCOMPARE(extract(f, {{'a', ""}, {'c', " : "}}), QStringLiteral("2 vol.; 320 p. : ill."));
        QCOMPARE(extract(f, {{'z', ""}}), QString());
    }
};

QTEST_GUILESS_MAIN(TstImportMap)
#include "tst_importmap.moc"
