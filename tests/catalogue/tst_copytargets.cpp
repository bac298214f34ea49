// The targets of copy cataloguing in the shared database, on both engines:
// who may manage them, what is refused, two workstations adding the same
// name at once, the upgrade that brings their table; and the import of a
// record found there, twice (one record), its text intact in both languages.

#include "base/rights.h"
#include "base/session.h"
#include "catalogue/copy/copyimport.h"
#include "catalogue/copy/copytexts.h"
#include "catalogue/copy/targets.h"
#include "copyfixture.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "support/testdb.h"
#include "support/workstations.h"

#include <QTest>

using namespace folian;
using namespace folian::copy;

namespace {

CopyTarget sru(const QString &name, const QString &url = QStringLiteral("https://sru.example.org/api/SRU"))
{
    CopyTarget t = *parseSruAddress(url, nullptr);
    t.name = name;
    return t;
}

void actAs(int role, std::initializer_list<Right> rights = {})
{
    session() = Session();
    session().CurrentUserLogin = QStringLiteral("tester");
    session().CurrentUserRole = role;
    for (Right r : rights)
        session().setRight(r, true);
}

int recordsTitled(Database &db, const QString &title)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_TITRE_PROPRE = ?"), {title}).toInt();
}

CopyHit sampleHit(int index)
{
    const copy::test::XmlRecord r = copy::test::sampleXmlRecords().at(index);
    return readFetched({r.xml.toUtf8(), QStringLiteral("XML")}, sru(QStringLiteral("T")), 1);
}

} // namespace

class TstCopyTargets : public QObject
{
    Q_OBJECT

private slots:
    void init() { actAs(1); }

    void keptAndListed_data() { folian::test::addEngineRows(); }
    void keptAndListed()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        CopyTarget national = sru(QStringLiteral("Nationale"));
        national.indexSet = IndexSet::Bib;
        national.timeout = 45;
        CopyTarget z = *parseZ3950Address(QStringLiteral("z.example.org:2100/Livres"), nullptr);
        z.name = QStringLiteral("Bibliothèque d'Alger");
        z.charset = QStringLiteral("iso5426");
        const TargetResult first = addTarget(db, national);
        QVERIFY2(first.passed, qPrintable(first.message));
        QVERIFY(first.key > 0);
        QVERIFY(addTarget(db, z).passed);

