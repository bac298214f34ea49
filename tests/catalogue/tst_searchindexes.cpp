// The search indexes on both engines: every search finds the same records
// through the indexes as by a plain scan (accents, case, Arabic spelling
// variants, "*" inside and across words, "%", "_" and apostrophes as
// themselves, rejected forms of headings, numbers typed with hyphens); the
// engine really reads the indexes; whoever writes the tables keeps them up
// to date; a version-2 database gets them at its upgrade; a server where
// the trigram extension cannot be added still searches, by scanning.

#include "catalogue/core/recordsearch.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "support/session.h"
#include "support/testdb.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <map>
#include <memory>

using namespace folian;
using namespace folian::test;

namespace {

struct Rec {
    int id;
    const char16_t *title;
    const char16_t *complement;
    const char *isbn, *issn, *num;
    int publisher, publisher2;
};

const Rec kRecords[] = {
    {1, u"Le petit prince", nullptr, "207036822X", nullptr, nullptr, 1, 0},
    {2, u"Les petits chevaux", nullptr, nullptr, nullptr, nullptr, 0, 1},
    {3, u"ÉTUDES ÉCONOMIQUES", nullptr, nullptr, "03952037", nullptr, 0, 0},
    {4, u"مكتبة أحمد", nullptr, nullptr, nullptr, nullptr, 0, 0},
    {5, u"L'enfant", u"(roman)", nullptr, nullptr, nullptr, 0, 3},
    {6, u"Taux à 100% et autres", nullptr, nullptr, nullptr, nullptr, 0, 0},
    {7, u"Histoire de l'Algérie", u"des origines à nos jours", nullptr, nullptr, nullptr, 2, 0},
    {8, u"Historique du droit", nullptr, nullptr, nullptr, "AB12x", 0, 0},
    {9, u"إحياء علوم الدين", nullptr, nullptr, nullptr, nullptr, 2, 0},
    {10, u"مدرسة الإسكندرية", nullptr, nullptr, nullptr, nullptr, 0, 0},
    {11, u"Un titre_avec souligné", nullptr, nullptr, nullptr, nullptr, 0, 0},
    {12, u"Mots-clés : l'été; [Été] (ÉTÉ)!", nullptr, nullptr, nullptr, nullptr, 0, 0},
    {13, u"ذِكْرَى الـمـدينة", nullptr, nullptr, nullptr, nullptr, 0, 0},
};

bool run(Database &db, QString *why, const QString &sql, const QVariantList &binds = {})
{
    if (db.exec(sql, binds))
        return true;
    *why = sql + QStringLiteral(": ") + db.lastError().text();
    return false;
}

QVariant text(const char *s) { return s ? QVariant(QString::fromLatin1(s)) : QVariant(); }
QVariant key(int k) { return k ? QVariant(k) : QVariant(); }

bool fill(Database &db, QString *why)
{
    for (const Rec &r : kRecords) {
        const QString title = QString::fromUtf16(r.title);
        const QString complement = r.complement ? QString::fromUtf16(r.complement) : QString();
        if (!run(db, why,
                 QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, DOC_TITRE_COMPLEMENT, DOC_KEYWORDS, "
                                "DOC_ISBN, DOC_ISSN, DOC_NUM, EDT_ID, EDT_ID2) VALUES (?, 'a', ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {r.id, title, complement.isEmpty() ? QVariant() : QVariant(complement),
                  RecordKeywords(title, complement, {}, {}), text(r.isbn), text(r.issn), text(r.num), key(r.publisher),
                  key(r.publisher2)}))
            return false;
    }
    // A record without keywords at all.
    if (!run(db, why, QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE) VALUES (14, 'a', 'Sans mots')")))
        return false;
    struct Heading {
        int id, type, accepted;
        const char16_t *name;
    };
    const Heading headings[] = {
        {1, 1, 1, u"Feraoun, Mouloud"},   {2, 1, 1, u"Ferraoun, M."},
        {3, 1, 3, u"Roblès, Emmanuel"},   {4, 6, 4, u"Enfance -- Algérie"},
        {5, 6, 4, u"Enfants -- Algérie"}, {6, 1, 6, u"ابن خلدون، عبد الرحمن"},
        {7, 1, 6, u"إبن خلدون"},          {9, 2, 9, u"Société nationale d'édition"},
        {10, 6, 10, u"Islam"},
    };
    for (const Heading &h : headings) {
        const QString name = QString::fromUtf16(h.name);
        if (!run(db, why, QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2, VED_KEYWORDS) VALUES (?, ?, ?, ?, ?)"),
                 {h.id, h.type, name, h.accepted, BuildKeywords(name)}))
            return false;
    }
    struct Publisher {
        int id;
        const char16_t *name, *arabic;
    };
    const Publisher publishers[] = {{1, u"Éditions d'Aujourd'hui", nullptr},
                                    {2, u"Dar El Gharb", u"دار الغرب"},
                                    {3, u"L'Harmattan", nullptr}};
    for (const Publisher &p : publishers) {
        const QString name = QString::fromUtf16(p.name);
        const QString arabic = p.arabic ? QString::fromUtf16(p.arabic) : QString();
        if (!run(db, why, QStringLiteral("INSERT INTO EDITEUR (EDT_ID, EDT_NOM, EDT_NOM_AR, EDT_TYPE, EDT_KEYWORDS) VALUES (?, ?, ?, 1, ?)"),
                 {p.id, name, arabic.isEmpty() ? QVariant() : QVariant(arabic), BuildKeywords(name + u' ' + arabic)}))
            return false;
    }
    return run(db, why, QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES "
                                       "(1, 1, 1, 1), (2, 2, 3, 1), (3, 7, 6, 1), (4, 9, 7, 1), (5, 10, 9, 1)"))
        && run(db, why, QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (1, 2, 4), (2, 5, 5), (3, 7, 10)"));
}

