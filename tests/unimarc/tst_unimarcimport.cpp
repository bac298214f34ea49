// The UNIMARC import into the catalogue, on both engines: rows and
// reference rows written, duplicates found, logged and integrated later,
// records kept whole when one of their rows is refused, caches that stay
// true after a rollback, accepted forms of headings, other libraries, the
// real files, and records exported and imported back.

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/unimarc/importfile.h"
#include "catalogue/unimarc/output.h"
#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/splitter.h"
#include "data/core/migrator.h"
#include "records.h"
#include "samecatalogue.h"
#include "support/folianctl.h"
#include "support/session.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;
using namespace folian::unimarc;
using folian::unimarc::test::dataField;
using folian::unimarc::test::recordOf;
using folian::unimarc::test::sameCatalogue;
using folian::unimarc::test::writeRecords;

Q_DECLARE_METATYPE(folian::unimarc::Record)

namespace {

QString testDataDir()
{
    const QByteArray env = qgetenv("FOLIAN_UNIMARC_TESTDATA");
    return env.isEmpty() ? QStringLiteral(FOLIAN_UNIMARC_TESTDATA) : QString::fromLocal8Bit(env);
}

QVariant scalar(Database &db, const QString &sql, const QVariantList &binds = {})
{
    bool ok = false;
    const QVariant v = db.scalar(sql, binds, &ok);
    if (!ok)
        qWarning("%s: %s", qPrintable(sql), qPrintable(db.lastError().text()));
    return v;
}
int count(Database &db, const QString &sql, const QVariantList &binds = {}) { return scalar(db, sql, binds).toInt(); }


// A monograph with something in every part of the catalogue.
Record richRecord(const char *title = "L'étranger", const char *isbn = "2-07-036024-8")
{
    return recordOf({
        Field::control("001", QByteArray("X-") + title),
        dataField("010", "  ", {{'a', isbn}}),
        dataField("101", "0 ", {{'a', "fre"}, {'c', "eng"}}),
        dataField("200", "1 ", {{'a', title}, {'e', "roman"}, {'d', "The stranger"}}),
        dataField("205", "  ", {{'a', "2e éd."}, {'b', "rev."}}),
        dataField("210", "  ", {{'a', "Paris"}, {'a', "Lyon"}, {'c', "Gallimard"}, {'d', "1942"}}),
        dataField("215", "  ", {{'a', "185 p."}, {'d', "18 cm"}}),
        dataField("225", "1 ", {{'a', "Folio"}, {'v', "2"}, {'i', "Classiques"}, {'h', "7"}}),
        dataField("300", "  ", {{'a', "Première note"}}),
        dataField("300", "  ", {{'a', "Seconde note"}}),
        dataField("330", "  ", {{'a', "Meursault"}}),
        dataField("606", "  ", {{'a', "Roman français"}, {'z', "20e siècle"}}),
        dataField("607", "  ", {{'a', "Algérie"}}),
        dataField("676", "  ", {{'a', "843.914"}}),
        dataField("700", " 1", {{'a', "Camus"}, {'b', "Albert"}, {'4', "070"}}),
        dataField("701", " 1", {{'a', "Ward"}, {'b', "Matthew"}, {'4', "730"}}),
        dataField("702", " 1", {{'a', "Sartre"}, {'b', "Jean-Paul"}, {'4', "080"}}),
        dataField("801", " 0", {{'a', "FR"}, {'b', "BnF"}}),
        dataField("856", "4 ", {{'u', "http://example.org/etranger"}, {'x', "Sommaire"}}),
        dataField("985", "  ", {{'a', "12"}, {'d', "1942"}, {'t', "Spécial"}}),
        dataField("995", "  ", {{'f', "B0001"}, {'k', "843 CAM"}, {'l', "MAG"}, {'t', "6"}}),
        dataField("995", "  ", {{'f', "B0002"}, {'k', "843 CAM"}}),
        dataField("999", "  ", {{'a', "2 ex."}}),
    });
}

Record titled(const char *title, QList<Field> more = {}, const QByteArray &leader = "00000nam  2200000   450 ")
{
    more.prepend(dataField("200", "1 ", {{'a', title}}));
    return recordOf(more, leader);
}

ImportCounts importRecords(Database &db, const QTemporaryDir &dir, const QList<Record> &records,
                           RecordOptions options = {}, QList<ImportLogLine> *log = nullptr)
{
    return importFile(db, writeRecords(dir, records), options, log);
}

} // namespace