        const QList<CopyTarget> all = listTargets(db);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all.at(0).name, z.name);  // by name
        QCOMPARE(all.at(0).address(), QStringLiteral("z.example.org:2100/Livres"));
        QCOMPARE(all.at(0).charset, QStringLiteral("ISO-5426"));
        QCOMPARE(all.at(0).timeout, kDefaultTimeout);
        QCOMPARE(all.at(1).address(), QStringLiteral("https://sru.example.org:443/api/SRU"));
        QCOMPARE(all.at(1).protocol, Protocol::Https);
        QCOMPARE(all.at(1).indexSet, IndexSet::Bib);
        QCOMPARE(all.at(1).timeout, 45);
        QCOMPARE(all.at(1).syntax, QStringLiteral("UNIMARC"));

        const TargetResult deleted = deleteTarget(db, QStringLiteral(" Nationale "));
        QVERIFY(deleted.passed);
        QCOMPARE(deleted.message, targetDeleted(QStringLiteral("Nationale")));
        QCOMPARE(listTargets(db).size(), 1);
        QVERIFY(!findTarget(db, QStringLiteral("Nationale")));
    }

    void refused_data() { folian::test::addEngineRows(); }
    void refused()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addTarget(db, sru(QStringLiteral("Union"))).passed);
        struct {
            const char *name;
            std::function<void(CopyTarget &)> change;
            QString message;
        } cases[] = {
            {"name taken", [](CopyTarget &t) { t.name = QStringLiteral(" Union "); }, targetNameTaken(QStringLiteral("Union"))},
            {"no name", [](CopyTarget &t) { t.name = QStringLiteral("  "); }, targetNameRequired()},
            {"MARC 21", [](CopyTarget &t) { t.syntax = QStringLiteral("MARC21"); }, marc21Refused()},
            {"unknown set", [](CopyTarget &t) { t.charset = QStringLiteral("EBCDIC"); }, charsetUnknown(QStringLiteral("EBCDIC"))},
            {"time-out", [](CopyTarget &t) { t.timeout = 0; }, targetTimeoutInvalid(QStringLiteral("0"))},
        };
        for (const auto &c : cases) {
            CopyTarget t = sru(QStringLiteral("Autre"));
            c.change(t);
            const TargetResult r = addTarget(db, t);
            QVERIFY2(!r.passed, c.name);
            QCOMPARE(r.message, c.message);
        }
        QCOMPARE(listTargets(db).size(), 1);
        const TargetResult gone = deleteTarget(db, QStringLiteral("Nulle part"));
        QVERIFY(!gone.passed);
        QCOMPARE(gone.message, targetNotFound(QStringLiteral("Nulle part")));
    }

    // The cataloguing managers and the administrator manage the targets;
    // a cataloguer searches and imports, with the import right.
    void rights_data() { folian::test::addEngineRows(); }
    void rights()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        struct {
            const char *who;
            int role;
            std::initializer_list<Right> rights;
            bool manage, search, import;
        } cases[] = {
            {"administrator", 1, {}, true, true, true},
            {"cataloguing manager", 3, {}, true, true, true},
            {"cataloguer", 6, {}, false, true, false},
            {"cataloguer who imports", 6, {Right::CatImport}, false, true, true},
            {"circulation agent", 7, {}, false, false, false},
            {"entry clerk with the cataloguing administration right", 0, {Right::CatAdmin}, true, false, false},
        };
        int n = 0;
        for (const auto &c : cases) {
            actAs(c.role, c.rights);
            const TargetResult added = addTarget(db, sru(QStringLiteral("T%1").arg(++n)));
            QVERIFY2(added.passed == c.manage, c.who);
            QCOMPARE(searchRefusal().isEmpty(), c.search);
            QCOMPARE(importRefusal().isEmpty(), c.import);
            if (!c.import) {
                CopyImporter importer(db);
                const ImportAnswer a = importer.import(sampleHit(0));
                QVERIFY2(!a.passed, c.who);
                QCOMPARE(a.message, importRefusal());
            }
        }
        QVERIFY(recordsTitled(db, sampleHit(0).title) == 0);
    }

    // Two workstations add the same name at once: one target, the other told.
    void sameNameAtOnce_data() { folian::test::addEngineRows(); }
    void sameNameAtOnce()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QStringList messages(4);
        const int added = folian::test::atOnce(tdb.params(), 4, [&](int i, Database &db) {
            const TargetResult r = addTarget(db, sru(QStringLiteral("Union")));
            messages[i] = r.message;
            return r.passed;
        });
        QCOMPARE(added, 1);
        QCOMPARE(messages.count(targetNameTaken(QStringLiteral("Union"))), 3);
        QCOMPARE(listTargets(tdb.db()).size(), 1);
    }

    // A database of the version before gets the targets' table.
    void upgrade_data() { folian::test::addEngineRows(); }
    void upgrade()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("DROP TABLE CIBLE_COPIE")));
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 12")));
        db.schemaChanged();
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QVERIFY(addTarget(db, sru(QStringLiteral("Union"))).passed);
        QVERIFY(!addTarget(db, sru(QStringLiteral("Union"))).passed);  // the unique name came with it
    }

    // Imported twice: one record, the second time said to be there already;
    // French and Arabic text as the target sent it.
    void importTwice_data() { folian::test::addEngineRows(); }
    void importTwice()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        for (int i : {0, 1, 2}) {
            const CopyHit hit = sampleHit(i);
            QVERIFY2(hit.ok(), qPrintable(hit.error));
            CopyImporter importer(db);
            const ImportAnswer first = importer.import(hit);
            QVERIFY2(first.passed, qPrintable(first.message));
            QCOMPARE(first.message, recordImported(first.key));
            CopyImporter again(db);  // another session, as a second "Importer" would be
            const ImportAnswer second = again.import(hit);
            QVERIFY(!second.passed);
            QVERIFY(second.duplicate);
            QCOMPARE(second.key, first.key);
            QCOMPARE(second.message, recordDuplicate(hit.title, first.key));
            QCOMPARE(recordsTitled(db, hit.title), 1);
            QCOMPARE(db.scalar(QStringLiteral("SELECT DOC_ISBN FROM NOTICE WHERE DOC_ID = ?"), {first.key}).toString(),
                     hit.number);
        }
        QCOMPARE(db.scalar(QStringLiteral("SELECT V.VED_NOM FROM NOTICE_AUTEUR A JOIN VEDETTE V ON V.VED_ID = A.VED_ID "
                                          "JOIN NOTICE N ON N.DOC_ID = A.DOC_ID WHERE N.DOC_TITRE_PROPRE = ?"),
                           {QStringLiteral("الأيام")})
                     .toString(),
                 QStringLiteral("حسين, طه"));
    }

    // Four cataloguers import the same record at once: one record, the
    // others told it is there.
    void importAtOnce_data() { folian::test::addEngineRows(); }
    void importAtOnce()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        const CopyHit hit = sampleHit(0);
        // The publisher and the heading it names are there already (a record
        // imported, then deleted): nothing else makes one wait for the other.
        {
            CopyImporter once(tdb.db());
            const int key = once.import(hit).key;
            QVERIFY(key > 0);
            QVERIFY(tdb.db().exec(QStringLiteral("DELETE FROM NOTICE_AUTEUR WHERE DOC_ID = ?"), {key}));
            QVERIFY(tdb.db().exec(QStringLiteral("DELETE FROM NOTICE WHERE DOC_ID = ?"), {key}));
        }
        std::atomic<int> duplicates{0};
        const int imported = folian::test::atOnce(tdb.params(), 4, [&](int, Database &db) {
            CopyImporter importer(db);
            const ImportAnswer a = importer.import(hit);
            if (a.duplicate)
                ++duplicates;
            return a.passed;
        });
        QCOMPARE(imported, 1);
        QCOMPARE(duplicates.load(), 3);
        QCOMPARE(recordsTitled(tdb.db(), hit.title), 1);
    }

    // The preview shows the record as the catalogue would, before it is imported.
    void preview_data() { folian::test::addEngineRows(); }
    void preview()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        CopyImporter importer(tdb.db());
        const QString french = importer.preview(sampleHit(0).record);
        for (const char *part : {"Étranger : récit", "Gallimard, 1942", "Camus, Albert", "ISBN 9782070612758"})
            QVERIFY2(french.contains(QString::fromUtf8(part)), qPrintable(french));
        const QString arabic = importer.preview(sampleHit(1).record);
        QVERIFY2(arabic.contains(QStringLiteral("الأيام")) && arabic.contains(QStringLiteral("دار المعارف")), qPrintable(arabic));
        QVERIFY(arabic.contains(QStringLiteral("rtl")));
        QVERIFY(!french.contains(QStringLiteral("rtl")));
        QCOMPARE(recordsTitled(tdb.db(), sampleHit(0).title), 0);
    }
};

QTEST_GUILESS_MAIN(TstCopyTargets)
#include "tst_copytargets.moc"