RecordCriteria criteria(const QString &name, const QString &value)
{
    RecordCriteria c;
    if (name == u"keywords")
        c.titleWords = value;
    else if (name == u"author")
        c.author = value;
    else if (name == u"subject")
        c.subject = value;
    else if (name == u"publisher")
        c.publisher = value;
    else if (name == u"number")
        c.number = value;
    return c;
}

QList<int> found(Database &db, const RecordCriteria &c, QString *why)
{
    QList<int> ids;
    if (!recordIds(db, c, &ids, why))
        ids = {-1};
    return ids;
}

// What the engine plans for a search's query, as one text.
QString plan(Database &db, const RecordCriteria &c)
{
    SqlCondition q;
    QString why;
    if (!recordSearchQuery(db.dialect(), c, QStringLiteral("N.DOC_ID"), &q, &why))
        return why;
    const bool pg = db.dialect().isPostgres();
    QSqlQuery rows = pg ? db.query(Dialect::inlineBinds(db.connection(), QStringLiteral("EXPLAIN ") + q.sql, q.binds))
                        : db.query(QStringLiteral("EXPLAIN QUERY PLAN ") + q.sql, q.binds);
    QStringList lines;
    while (rows.next())
        lines << rows.value(pg ? 0 : 3).toString();
    return lines.join(u'\n').toUpper();
}

} // namespace

class TstSearchIndexes : public QObject
{
    Q_OBJECT
    // One filled database per engine, shared by the rows of a table.
    std::map<QString, std::unique_ptr<TestDatabase>> filled_;

    Database *filled(const QString &engine)
    {
        auto &tdb = filled_[engine];
        if (!tdb) {
            tdb = std::make_unique<TestDatabase>(engine);
            QString why;
            if (!tdb->isValid() || !fill(tdb->db(), &why)) {
                qWarning("%s", qPrintable(tdb->error() + why));
                tdb.reset();
                return nullptr;
            }
        }
        return &tdb->db();
    }

    // Keeps the server's planner from scanning a table, or from reading it
    // along the key (its other way round a search index).
    static bool indexesOnly(Database &db, bool on)
    {
        const QString v = on ? QStringLiteral("off") : QStringLiteral("on");
        return db.exec(QStringLiteral("SET enable_seqscan = ") + v) && db.exec(QStringLiteral("SET enable_indexscan = ") + v);
    }

    // The records of a search through the indexes (when the database has
    // them) and by a scan. On the server the planner is kept from scanning
    // in the first case and from the indexes in the second.
    void compare(Database &db, const RecordCriteria &c, const QList<int> &expected)
    {
        const bool pg = db.dialect().isPostgres();
        QString why;
        db.refreshIndexedSearch();
        QVERIFY(!pg || indexesOnly(db, true));
        const QList<int> indexed = found(db, c, &why);
        const qint64 indexedCount = countRecords(db, c, &why);
        QVERIFY(!pg || indexesOnly(db, false));
        db.setIndexedSearch(false);
        QVERIFY(!pg || db.exec(QStringLiteral("SET enable_bitmapscan = off")));
        const QList<int> scanned = found(db, c, &why);
        QVERIFY(!pg || db.exec(QStringLiteral("RESET enable_bitmapscan")));
        db.refreshIndexedSearch();
        QCOMPARE(indexed, expected);
        QCOMPARE(scanned, expected);
        QCOMPARE(indexedCount, qint64(expected.size()));
    }

private slots:
    void cleanupTestCase() { filled_.clear(); }