class TstUnimarcImport : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("importateur");
        session().CurrentUserRole = 1;  // the union catalogue too is imported
    }
    void cleanup()
    {
        setMessageSink(nullptr);
        // The import speaks through its log and its counts, never through messages.
        QCOMPARE(sink.messages, QStringList());
    }

    void storesTheRecordAndItsRows_data() { addEngineRows(); }
    void storesTheRecordAndItsRows()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("UPDATE PARAMETRE SET CLASSIFICATION = 2")));
        QTemporaryDir dir;
        QList<ImportLogLine> log;
        const ImportCounts c = importRecords(db, dir, {richRecord()}, {}, &log);
        QVERIFY2(log.isEmpty(), qPrintable(log.value(0).text));
        QCOMPARE(c.read, 1);
        QCOMPARE(c.imported, 1);
        QVERIFY(c.completed);
        const int doc = scalar(db, QStringLiteral("SELECT DOC_ID FROM NOTICE")).toInt();
        QCOMPARE(doc, 1);
        auto col = [&](const char *column) {
            return scalar(db, QStringLiteral("SELECT %1 FROM NOTICE WHERE DOC_ID = ?").arg(QLatin1String(column)), {doc}).toString();
        };
        QCOMPARE(col("DOC_TITRE_PROPRE"), QString::fromUtf8("L'étranger"));
        QCOMPARE(col("DOC_TITRE_COMPLEMENT"), QStringLiteral("roman"));
        QCOMPARE(col("DOC_TITRE_PARALLELE"), QStringLiteral("The stranger"));
        QCOMPARE(col("DOC_ISBN"), QStringLiteral("2070360248"));
        QCOMPARE(col("DOC_EDITION"), QString::fromUtf8("2e éd., rev."));
        QCOMPARE(col("DOC_LIEU_EDITION"), QStringLiteral("Paris"));
        QCOMPARE(col("DOC_LIEU_EDITION2"), QStringLiteral("Lyon"));
        QCOMPARE(col("DOC_ANNEE"), QStringLiteral("1942"));
        QCOMPARE(col("DOC_NOTE"), QString::fromUtf8("Première note\r\nSeconde note"));
        QCOMPARE(col("DOC_NBR_EXEMPLAIRE"), QStringLiteral("2"));
        QCOMPARE(col("COL_NUMERO"), QStringLiteral("2"));
        QCOMPARE(col("SCL_NUMERO"), QStringLiteral("7"));
        QCOMPARE(col("TYP_ID"), QStringLiteral("a"));
        QCOMPARE(col("IND_ID"), QStringLiteral("a"));
        QCOMPARE(col("STA_ID"), QStringLiteral("1"));
        QCOMPARE(col("LAN_ID"), QStringLiteral("fre"));
        QCOMPARE(col("LAN_ID2"), QStringLiteral("eng"));
        QCOMPARE(col("PAY_ID"), QStringLiteral("FR"));
        QCOMPARE(col("DOC_AGENCE"), QStringLiteral("BnF"));
        QCOMPARE(col("BIB_ID"), QStringLiteral("0"));
        QCOMPARE(col("DOC_PRET_EXTERNE"), QStringLiteral("0"));
        QCOMPARE(col("CREATE_USER"), QStringLiteral("importateur"));
        QVERIFY(!col("CREATE_DATE").isEmpty());
        QCOMPARE(col("DOC_KEYWORDS"), QString::fromUtf8("/L//étranger//roman//The//stranger/"));
        // Reference rows created as the import creates them.
        QCOMPARE(scalar(db, QStringLiteral("SELECT EDT_NOM FROM EDITEUR WHERE EDT_ID = ?"), {col("EDT_ID")}).toString(),
                 QStringLiteral("Gallimard"));
        QCOMPARE(count(db, QStringLiteral("SELECT EDT_TYPE FROM EDITEUR WHERE EDT_NOM = 'Gallimard'")), 1);
        QCOMPARE(scalar(db, QStringLiteral("SELECT EDT_KEYWORDS FROM EDITEUR")).toString(), QStringLiteral("/Gallimard//Gallimard/"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE EDT_ID2 IS NULL")), 1);
        QCOMPARE(scalar(db, QStringLiteral("SELECT COL_TITRE_PROPRE FROM COLLECTION WHERE COL_ID = ?"), {col("COL_ID")}).toString(),
                 QStringLiteral("Folio"));
        QCOMPARE(scalar(db, QStringLiteral("SELECT COL_ID FROM SOUS_COLLECTION WHERE SCL_ID = ?"), {col("SCL_ID")}).toString(),
                 col("COL_ID"));
        // Authors with their responsibilities and functions, headings accepted by themselves.
        SqlRows a = db.query(QStringLiteral(
            "SELECT V.VED_NOM, V.TYP_VED_ID, A.AUT_TYPE, A.FON_ID, V.VED_ID2 - V.VED_ID FROM NOTICE_AUTEUR A "
            "JOIN VEDETTE V ON V.VED_ID = A.VED_ID WHERE A.DOC_ID = ? ORDER BY A.AUT_TYPE"), {doc});
        QStringList authors;
        while (a.next())
            authors << QStringLiteral("%1 k%2 t%3 %4 %5").arg(a.value(0).toString(), a.value(1).toString(), a.value(2).toString(),
                                                               a.value(3).toString(), a.value(4).toString());
        QCOMPARE(authors, QStringList({QStringLiteral("Camus, Albert k1 t1 070 0"), QStringLiteral("Ward, Matthew k1 t2 730 0"),
                                       QStringLiteral("Sartre, Jean-Paul k1 t3 080 0")}));
        QCOMPARE(scalar(db, QStringLiteral("SELECT VED_KEYWORDS FROM VEDETTE WHERE VED_NOM = 'Camus, Albert'")).toString(),
                 QStringLiteral("/Camus//Albert/"));
        SqlRows m = db.query(QStringLiteral("SELECT V.VED_NOM, V.TYP_VED_ID FROM NOTICE_MATIERE M JOIN VEDETTE V "
                                            "ON V.VED_ID = M.VED_ID ORDER BY M.NMA_ID"));
        QStringList subjects;
        while (m.next())
            subjects << m.value(0).toString() + u' ' + m.value(1).toString();
        QCOMPARE(subjects, QStringList({QString::fromUtf8("Roman français : 20e siècle 6"), QString::fromUtf8("Algérie 7")}));
        QCOMPARE(scalar(db, QStringLiteral("SELECT CLA_ID FROM NOTICE_CLASSIFICATION WHERE DOC_ID = ?"), {doc}).toString(),
                 QStringLiteral("843.914"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM CLASSIFICATION WHERE CLA_ID = '843.914'")), 1);
        QCOMPARE(scalar(db, QStringLiteral("SELECT RES_LIEN FROM NOTICE_RESSOURCE WHERE DOC_ID = ?"), {doc}).toString(),
                 QStringLiteral("http://example.org/etranger"));
        QCOMPARE(scalar(db, QStringLiteral("SELECT RES_TYPE FROM NOTICE_RESSOURCE")).toString(), QStringLiteral("Sommaire"));
        QCOMPARE(scalar(db, QStringLiteral("SELECT BUL_TITRE FROM NOTICE_BULLETIN WHERE DOC_ID = ? AND BIB_ID = 0 AND BUL_STATUT = 1"),
                        {doc}).toString(),
                 QString::fromUtf8("Spécial"));
        // Copies with the defaults of a new copy, the status of 995 $t, a location created.
        SqlRows e = db.query(QStringLiteral("SELECT EXP_ID, EXP_COTE, LOC_ID, STA_EXP_ID, MOD_ID, EXP_INVENTORIE, BIB_ID "
                                            "FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ? ORDER BY EXP_ID"), {doc});
        QStringList copies;
        while (e.next()) {
            QStringList v;
            for (int i = 0; i < 7; ++i)
                v << e.value(i).toString();
            copies << v.join(u'|');
        }
        QCOMPARE(copies, QStringList({QStringLiteral("B0001|843 CAM|MAG|6|5|1|0"), QStringLiteral("B0002|843 CAM||2|5|1|0")}));
        QCOMPARE(scalar(db, QStringLiteral("SELECT LOC_LIBELLE FROM LOCALISATION WHERE LOC_ID = 'MAG'")).toString(),
                 QStringLiteral("MAG"));
        QCOMPARE(session().DefaultDocumentType, QStringLiteral("a"));
    }

    // Which stored record an incoming one duplicates.
    void duplicates_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<Record>("stored");
        QTest::addColumn<Record>("incoming");
        QTest::addColumn<bool>("duplicate");
        for (const QString &e : engines()) {
            auto row = [&](const char *name, const Record &s, const Record &i, bool d) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(name))) << e << s << i << d;
            };
            const Field isbn = dataField("010", "  ", {{'a', "2-07-036024-8"}});
            const Field issn = dataField("011", "  ", {{'a', "0955-2359"}});
            row("same ISBN, other title", titled("Un", {isbn}), titled("Deux", {dataField("010", "  ", {{'a', "2070360248"}})}), true);
            row("same ISBN, other type", titled("Un", {isbn}), titled("Un", {isbn}, "00000nas  2200000   450 "), false);
            row("other ISBN, same title and author",
                titled("Un", {isbn, dataField("700", " 1", {{'a', "X"}})}),
                titled("Un", {dataField("010", "  ", {{'a', "2070360256"}}), dataField("700", " 1", {{'a', "X"}})}), false);
            row("same ISSN", titled("Revue", {issn}, "00000nas  2200000   450 "),
                titled("Autre", {issn}, "00000nas  2200000   450 "), true);
            row("title alone is new", titled("Un"), titled("Un"), false);
            row("title and first 700", titled("Un", {dataField("700", " 1", {{'a', "X"}})}),
                titled("Un", {dataField("700", " 1", {{'a', "X"}}), dataField("700", " 1", {{'a', "Y"}})}), true);
            row("title, other 700", titled("Un", {dataField("700", " 1", {{'a', "X"}})}),
                titled("Un", {dataField("700", " 1", {{'a', "Y"}})}), false);
            row("title and edition", titled("Un", {dataField("205", "  ", {{'a', "2e éd."}})}),
                titled("Un", {dataField("205", "  ", {{'a', "2e éd."}})}), true);
            row("title, other edition", titled("Un", {dataField("205", "  ", {{'a', "2e éd."}})}),
                titled("Un", {dataField("205", "  ", {{'a', "3e éd."}})}), false);
            row("title, other complement",
                recordOf({dataField("200", "1 ", {{'a', "Un"}, {'e', "A"}}), dataField("205", "  ", {{'a', "2e"}})}),
                recordOf({dataField("200", "1 ", {{'a', "Un"}, {'e', "B"}}), dataField("205", "  ", {{'a', "2e"}})}), false);
            row("quote in the title", titled("L'Harmattan", {dataField("205", "  ", {{'a', "1"}})}),
                titled("L'Harmattan", {dataField("205", "  ", {{'a', "1"}})}), true);
            // Numbers compare whatever their case and their qualifier.
            row("ISBN x against X", titled("Un", {dataField("010", "  ", {{'a', "2-07-036822-x"}})}),
                titled("Deux", {dataField("010", "  ", {{'a', "207036822X"}})}), true);
            row("ISBN with a qualifier", titled("Un", {dataField("010", "  ", {{'a', "2-07-036024-8 (br.)"}})}),
                titled("Deux", {dataField("010", "  ", {{'a', "2070360248"}})}), true);
            row("ISBN against one with a qualifier", titled("Un", {isbn}),
                titled("Deux", {dataField("010", "  ", {{'a', "2070360248"}, {'b', "rel."}})}), true);
            row("ISBN that only begins the same", titled("Un", {dataField("010", "  ", {{'a', "20703602489"}})}),
                titled("Deux", {isbn}), false);
            row("ISSN with a qualifier", titled("Revue", {dataField("011", "  ", {{'a', "0955-2359 (print)"}})}, "00000nas  2200000   450 "),
                titled("Autre", {issn}, "00000nas  2200000   450 "), true);
            // The identifier a record had in its source, whatever the rest.
            const Field id = Field::control("001", QByteArray("FRBNF4012"));
            row("same 001, other title", titled("Un", {id}), titled("Tout autre", {id}), true);
            row("same 001, other type", titled("Un", {id}), titled("Un", {id}, "00000nas  2200000   450 "), true);
            row("same 035, no 001", titled("Un", {dataField("035", "  ", {{'a', "(OCoLC)77"}})}),
                titled("Deux", {dataField("035", "  ", {{'a', "(OCoLC)77"}})}), true);
            row("other 001, same title", titled("Un", {id}), titled("Un", {Field::control("001", QByteArray("FRBNF4013"))}), false);
            row("other 001, same ISBN", titled("Un", {id, isbn}), titled("Deux", {Field::control("001", QByteArray("X")), isbn}), true);
        }
    }
    void duplicates()
    {
        QFETCH(QString, engine);
        QFETCH(Record, stored);
        QFETCH(Record, incoming);
        QFETCH(bool, duplicate);
        FOLIAN_TEST_DB(tdb, engine);
        QTemporaryDir dir;
        QCOMPARE(importRecords(tdb.db(), dir, {stored}, {0, false}).imported, 1);
        QList<ImportLogLine> log;
        const ImportCounts c = importRecords(tdb.db(), dir, {incoming}, {0, true}, &log);
        QCOMPARE(c.duplicates, duplicate ? 1 : 0);
        QCOMPARE(c.imported, duplicate ? 0 : 1);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE")), duplicate ? 1 : 2);
        if (duplicate) {
            QCOMPARE(log.size(), 1);
            QCOMPARE(log.first().kind, ImportLogLine::Kind::Duplicate);
            QCOMPARE(log.first().text, QStringLiteral("Existe --> ") + mapRecord(incoming, {}).title());
            QVERIFY(log.first().stored().endsWith(QStringLiteral("~0")));
        }
    }

    // A record given twice in one file is a duplicate the second time, whatever the criterion.
    void duplicatesWithinAFile_data() { addEngineRows(); }
    void duplicatesWithinAFile()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QTemporaryDir dir;
        const Record byAuthor = titled("Un", {dataField("700", " 1", {{'a', "X"}}), dataField("606", "  ", {{'a', "S"}})});
        const Record byIsbn = titled("Deux", {dataField("010", "  ", {{'a', "2070360248"}})});
        QList<ImportLogLine> log;
        const ImportCounts c = importRecords(tdb.db(), dir, {byAuthor, byIsbn, titled("Autre"), byAuthor, byIsbn}, {}, &log);
        QCOMPARE(c.imported, 3);
        QCOMPARE(c.duplicates, 2);
        QCOMPARE(log.size(), 2);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE_AUTEUR")), 1);
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE_MATIERE")), 1);
    }

    // The duplicates of a file found again are logged with their place in the
    // file; "Intégrer" reads them from there and removes only the lines it imported.
    void integration_data() { addEngineRows(); }
    void integration()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QTemporaryDir dir;
        const QList<Record> records{richRecord("Un", "2-07-036024-8"), titled("Sans numéro"), richRecord("Trois", "2070360256")};
        // Line ends and filler between the records.
        const QString path = writeRecords(dir, records, "\r\n");
        QCOMPARE(importFile(db, path, {0, true}, nullptr).imported, 3);
        QList<ImportLogLine> log;
        const ImportCounts again = importFile(db, path, {0, true}, &log);
        QCOMPARE(again.duplicates, 2);  // the record without ISBN, edition or author is new again
        QCOMPARE(again.imported, 1);
        QCOMPARE(log.size(), 2);
        QCOMPARE(log.at(0).text, QStringLiteral("Existe --> Un"));
        QCOMPARE(log.at(1).text, QStringLiteral("Existe --> Trois"));
        QCOMPARE(log.at(0).offset, 0);
        QVERIFY(log.at(1).offset > log.at(0).offset);
        // The copies of the first import hold the copy numbers: the forced record keeps them out, and says so.
        const ImportCounts forced = integrateDuplicates(db, path, log, {1});
        QCOMPARE(forced.imported, 1);
        QCOMPARE(forced.failed, 0);
        QCOMPARE(forced.skippedRows, 2);
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.at(0).text, QStringLiteral("Existe --> Un"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_TITRE_PROPRE = 'Trois'")), 2);
        // A line that is gone, or is not a duplicate, is no integration.
        QCOMPARE(integrateDuplicates(db, path, log, {5}).imported, 0);
        // A file that changed since: the record at the offset is not the one logged, the line stays.
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(unimarc::test::bytesOf(titled("Autre chose")));
        f.close();
        const ImportCounts changed = integrateDuplicates(db, path, log, {0});
        QCOMPARE(changed.imported, 0);
        QCOMPARE(changed.failed, 1);
        QCOMPARE(log.size(), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 5);
    }

    // A row the server refuses is left out and said; the record and its other rows stay.
    void refusedRowKeepsTheRecord_data() { addEngineRows(); }
    void refusedRowKeepsTheRecord()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (50, 'Ailleurs')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID) VALUES ('TAKEN', 50, 0)")));
        QTemporaryDir dir;
        const QString longName(300, u'x');
        const Record r = titled("Gardé", {dataField("700", " 1", {{'a', "Auteur"}}),
                                          dataField("701", " 1", {{'a', longName.toUtf8().constData()}}),
                                          dataField("995", "  ", {{'f', "C1"}}), dataField("995", "  ", {{'f', "TAKEN"}}),
                                          dataField("995", "  ", {{'f', "C1"}}), dataField("995", "  ", {{'f', "C2"}})});
        QList<ImportLogLine> log;
        const ImportCounts c = importRecords(db, dir, {r, titled("Suivante")}, {0, true}, &log);
        QCOMPARE(c.imported, 2);
        QCOMPARE(c.failed, 0);
        QCOMPARE(c.skippedRows, 3);
        QCOMPARE(log.size(), 3);
        for (const ImportLogLine &l : log)
            QVERIFY2(l.kind == ImportLogLine::Kind::Error && l.text.startsWith(QString::fromUtf8(" Erreur --> Gardé : ")),
                     qPrintable(l.text));
        QVERIFY(log.at(0).text.contains(QStringLiteral("VED_NOM")));  // the name too long for a heading
        QVERIFY(log.at(1).text.contains(QStringLiteral("TAKEN")));
        QVERIFY(log.at(2).text.contains(QStringLiteral("C1")));
        const int doc = scalar(db, QStringLiteral("SELECT DOC_ID FROM NOTICE WHERE DOC_TITRE_PROPRE = ?"), {QString::fromUtf8("Gardé")}).toInt();
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ?"), {doc}), 2);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_AUTEUR WHERE DOC_ID = ?"), {doc}), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'TAKEN' AND DOC_ID = 50")), 1);
        // A value too long for the record itself: the record is refused, said, and nothing of it stays.
        log.clear();
        const QString longTitle(600, u't');
        const ImportCounts refused = importRecords(
            db, dir, {titled(longTitle.toUtf8().constData(), {dataField("210", "  ", {{'c', "Éditeur perdu"}})})}, {}, &log);
        QCOMPARE(refused.failed, 1);
        QCOMPARE(refused.imported, 0);
        QCOMPARE(log.size(), 1);
        QVERIFY(log.first().text.startsWith(QStringLiteral(" Erreur --> ttt")));
        QVERIFY(log.first().text.contains(QStringLiteral("DOC_TITRE_PROPRE")));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM EDITEUR")), 0);
    }

    // A reference row created for a record that is then rolled back is created
    // again for the next record, not taken from the cache.
    void cacheForgetsRolledBackRows_data() { addEngineRows(); }
    void cacheForgetsRolledBackRows()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QTemporaryDir dir;
        const Field publisher = dataField("210", "  ", {{'c', "Casbah"}});
        const Field heading = dataField("606", "  ", {{'a', "Sujet"}});
        const QString longTitle(600, u't');
        const ImportCounts c = importRecords(
            db, dir, {titled(longTitle.toUtf8().constData(), {publisher, heading}), titled("Bonne", {publisher, heading})});
        QCOMPARE(c.failed, 1);
        QCOMPARE(c.imported, 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM EDITEUR")), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE N JOIN EDITEUR E ON E.EDT_ID = N.EDT_ID "
                                          "WHERE E.EDT_NOM = 'Casbah'")), 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_MATIERE M JOIN VEDETTE V ON V.VED_ID = M.VED_ID "
                                          "WHERE V.VED_NOM = 'Sujet'")), 1);
    }

    // A name found under a rejected form leads to its accepted heading.
    void acceptedForms_data() { addEngineRows(); }
    void acceptedForms()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        for (const char *sql : {"INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (10, 1, 'Camus, Albert', 10)",
                                "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (11, 1, 'Kamu, Albert', 10)",
                                "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (20, 6, 'Romans', 20)",
                                "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (21, 6, 'Roman', 20)"})
            QVERIFY2(db.exec(QLatin1String(sql)), qPrintable(db.lastError().text()));
        QTemporaryDir dir;
        const ImportCounts c = importRecords(db, dir, {titled("Noces", {dataField("606", "  ", {{'a', "Roman"}}),
                                                                         dataField("700", " 1", {{'a', "Kamu"}, {'b', "Albert"}}),
                                                                         dataField("701", " 1", {{'a', "Camus"}, {'b', "Albert"}})})});
        QCOMPARE(c.imported, 1);
        QCOMPARE(scalar(db, QStringLiteral("SELECT VED_ID FROM NOTICE_MATIERE")).toInt(), 20);
        SqlRows q = db.query(QStringLiteral("SELECT VED_ID FROM NOTICE_AUTEUR ORDER BY AUT_TYPE"));
        QList<int> ids;
        while (q.next())
            ids << q.value(0).toInt();
        QCOMPARE(ids, QList<int>({10, 10}));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VEDETTE")), 4);
    }

    // Records for another library carry its number, with a copy when the file
    // gives none; a record already in the catalogue gains that library's copy.
    void otherLibraries_data() { addEngineRows(); }
    void otherLibraries()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QTemporaryDir dir;
        // An import is for a partner library that exists.
        for (const int library : {3, 4})
            QVERIFY(db.exec(QStringLiteral("INSERT INTO BIBLIOTHEQUE (BIB_ID, BIB_NOM, BIB_TUTELLE) VALUES (?, ?, ?)"),
                            {library, QStringLiteral("Partenaire %1").arg(library), QStringLiteral("Tutelle")}));
        const Record r = titled("Partagé", {dataField("010", "  ", {{'a', "9782070360246"}}),
                                            dataField("985", "  ", {{'a', "1"}})});
        const ImportCounts first = importRecords(db, dir, {r}, {3, true});
        QCOMPARE(first.imported, 1);
        const int doc = scalar(db, QStringLiteral("SELECT DOC_ID FROM NOTICE")).toInt();
        QCOMPARE(scalar(db, QStringLiteral("SELECT BIB_ID FROM NOTICE")).toInt(), 3);
        QList<ImportLogLine> log;
        const ImportCounts second = importRecords(db, dir, {r}, {4, true}, &log);
        QCOMPARE(second.imported, 1);
        QCOMPARE(second.attached, 1);
        QCOMPARE(second.duplicates, 0);
        QVERIFY(log.isEmpty());
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 1);
        SqlRows q = db.query(QStringLiteral("SELECT EXP_ID, BIB_ID, DOC_ID FROM NOTICE_EXEMPLAIRE ORDER BY BIB_ID"));
        QStringList copies;
        while (q.next())
            copies << q.value(0).toString() + u'|' + q.value(1).toString() + u'|' + q.value(2).toString();
        const QString d = QString::number(doc);
        QCOMPARE(copies, QStringList({d + QStringLiteral("-3|3|") + d, d + QStringLiteral("-4|4|") + d}));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE BIB_ID IN (3, 4)")), 2);
        // For our own library the same record is a duplicate.
        const ImportCounts ours = importRecords(db, dir, {r}, {0, true});
        QCOMPARE(ours.duplicates, 1);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")), 2);
    }

    // What the file loop counts: deleted records, line ends, refused records, records without title.
    void fileCounts_data() { addEngineRows(); }
    void fileCounts()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QTemporaryDir dir;
        Record deleted = titled("Effacée");
        deleted.leader[5] = 'd';
        Record withdrawn = titled("Retirée");
        withdrawn.leader[5] = 'x';
        QByteArray bad = unimarc::test::bytesOf(titled("Illisible"));
        bad.replace(12, 5, "0x100");  // no base address
        // Its second field points outside the record: read without it.
        QByteArray damaged = unimarc::test::bytesOf(titled("Abîmée", {dataField("300", "  ", {{'a', "Perdue"}})}));
        damaged.replace(24 + 12 + 7, 5, "90000");
        QByteArray bytes = unimarc::test::bytesOf(titled("Une")) + "\r\n" + unimarc::test::bytesOf(deleted) + "\r\n" + bad + "\n"
            + unimarc::test::bytesOf(recordOf({dataField("210", "  ", {{'a', "Paris"}})})) + QByteArray(3, '\0')
            + unimarc::test::bytesOf(withdrawn) + unimarc::test::bytesOf(titled("Deux")) + damaged;
        const QString path = dir.filePath(QStringLiteral("mixed.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QList<ImportLogLine> log;
        const ImportCounts c = importFile(tdb.db(), path, {}, &log);
        QCOMPARE(c.read, 7);
        QCOMPARE(c.deleted, 2);
        QCOMPARE(c.imported, 3);
        QCOMPARE(c.malformed, 1);
        QCOMPARE(c.untitled, 1);
        QCOMPARE(c.rejected(), 2);
        QCOMPARE(c.repaired, 1);
        QVERIFY(c.completed);
        QCOMPARE(log.size(), 2);
        QCOMPARE(log.first().kind, ImportLogLine::Kind::Rejected);
        QVERIFY(log.first().text.contains(QStringLiteral("n° 3")));
        QCOMPARE(log.last().kind, ImportLogLine::Kind::Remark);
        QVERIFY2(log.last().text.startsWith(QString::fromUtf8("Remarque --> Abîmée : répertoire endommagé : field 300")),
                 qPrintable(log.last().text));
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_TITRE_PROPRE = ? AND DOC_NOTE IS NULL"),
                       {QString::fromUtf8("Abîmée")}),
                 1);
        const QString summary = importSummary(c);
        QVERIFY(summary.startsWith(QStringLiteral("Importation terminé.\n")));
        QVERIFY2(summary.contains(QStringLiteral("7 notices lues, 3 importées, 0 doubles, 2 rejetées (1 sans titre propre, 1 illisibles)")),
                 qPrintable(summary));
        QVERIFY(summary.contains(QStringLiteral("2 supprimées ignorées")));
        QVERIFY2(summary.contains(QStringLiteral("1 notices au répertoire endommagé")), qPrintable(summary));
        // A file that cannot be read.
        const ImportCounts missing = importFile(tdb.db(), dir.filePath(QStringLiteral("absent.txt")), {}, nullptr);
        QVERIFY(!missing.completed);
        QVERIFY(!missing.error.isEmpty());
        QVERIFY(importSummary(missing).startsWith(QStringLiteral("Importation interrompue.")));
    }

    // The same file imported twice: the records without any number are
    // found again by the identifier they had in their source, for the same
    // library only.
    void sameFileTwice_data() { addEngineRows(); }
    void sameFileTwice()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QTemporaryDir dir;
        QList<Record> records;
        for (int i = 1; i <= 5; ++i)
            records << titled(QStringLiteral("Bulletin %1").arg(i).toUtf8().constData(),
                              {Field::control("001", QByteArray::number(4000 + i)), dataField("985", "  ", {{'a', "1"}})},
                              "00000nas  2200000   450 ");
        records << titled("Sans identifiant", {dataField("035", "  ", {{'a', "(FNSP)9"}})});
        const QString path = writeRecords(dir, records);
        QCOMPARE(importFile(db, path, {0, true}, nullptr).imported, 6);
        QList<ImportLogLine> log;
        const ImportCounts again = importFile(db, path, {0, true}, &log);
        QCOMPARE(again.imported, 0);
        QCOMPARE(again.duplicates, 6);
        QCOMPARE(log.size(), 6);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 6);
        QCOMPARE(scalar(db, QStringLiteral("SELECT DOC_IDENTIFIANT_SOURCE FROM NOTICE WHERE DOC_TITRE_PROPRE = ?"),
                        {QStringLiteral("Bulletin 2")}).toString(),
                 QStringLiteral("4002"));
        // Another library: its own records; for it, the file again attaches nothing twice.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO BIBLIOTHEQUE (BIB_ID, BIB_NOM, BIB_TUTELLE) VALUES (3, ?, ?)"),
                        {QStringLiteral("Bibliothèque partenaire"), QStringLiteral("Université")}));
        QCOMPARE(importFile(db, path, {3, true}, nullptr).imported, 6);
        const int afterLibrary = count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE"));
        QCOMPARE(afterLibrary, 12);
        const ImportCounts libraryAgain = importFile(db, path, {3, true}, nullptr);
        QCOMPARE(libraryAgain.attached, 6);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE")), afterLibrary);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE BIB_ID = 3")), 5);
    }

    // What the reader and the mapping had to leave or read otherwise is in
    // the log, record by record, and counted in the closing message.
    void remarksInTheLog_data() { addEngineRows(); }
    void remarksInTheLog()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QTemporaryDir dir;
        // Declared ISO 646, held in Latin-1; two 210.
        Record latin = titled("x", {dataField("100", "  ", {{'a', "20240101d2001    k  y0frey01      ba"}}),
                                    dataField("210", "  ", {{'a', "Paris"}, {'c', "Seuil"}}),
                                    dataField("210", "  ", {{'a', "Lyon"}, {'c', "Fayard"}}),
                                    dataField("464", " 1", {{'1', "001CFI0012298"}})});
        Record clean = titled("Propre");
        Record rewritten = latin;
        rewritten.field("200")->subfields.first().value = unimarc::test::bytes("Soci{E9}t{E9}");
        const QString path = dir.filePath(QStringLiteral("remarks.mrc"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(unimarc::test::bytesOf(rewritten) + unimarc::test::bytesOf(clean));
        f.close();
        QList<ImportLogLine> log;
        const ImportCounts c = importFile(db, path, {0, true}, &log);
        QCOMPARE(c.imported, 2);
        QCOMPARE(c.charsetMismatches, 1);
        QCOMPARE(c.leftOut, 2);
        QStringList texts;
        for (const ImportLogLine &l : log) {
            QCOMPARE(l.kind, ImportLogLine::Kind::Remark);
            texts << l.text;
        }
        QCOMPARE(texts, QStringList({
            QString::fromUtf8("Remarque --> Société : jeu de caractères déclaré ISO 646, lu en Windows-1252 (champs 200)"),
            QString::fromUtf8("Remarque --> Société : champ répété non repris : 210 $aLyon$cFayard"),
            QString::fromUtf8("Remarque --> Société : lien sans titre ni numéro non repris : 464 $1001CFI0012298"),
        }));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_LIEU_EDITION = 'Paris' AND REL_ID IS NULL")), 1);
        const QString summary = importSummary(c);
        QVERIFY2(summary.contains(QString::fromUtf8("1 notices lues dans un autre jeu de caractères que celui déclaré")),
                 qPrintable(summary));
        QVERIFY2(summary.contains(QString::fromUtf8("2 champs ou valeurs que la notice ne peut garder, non repris")),
                 qPrintable(summary));
    }

    // A name whose parts carry their punctuation is the heading of the same
    // name without it: no second heading for the same person.
    void namePunctuation_data() { addEngineRows(); }
    void namePunctuation()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QTemporaryDir dir;
        const ImportCounts c = importRecords(
            db, dir,
            {titled("Un", {dataField("700", " 1", {{'a', "Mazzucato"}, {'b', "Mariana"}})}),
             titled("Deux", {dataField("700", " 1", {{'a', "Mazzucato"}, {'b', ", Mariana"}})}),
             titled("Trois", {dataField("701", " 1", {{'a', "Mazzucato,"}, {'b', "Mariana"}})})});
        QCOMPARE(c.imported, 3);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VEDETTE")), 1);
        QCOMPARE(scalar(db, QStringLiteral("SELECT VED_NOM FROM VEDETTE")).toString(), QStringLiteral("Mazzucato, Mariana"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_AUTEUR")), 3);
    }

    // Resources: every address of a field, and an address miswritten kept as given.
    void resourceAddresses_data() { addEngineRows(); }
    void resourceAddresses()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QTemporaryDir dir;
        QCOMPARE(importRecords(db, dir,
                               {titled("Un", {dataField("856", "4 ", {{'u', ""}, {'u', "http://a.org/x"}, {'u', "http://b.org/y"}})}),
                                titled("Deux", {dataField("856", "4 ", {{'u', "http.//www.revue.fr/n1/sommaire.pdf"}})}),
                                titled("Trois", {dataField("856", "4 ", {{'u', "C:\\docs\\these.pdf"}})})})
                     .imported,
                 3);
        SqlRows q = db.query(QStringLiteral("SELECT R.RES_LIEN FROM NOTICE_RESSOURCE R ORDER BY R.DOC_ID"));
        QStringList links;
        while (q.next())
            links << q.value(0).toString();
        QCOMPARE(links, QStringList({QStringLiteral("http://a.org/x;  http://b.org/y"),
                                     QStringLiteral("http.//www.revue.fr/n1/sommaire.pdf"), QStringLiteral("these.pdf")}));
    }

    // The real files: every record imported, the texts as the files hold them.
    void realFiles_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("knownTitle");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" periouni.mrc"))) << e << QStringLiteral("periouni.mrc") << 3064
                << QStringLiteral("Combined statement of receipts, outlays, and balances of the United States government");
            QTest::newRow(qPrintable(e + QStringLiteral(" bncf_data.mrc"))) << e << QStringLiteral("bncf_data.mrc") << 5
                                                                        << QStringLiteral("Lo Stato innovatore");
            QTest::newRow(qPrintable(e + QStringLiteral(" testunimarc.dat"))) << e << QStringLiteral("testunimarc.dat") << 1
                                                                          << QStringLiteral("L'altra faccia della spirale");
        }
    }
    void realFiles()
    {
        QFETCH(QString, engine);
        QFETCH(QString, file);
        QFETCH(int, records);
        QFETCH(QString, knownTitle);
        const QString path = QDir(testDataDir()).filePath(file);
        if (!QFile::exists(path))
            QSKIP(qPrintable(QStringLiteral("the real UNIMARC files are not here (%1); set FOLIAN_UNIMARC_TESTDATA").arg(path)));
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QList<ImportLogLine> log;
        const ImportCounts c = importFile(db, path, {0, true}, &log);
        QVERIFY2(c.completed, qPrintable(c.error));
        QCOMPARE(c.read, records);
        QCOMPARE(c.rejected(), 0);
        QCOMPARE(c.imported + c.duplicates, records);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE")), c.imported);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_TITRE_PROPRE = ?"), {knownTitle}), 1);
        // No replacement character, no UTF-8 read as Latin-1, in any text the import wrote.
        for (const char *sql : {"SELECT DOC_TITRE_PROPRE, DOC_NOTE, DOC_LIEU_EDITION FROM NOTICE",
                                "SELECT VED_NOM, VED_NOM, VED_NOM FROM VEDETTE", "SELECT EDT_NOM, EDT_NOM, EDT_NOM FROM EDITEUR"}) {
            SqlRows q = db.query(QLatin1String(sql));
            while (q.next())
                for (int i = 0; i < 3; ++i) {
                    const QString t = q.value(i).toString();
                    QVERIFY2(!t.contains(QChar(0xFFFD)) && !t.contains(u"Ã"), qPrintable(t));
                    QVERIFY2(!t.contains(QStringLiteral("e\u0301")), qPrintable(t));
                }
        }
        if (file == QLatin1String("periouni.mrc")) {
            QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM VEDETTE WHERE VED_NOM = ?"), {QString::fromUtf8("Finances publiques : Etats-Unis : Périodiques")}), 1);
            QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_RESSOURCE")) > 3000);
            QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE TYP_ID <> 'b'")), 0);
        }
    }

    // folianctl import and export go through the same routines and say what they did.
    void commandLine_data() { addEngineRows(); }
    void commandLine()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(addCommandAdministrator(tdb.db()));
        const QString ini = tdb.writeIni();
        QTemporaryDir dir;
        const QString file = writeRecords(dir, {richRecord(), titled("Deux"), recordOf({dataField("210", "  ", {{'a', "x"}})})});
        auto run = [&](const QStringList &args, QByteArray *out = nullptr, QByteArray *err = nullptr) {
            QProcess p;
            p.start(QStringLiteral(FOLIANCTL_PATH), QStringList{QStringLiteral("--ini"), ini} + args);
            if (!p.waitForFinished(120000))
                return -1;
            if (out)
                *out = p.readAllStandardOutput();
            if (err)
                *err = p.readAllStandardError();
            return p.exitCode();
        };
        QByteArray out, err;
        QCOMPARE(run({QStringLiteral("import"), file}, &out, &err), 0);
        QVERIFY2(out.startsWith("3 notices lues, 2 importées, 0 doubles, 1 rejetées (1 sans titre propre)"), out.constData());
        QCOMPARE(run({QStringLiteral("import"), file}, &out, &err), 0);
        QVERIFY2(out.startsWith("3 notices lues, 1 importées, 1 doubles"), out.constData());
        QVERIFY2(err.contains("Existe --> L'étranger"), err.constData());
        // Stamped with the login of the user the command acted for.
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE CREATE_USER = 'admin'")), 3);
        // A file that cannot be read, a library that does not exist.
        QVERIFY(run({QStringLiteral("import"), dir.filePath(QStringLiteral("absent.mrc"))}, &out, &err) != 0);
        QVERIFY(err.contains("cannot read"));
        QVERIFY(run({QStringLiteral("import"), file, QStringLiteral("--library"), QStringLiteral("9")}, &out, &err) != 0);
        QVERIFY(err.contains("no library 9"));
        QCOMPARE(count(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE")), 3);
        // Export: some records, or all of them.
        const QString some = dir.filePath(QStringLiteral("some.mrc"));
        QCOMPARE(run({QStringLiteral("export"), some, QStringLiteral("--id"), QStringLiteral("1"), QStringLiteral("--id"),
                      QStringLiteral("3")},
                     &out),
                 0);
        QVERIFY2(out.startsWith("2 records exported"), out.constData());
        const QString all = dir.filePath(QStringLiteral("all.mrc"));
        QCOMPARE(run({QStringLiteral("export"), all, QStringLiteral("--all")}, &out), 0);
        QVERIFY2(out.startsWith("3 records exported"), out.constData());
        QVERIFY(run({QStringLiteral("export"), all}, &out, &err) != 0);  // neither --all nor --id
        QVERIFY(run({QStringLiteral("export"), some, QStringLiteral("--id"), QStringLiteral("99")}, &out, &err) != 0);
        QVERIFY(err.contains("99"));
    }

    // A record exported and imported into another catalogue comes back as it was.
    void exportImportsBack_data() { addEngineRows(); }
    void exportImportsBack()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(from, engine);
        FOLIAN_TEST_DB(to, engine);
        for (Database *db : {&from.db(), &to.db()})
            QVERIFY(db->exec(QStringLiteral("UPDATE PARAMETRE SET CLASSIFICATION = 2")));
        QTemporaryDir dir;
        const Record arabic = recordOf({
            dataField("101", "0 ", {{'a', "ara"}}), dataField("200", "1 ", {{'a', "الطريق"}, {'e', "رواية"}}),
            dataField("210", "  ", {{'a', "القاهرة"}, {'c', "دار الشروق"}, {'d', "2005"}}),
            dataField("328", " 1", {{'a', "دكتوراه"}}), dataField("328", " 2", {{'a', "الأدب"}}),
            dataField("328", " 3", {{'a', "الجزائر"}}),
            dataField("710", "02", {{'a', "جامعة الجزائر"}}), dataField("716", "  ", {{'a', "Marque"}}),
            dataField("730", "  ", {{'a', "Nom. Titre"}}), dataField("720", "  ", {{'a', "Famille"}}),
            dataField("461", " 0", {{'t', "الأعمال الكاملة"}, {'v', "3"}}),
        });
        QCOMPARE(importRecords(from.db(), dir, {richRecord(), arabic}).imported, 2);
        const QString exported = dir.filePath(QStringLiteral("export.txt"));
        const ExportCounts e = exportRecords(from.db(), exported, allRecordIds(from.db()));
        QVERIFY(e.completed);
        QCOMPARE(e.written, 2);
        // Our reader: every record valid, declared UTF-8.
        RecordSplitter splitter(exported);
        RawRecord raw;
        int read = 0;
        while (splitter.next(raw)) {
            const ParseResult p = parseRecord(raw);
            QVERIFY2(p.ok(), qPrintable(p.reason()));
            QCOMPARE(p.declared, Charset::Utf8);
            ++read;
        }
        QCOMPARE(read, 2);
        QList<ImportLogLine> log;
        QCOMPARE(importFile(to.db(), exported, {0, true}, &log).imported, 2);
        QVERIFY2(log.isEmpty(), qPrintable(log.value(0).text));
        // Everything the record holds, compared column by column between the two catalogues.
        QString difference;
        QVERIFY2(sameCatalogue(from.db(), to.db(), &difference), qPrintable(difference));
        // An independent reader agrees.
        const QString yaz = QStandardPaths::findExecutable(QStringLiteral("yaz-marcdump"));
        if (yaz.isEmpty())
            QSKIP("yaz-marcdump is not installed (Debian package yaz; scripts/setup.sh installs it)");
        QProcess p;
        p.start(yaz, {QStringLiteral("-f"), QStringLiteral("utf-8"), QStringLiteral("-t"), QStringLiteral("utf-8"), exported});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray out = p.readAllStandardOutput() + p.readAllStandardError();
        QVERIFY2(!out.contains("<!--"), out.left(400).constData());  // yaz reports faults as comments
        QVERIFY(out.contains("200 1  $a L'étranger") || out.contains("$a L'étranger"));
        QVERIFY(out.contains("الطريق"));
    }

    // A record longer than a field, or than a record, of the format is
    // written all the same: a long abstract in several fields, and the
    // issues that cannot fit left out, and said.
    void exportFitsTheFormat_data() { addEngineRows(); }
    void exportFitsTheFormat()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(from, engine);
        FOLIAN_TEST_DB(to, engine);
        QTemporaryDir dir;
        QString abstract;
        for (int i = 1; abstract.toUtf8().size() < 12600; ++i)
            abstract += QStringLiteral("Phrase numéro %1 du résumé, où l'économie des études est décrite. ").arg(i);
        abstract = abstract.trimmed();
        // No exchange file holds them: the catalogue does, as cataloguing and the receipt of issues made them.
        QCOMPARE(importRecords(from.db(), dir, {titled("Long"), titled("Revue", {}, "00000nas  2200000   450 ")}).imported, 2);
        QVERIFY(from.db().exec(QStringLiteral("UPDATE NOTICE SET DOC_RESUME = ? WHERE DOC_ID = 1"), {abstract}));
        QVector<QVariantList> issues;
        for (int i = 1; i <= 4000; ++i)
            issues << QVariantList{i, 2, 0, QString::number(i), QStringLiteral("2001"), 1};
        QString why;
        {
            Transaction tx(from.db());
            QVERIFY2(insertRows(from.db(), QStringLiteral("NOTICE_BULLETIN"),
                                {QStringLiteral("BUL_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"),
                                 QStringLiteral("BUL_NUMERO"), QStringLiteral("BUL_DATE"), QStringLiteral("BUL_STATUT")},
                                issues, &why),
                     qPrintable(why));
            QVERIFY(tx.commit());
        }
        const QString exported = dir.filePath(QStringLiteral("export.mrc"));
        const ExportCounts e = exportRecords(from.db(), exported, allRecordIds(from.db()));
        QVERIFY(e.completed);
        QCOMPARE(e.written, 2);
        QCOMPARE(e.failed, 0);
        QCOMPARE(e.incomplete, 1);
        QCOMPARE(e.leftOut.size(), 1);
        const QString line = e.leftOut.first();
        QVERIFY2(line.startsWith(QStringLiteral("Notice 2 : ")) && line.contains(QStringLiteral(" champ(s) 985 non écrit(s)")),
                 qPrintable(line));
        const int dropped = line.section(u' ', 3, 3).toInt();
        QVERIFY2(dropped > 0 && dropped < 2000, qPrintable(line));
        QVERIFY(exportSummary(e).contains(line));
        QList<ImportLogLine> log;
        QCOMPARE(importFile(to.db(), exported, {0, true}, &log).imported, 2);
        // The abstract whole, cut where it was split; the issues that fitted.
        QString back = scalar(to.db(), QStringLiteral("SELECT DOC_RESUME FROM NOTICE WHERE DOC_ID = 1")).toString();
        QVERIFY(back.contains(QStringLiteral("\r\n")));
        QCOMPARE(back.replace(QStringLiteral("\r\n"), QStringLiteral(" ")), abstract);
        QCOMPARE(count(to.db(), QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN")), 4000 - dropped);
        QCOMPARE(scalar(to.db(), QStringLiteral("SELECT MAX(BUL_ID) FROM NOTICE_BULLETIN")).toInt(), 4000 - dropped);
        QCOMPARE(scalar(to.db(), QStringLiteral("SELECT BUL_NUMERO FROM NOTICE_BULLETIN WHERE BUL_ID = 1")).toString(),
                 QStringLiteral("1"));
    }

    // The real files imported, exported and imported again into another
    // catalogue: the two catalogues hold the same records.
    void realFilesRoundTrip_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("file");
        for (const QString &e : engines())
            for (const char *file : {"periouni.mrc", "bncf_data.mrc", "testunimarc.dat"})
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(file))) << e << QString::fromLatin1(file);
    }
    void realFilesRoundTrip()
    {
        QFETCH(QString, engine);
        QFETCH(QString, file);
        const QString path = QDir(testDataDir()).filePath(file);
        if (!QFile::exists(path))
            QSKIP(qPrintable(QStringLiteral("the real UNIMARC files are not here (%1); set FOLIAN_UNIMARC_TESTDATA").arg(path)));
        FOLIAN_TEST_DB(from, engine);
        FOLIAN_TEST_DB(to, engine);
        const ImportCounts c = importFile(from.db(), path, {0, true}, nullptr);
        QVERIFY2(c.completed, qPrintable(c.error));
        QTemporaryDir dir;
        const QString exported = dir.filePath(QStringLiteral("export.mrc"));
        const ExportCounts e = exportRecords(from.db(), exported, allRecordIds(from.db()));
        QVERIFY(e.completed);
        QCOMPARE(e.written, c.imported);
        QVERIFY2(e.leftOut.isEmpty(), qPrintable(e.leftOut.value(0)));
        QList<ImportLogLine> log;
        const ImportCounts back = importFile(to.db(), exported, {0, true}, &log);
        QCOMPARE(back.imported, c.imported);
        QVERIFY2(log.isEmpty(), qPrintable(log.value(0).text));
        QString difference;
        QVERIFY2(sameCatalogue(from.db(), to.db(), &difference), qPrintable(difference));
    }
};

QTEST_GUILESS_MAIN(TstUnimarcImport)
#include "tst_unimarcimport.moc"