    void sameRecordsThroughTheIndexes_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QList<int>>("expected");
        for (const QString &e : engines()) {
            auto row = [&](const char *name, const char *criterion, const QString &value, const QList<int> &ids) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(name)))
                    << e << QString::fromLatin1(criterion) << value << ids;
            };
            row("a whole word only", "keywords", QStringLiteral("petit"), {1});
            row("star ending a word", "keywords", QStringLiteral("petit*"), {1, 2});
            row("words in any order, any case", "keywords", QStringLiteral("PRINCE Petit"), {1});
            row("capital accented letters", "keywords", QStringLiteral("études économiques"), {3});
            row("accents are kept", "keywords", QStringLiteral("ete"), {});
            row("one word in three spellings", "keywords", QStringLiteral("été"), {12});
            row("star inside a word", "keywords", QStringLiteral("h*e"), {7, 8});
            row("star on both sides", "keywords", QStringLiteral("*ique*"), {3, 8});
            row("star across words", "keywords", QStringLiteral("p*x"), {2});
            row("accented first letter", "keywords", QStringLiteral("é*"), {3, 12});
            row("one letter and a star", "keywords", QStringLiteral("d*"), {7, 8});
            row("a star alone", "keywords", QStringLiteral("*"), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
            row("apostrophe cuts words", "keywords", QStringLiteral("l'enfant"), {5});
            row("percent as itself", "keywords", QStringLiteral("100%"), {6});
            row("underscore as itself", "keywords", QStringLiteral("1_0%"), {});
            row("underscore inside a word", "keywords", QStringLiteral("titre_*"), {11});
            row("hamza of alef typed without", "keywords", QStringLiteral("احمد"), {4});
            row("hamza below alef", "keywords", QStringLiteral("احياء"), {9});
            row("haa for taa marbuta", "keywords", QStringLiteral("مكتبه"), {4});
            row("short vowels and tatweel typed", "keywords", QStringLiteral("مَكْتـبة"), {4});
            row("short vowels and tatweel stored", "keywords", QStringLiteral("ذكرى المدينة"), {13});
            row("alef maqsura", "keywords", QStringLiteral("ذكري"), {13});
            row("Arabic word with its article", "keywords", QStringLiteral("الاسكندريه"), {10});
            row("no such word", "keywords", QStringLiteral("x"), {});
            row("author's accepted form", "author", QStringLiteral("mouloud feraoun"), {1});
            row("author's rejected form", "author", QStringLiteral("FERRAOUN"), {1});
            row("author with an accent", "author", QStringLiteral("roblès"), {2});
            row("Arabic author by either form", "author", QStringLiteral("خلدون"), {7, 9});
            row("Arabic author's hamza", "author", QStringLiteral("إبن"), {7, 9});
            row("corporate author with a star", "author", QStringLiteral("soc*"), {10});
            row("subjects are not authors", "author", QStringLiteral("algérie"), {});
            row("subject's rejected form", "subject", QStringLiteral("enfants"), {2, 5});
            row("subject by a shared word", "subject", QStringLiteral("ALGÉRIE"), {2, 5});
            row("publisher first or second", "publisher", QStringLiteral("éditions"), {1, 2});
            row("publisher with apostrophes", "publisher", QStringLiteral("aujourd'hui"), {1, 2});
            row("publisher's Arabic name", "publisher", QStringLiteral("الغرب"), {7, 9});
            row("second publisher only", "publisher", QStringLiteral("harmattan"), {5});
            row("ISBN typed with hyphens, small x", "number", QStringLiteral("2-07-036822-x"), {1});
            row("ISBN as stored", "number", QStringLiteral("207036822X"), {1});
            row("ISSN", "number", QStringLiteral("0395-2037"), {3});
            row("beginning of a number", "number", QStringLiteral("207*"), {1});
            row("other number in another case", "number", QStringLiteral("ab-12.X"), {8});
            row("beginning in another case", "number", QStringLiteral("AB*"), {8});
            row("end of a number", "number", QStringLiteral("*37"), {3});
            row("no such number", "number", QStringLiteral("9999"), {});
        }
    }
    void sameRecordsThroughTheIndexes()
    {
        QFETCH(QString, engine);
        QFETCH(QString, criterion);
        QFETCH(QString, value);
        QFETCH(QList<int>, expected);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        Database *db = filled(engine);
        QVERIFY(db);
        compare(*db, criteria(criterion, value), expected);
    }

    // The engine reads the index that each kind of criterion is written for:
    // a query that no longer matches its index would still find the right
    // records, only by a scan.
    void theEngineReadsTheIndexes_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("index");
        for (const QString &e : engines()) {
            auto row = [&](const char *criterion, const char *value, const char *index) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(criterion) + u' ' + QLatin1String(value)))
                    << e << QString::fromLatin1(criterion) << QString::fromUtf8(value) << QString::fromLatin1(index);
            };
            row("keywords", "petit prince", "NOTICE_MOTS");
            row("keywords", "hist*", "NOTICE_MOTS");
            row("author", "feraoun", "VEDETTE_MOTS");
            row("subject", "enfants", "VEDETTE_MOTS");
            row("publisher", "harmattan", "EDITEUR_MOTS");
            row("number", "2-07-036822-x", "IX_NOTICE_RECH_ISBN");
            row("number", "207*", "IX_NOTICE_RECH_ISBN");
        }
    }
    void theEngineReadsTheIndexes()
    {
        QFETCH(QString, engine);
        QFETCH(QString, criterion);
        QFETCH(QString, value);
        QFETCH(QString, index);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        Database *db = filled(engine);
        QVERIFY(db);
        const bool pg = db->dialect().isPostgres();
        QVERIFY(db->dialect().indexedSearch());
        QVERIFY(!pg || indexesOnly(*db, true));
        const QString text = plan(*db, criteria(criterion, value));
        QVERIFY(!pg || indexesOnly(*db, false));
        QVERIFY2(text.contains(index), qPrintable(text));
    }

    // Whatever writes the tables (the program's own rows, an import, a
    // statement typed by hand) leaves the indexes matching the tables.
    void writersKeepTheIndexes_data() { addEngineRows(); }
    void writersKeepTheIndexes()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QString why;
        QVERIFY2(fill(db, &why), qPrintable(why));
        auto title = [&](const QString &words) { return found(db, criteria(QStringLiteral("keywords"), words), &why); };

        // A record posted through the shared record query, its keywords built there.
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *q = data.QNotice;
        QVERIFY(q->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = -2147483647")));
        QVERIFY(q->append());
        QVERIFY(q->setValue(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Zénith des mers")));
        QVERIFY(q->setValue(QStringLiteral("DOC_ISBN"), QStringLiteral("978-9947-0-1234-5")));
        QVERIFY2(q->post(), qPrintable(q->lastError()));
        const int id = q->value(QStringLiteral("DOC_ID")).toInt();
        QCOMPARE(title(QStringLiteral("zénith")), QList<int>{id});
        QCOMPARE(found(db, criteria(QStringLiteral("number"), QStringLiteral("9789947*")), &why), QList<int>{id});
        QVERIFY(q->edit());
        QVERIFY(q->setValue(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Nadir des mers")));
        QVERIFY2(q->post(), qPrintable(q->lastError()));
        QCOMPARE(title(QStringLiteral("zénith")), QList<int>());
        QCOMPARE(title(QStringLiteral("nadir mers")), QList<int>{id});

        // Statements from elsewhere: a new key, a rewritten keyword text, deletions.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_ID = 500 WHERE DOC_ID = ?"), {id}));
        QCOMPARE(title(QStringLiteral("nadir")), QList<int>{500});
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_KEYWORDS = NULL WHERE DOC_ID = 500")));
        QCOMPARE(title(QStringLiteral("nadir")), QList<int>());
        QVERIFY(db.exec(QStringLiteral("DELETE FROM NOTICE WHERE DOC_ID = 1")));
        QCOMPARE(title(QStringLiteral("petit*")), QList<int>{2});
        QVERIFY(db.exec(QStringLiteral("UPDATE VEDETTE SET VED_NOM = 'Farawn, M.', VED_KEYWORDS = '/Farawn//M/' WHERE VED_ID = 2")));
        QCOMPARE(found(db, criteria(QStringLiteral("author"), QStringLiteral("ferraoun")), &why), QList<int>());
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (9, 3, 2, 1)")));
        QCOMPARE(found(db, criteria(QStringLiteral("author"), QStringLiteral("farawn")), &why), QList<int>{3});
        QVERIFY(db.exec(QStringLiteral("DELETE FROM EDITEUR WHERE EDT_ID = 3")));
        QCOMPARE(found(db, criteria(QStringLiteral("publisher"), QStringLiteral("harmattan")), &why), QList<int>());
        QVERIFY(db.exec(QStringLiteral("INSERT INTO EDITEUR (EDT_ID, EDT_NOM, EDT_KEYWORDS) VALUES (3, 'Casbah', '/Casbah/')")));
        QCOMPARE(found(db, criteria(QStringLiteral("publisher"), QStringLiteral("CASBAH")), &why), QList<int>{5});

        // A write that fails leaves the index as the table is.
        QVERIFY(!db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_KEYWORDS) VALUES (2, 'a', '/Doublon/')")));
        QCOMPARE(title(QStringLiteral("doublon")), QList<int>());
        QCOMPARE(title(QStringLiteral("petits")), QList<int>{2});
    }

    // A database of version 2 gets the indexes over the rows it holds.
    void upgradeFromVersionTwo_data() { addEngineRows(); }
    void upgradeFromVersionTwo()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QString why;
        QVERIFY2(dropSearchIndexes(db, &why), qPrintable(why));
        QCOMPARE(missingSearchIndexes(db).size(), Schema::searchIndexes().size());
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 2")));
        QVERIFY2(fill(db, &why), qPrintable(why));
        // The searches of a database without the indexes scan.
        QCOMPARE(db.dialect().indexedSearch(), db.dialect().isPostgres());
        compare(db, criteria(QStringLiteral("keywords"), QStringLiteral("petit*")), {1, 2});

        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QCOMPARE(missingSearchIndexes(db), QStringList());
        QVERIFY(db.dialect().indexedSearch());
        compare(db, criteria(QStringLiteral("keywords"), QStringLiteral("petit*")), {1, 2});
        compare(db, criteria(QStringLiteral("author"), QStringLiteral("ferraoun")), {1});
        compare(db, criteria(QStringLiteral("publisher"), QStringLiteral("الغرب")), {7, 9});
        compare(db, criteria(QStringLiteral("number"), QStringLiteral("0395-2037")), {3});
        // Made again when they are there: nothing changes.
        QVERIFY2(createSearchIndexes(db, &why), qPrintable(why));
        compare(db, criteria(QStringLiteral("keywords"), QStringLiteral("مكتبه")), {4});
    }

    // A server user who may not add the trigram extension still gets a
    // database whose searches work: they scan instead.
    void serverWithoutTheExtension()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        TestDatabase owner(QStringLiteral("POSTGRESQL"), false);
        QVERIFY2(owner.isValid(), qPrintable(owner.error()));
        Database &admin = owner.db();
        const QString role = QStringLiteral("folian_plain_%1").arg(QRandomGenerator::global()->generate(), 0, 16);
        const QString password = QStringLiteral("pw%1").arg(QRandomGenerator::global()->generate());
        // Identifiers cannot be bound; both are made here of letters and digits.
        QVERIFY(admin.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(role, password)));
        QVERIFY(admin.exec(QStringLiteral("GRANT USAGE, CREATE ON SCHEMA public TO ") + role));
        bool ok = false;
        QStringList missing;
        QList<int> ids;
        {
            ConnectionParams p = owner.params();
            p.user = role;
            p.password = password;
            Database db;
            QString why;
            QVERIFY2(db.open(p, false, &why), qPrintable(why));
            ok = createSchema(db, &why);
            QVERIFY2(ok, qPrintable(why));
            missing = missingSearchIndexes(db);
            QVERIFY2(fill(db, &why), qPrintable(why));
            QVERIFY(db.dialect().indexedSearch());
            ids = found(db, criteria(QStringLiteral("keywords"), QStringLiteral("petit*")), &why);
            QCOMPARE(found(db, criteria(QStringLiteral("number"), QStringLiteral("207*")), &why), QList<int>{1});
        }
        QVERIFY(admin.exec(QStringLiteral("DROP OWNED BY ") + role));
        QVERIFY(admin.exec(QStringLiteral("DROP ROLE ") + role));
        QCOMPARE(missing, (QStringList{QStringLiteral("NOTICE_MOTS"), QStringLiteral("VEDETTE_MOTS"),
                                       QStringLiteral("EDITEUR_MOTS")}));
        QCOMPARE(ids, (QList<int>{1, 2}));
    }
};

QTEST_GUILESS_MAIN(TstSearchIndexes)
#include "tst_searchindexes.moc"
