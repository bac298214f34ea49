// The search indexes on both engines: every search finds the same records
// through the indexes as by a plain scan (case, accents, ligatures, the
// typographic apostrophes, Arabic spelling variants and hamza seats, "*"
// inside and across words, "%", "_" and apostrophes as themselves,
// rejected forms of headings, numbers typed with hyphens); the engine
// really reads the indexes; the program's writers keep them up to date,
// and the rows another tool writes are found by a scan, then by the
// indexes once their search columns are written; a version-2 database gets
// them at its upgrade; a server where the trigram extension cannot be added
// still searches, by scanning.

#include "catalogue/core/recordsearch.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "data/core/searchcolumns.h"
#include "support/filleddb.h"
#include "support/session.h"
#include "support/testdb.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>


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
    {15, u"L’enfant noir", nullptr, nullptr, nullptr, nullptr, 0, 0},
    {16, u"L’École des femmes", nullptr, nullptr, nullptr, nullptr, 0, 0},
    {17, u"مسؤولية الدولة", nullptr, nullptr, nullptr, nullptr, 0, 0},
    {18, u"Œuvres complètes", nullptr, nullptr, nullptr, nullptr, 0, 0},
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

// The rows as the program writes them (insertRows: with their search columns).
bool fill(Database &db, QString *why)
{
    QVector<QVariantList> records;
    for (const Rec &r : kRecords) {
        const QString title = QString::fromUtf16(r.title);
        const QString complement = r.complement ? QString::fromUtf16(r.complement) : QString();
        records << QVariantList{r.id, QStringLiteral("a"), title, complement.isEmpty() ? QVariant() : QVariant(complement),
                                RecordKeywords(title, complement, {}, {}), text(r.isbn), text(r.issn), text(r.num),
                                key(r.publisher), key(r.publisher2)};
    }
    if (!insertRows(db, QStringLiteral("NOTICE"),
                    {QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
                     QStringLiteral("DOC_TITRE_COMPLEMENT"), QStringLiteral("DOC_KEYWORDS"), QStringLiteral("DOC_ISBN"),
                     QStringLiteral("DOC_ISSN"), QStringLiteral("DOC_NUM"), QStringLiteral("EDT_ID"), QStringLiteral("EDT_ID2")},
                    records, why))
        return false;
    // A record without keywords at all, written by hand.
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
    QVector<QVariantList> headingRows;
    for (const Heading &h : headings) {
        const QString name = QString::fromUtf16(h.name);
        headingRows << QVariantList{h.id, h.type, name, h.accepted, BuildKeywords(name)};
    }
    if (!insertRows(db, QStringLiteral("VEDETTE"),
                    {QStringLiteral("VED_ID"), QStringLiteral("TYP_VED_ID"), QStringLiteral("VED_NOM"),
                     QStringLiteral("VED_ID2"), QStringLiteral("VED_KEYWORDS")},
                    headingRows, why))
        return false;
    struct Publisher {
        int id;
        const char16_t *name, *arabic;
    };
    const Publisher publishers[] = {{1, u"Éditions d'Aujourd'hui", nullptr},
                                    {2, u"Dar El Gharb", u"دار الغرب"},
                                    {3, u"L'Harmattan", nullptr}};
    QVector<QVariantList> publisherRows;
    for (const Publisher &p : publishers) {
        const QString name = QString::fromUtf16(p.name);
        const QString arabic = p.arabic ? QString::fromUtf16(p.arabic) : QString();
        publisherRows << QVariantList{p.id, name, arabic.isEmpty() ? QVariant() : QVariant(arabic), 1,
                                      BuildKeywords(name + u' ' + arabic)};
    }
    if (!insertRows(db, QStringLiteral("EDITEUR"),
                    {QStringLiteral("EDT_ID"), QStringLiteral("EDT_NOM"), QStringLiteral("EDT_NOM_AR"),
                     QStringLiteral("EDT_TYPE"), QStringLiteral("EDT_KEYWORDS")},
                    publisherRows, why))
        return false;
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

// The records of a search read by a plan, in the order of its sort.
QList<int> foundBy(Database &db, const RecordCriteria &c, RecordPlan plan)
{
    SqlCondition q;
    QString why;
    QList<int> ids;
    if (!recordSearchQuery(db.dialect(), c, QStringLiteral("N.DOC_ID"), &q, &why, plan))
        return {-1};
    SqlRows rows = db.query(q.sql, q.binds);
    if (!rows.isActive())
        return {-2};
    while (rows.next())
        ids << rows.value(0).toInt();
    return ids;
}

// What the engine plans for a search's query, as one text.
QString plan(Database &db, const RecordCriteria &c)
{
    SqlCondition q;
    QString why;
    if (!recordSearchQuery(db.dialect(), c, QStringLiteral("N.DOC_ID"), &q, &why))
        return why;
    return queryPlan(db, q.sql, q.binds);
}

// A catalogue large enough for the title order's probe: a word in one
// title of four, an Arabic title in one of five, a rare word once, one
// record of type "b" in five hundred.
constexpr int kOrderedRecords = 3000;
bool fillOrdered(Database &db, QString *why)
{
    static const char *const syllables[] = {"ba", "ko", "ri", "del", "mun", "sa", "tor", "vi", "lem", "ga"};
    QVector<QVariantList> rows;
    for (int i = 1; i <= kOrderedRecords; ++i) {
        QString title = QLatin1String(syllables[i * 7 % 10]) + QLatin1String(syllables[i * 13 % 10])
            + QLatin1String(syllables[(i * 3 + 1) % 10]);
        if (i % 5 == 0)
            title = QStringLiteral("تاريخ ") + title;
        title += i % 4 == 0 ? QStringLiteral(" histoire") : QStringLiteral(" chronique");
        if (i == 1234)
            title += QStringLiteral(" zanzibar");
        rows << QVariantList{i, i % 500 == 0 ? QStringLiteral("b") : QStringLiteral("a"), title,
                             RecordKeywords(title, {}, {}, {})};
    }
    return insertRows(db, QStringLiteral("NOTICE"),
                      {QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
                       QStringLiteral("DOC_KEYWORDS")},
                      rows, why);
}

} // namespace

class TstSearchIndexes : public QObject
{
    Q_OBJECT
    // One filled database per engine, shared by the rows of a table.
    FilledDatabases filled_{fill};
    Database *filled(const QString &engine) { return filled_.of(engine); }

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
        // Each row tested as the title order reads them.
        const QList<int> onRow = foundBy(db, c, RecordPlan::Order);
        QVERIFY(!pg || indexesOnly(db, false));
        db.setIndexedSearch(false);
        QVERIFY(!pg || db.exec(QStringLiteral("SET enable_bitmapscan = off")));
        const QList<int> scanned = found(db, c, &why);
        QVERIFY(!pg || db.exec(QStringLiteral("RESET enable_bitmapscan")));
        db.refreshIndexedSearch();
        QCOMPARE(indexed, expected);
        QCOMPARE(onRow, expected);
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
            row("accents typed without", "keywords", QStringLiteral("ete"), {12});
            row("capitals typed without accents", "keywords", QStringLiteral("ETUDES economiques"), {3});
            row("accented capital after a typographic apostrophe", "keywords", QStringLiteral("ecole"), {16});
            row("accented capital typed", "keywords", QStringLiteral("ÉCOLE FEMMES"), {16});
            row("ligature typed as two letters", "keywords", QStringLiteral("oeuvres completes"), {18});
            row("ligature typed", "keywords", QStringLiteral("œuvre*"), {18});
            row("one word in three spellings", "keywords", QStringLiteral("été"), {12});
            row("star inside a word", "keywords", QStringLiteral("h*e"), {7, 8});
            row("star on both sides", "keywords", QStringLiteral("*ique*"), {3, 8});
            row("star across words", "keywords", QStringLiteral("p*x"), {2});
            row("accented first letter as its letter", "keywords", QStringLiteral("é*"), {3, 5, 6, 12, 15, 16});
            row("Arabic first letter", "keywords", QStringLiteral("م*"), {4, 10, 17});
            row("one letter and a star", "keywords", QStringLiteral("d*"), {7, 8, 16});
            row("a star alone", "keywords", QStringLiteral("*"),
                {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18});
            row("apostrophe cuts words", "keywords", QStringLiteral("l'enfant"), {5, 15});
            row("typographic apostrophe cuts words", "keywords", QStringLiteral("enfant"), {5, 15});
            row("typographic apostrophe typed", "keywords", QStringLiteral("l’enfant noir"), {15});
            row("modifier letter apostrophe typed", "keywords", QStringLiteral("lʼenfant"), {5, 15});
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
            row("hamza on yaa typed, on waw stored", "keywords", QStringLiteral("مسئولية"), {17});
            row("hamza on its seat as stored", "keywords", QStringLiteral("مسؤولية الدوله"), {17});
            row("no such word", "keywords", QStringLiteral("x"), {});
            row("author's accepted form", "author", QStringLiteral("mouloud feraoun"), {1});
            row("author's rejected form", "author", QStringLiteral("FERRAOUN"), {1});
            row("author with an accent", "author", QStringLiteral("roblès"), {2});
            row("author typed without the accent", "author", QStringLiteral("robles"), {2});
            row("Arabic author by either form", "author", QStringLiteral("خلدون"), {7, 9});
            row("Arabic author's hamza", "author", QStringLiteral("إبن"), {7, 9});
            row("corporate author with a star", "author", QStringLiteral("soc*"), {10});
            row("subjects are not authors", "author", QStringLiteral("algérie"), {});
            row("subject's rejected form", "subject", QStringLiteral("enfants"), {2, 5});
            row("subject by a shared word", "subject", QStringLiteral("ALGÉRIE"), {2, 5});
            row("publisher first or second", "publisher", QStringLiteral("éditions"), {1, 2});
            row("publisher with apostrophes", "publisher", QStringLiteral("aujourd'hui"), {1, 2});
            row("publisher typed with typographic apostrophes", "publisher", QStringLiteral("editions d’aujourd’hui"), {1, 2});
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

    // A search sorted by title is read along the title order when the first
    // rows of that order hold enough of its records, else found through its
    // indexes and sorted; both plans give the same records in the same
    // order.
    void titleOrderPlan_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("alongTheOrder");
        for (const QString &e : engines()) {
            auto row = [&](const char *name, const char *words, const char *type, const char *language, bool sorted,
                           int count, bool along) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(name)))
                    << e << QString::fromUtf8(words) << QString::fromLatin1(type) << QString::fromLatin1(language)
                    << sorted << count << along;
            };
            row("common word", "histoire", "", "FR", true, 750, true);
            row("common word, Arabic order", "HISTOIRE", "", "AR", true, 750, true);
            row("Arabic word", "تاريخ", "", "AR", true, 600, true);
            row("rare word", "zanzibar", "", "FR", true, 1, false);
            row("common type", "", "a", "FR", true, 2994, true);
            row("rare type", "", "b", "AR", true, 6, false);
            row("common word of a rare type", "histoire", "b", "FR", true, 6, false);
            row("common word, not sorted by title", "histoire", "", "FR", false, 750, false);
        }
    }
    void titleOrderPlan()
    {
        QFETCH(QString, engine);
        QFETCH(QString, words);
        QFETCH(QString, type);
        QFETCH(QString, language);
        QFETCH(bool, sorted);
        QFETCH(int, count);
        QFETCH(bool, alongTheOrder);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        TestDatabase tdb(engine);
        QVERIFY2(tdb.isValid(), qPrintable(tdb.error()));
        Database &db = tdb.db();
        QString why;
        QVERIFY2(fillOrdered(db, &why), qPrintable(why));
        db.refreshIndexedSearch();
        RecordCriteria c;
        c.titleWords = words;
        c.type = type;
        c.sort = sorted ? RecordSort::Title : RecordSort::None;
        c.sortLanguage = language;
        const bool pg = db.dialect().isPostgres();
        QCOMPARE(recordPlan(db, c), alongTheOrder ? RecordPlan::Order : RecordPlan::Conditions);
        const QList<int> along = foundBy(db, c, RecordPlan::Order);
        QCOMPARE(along.size(), count);
        QCOMPARE(along, foundBy(db, c, RecordPlan::Conditions));
        if (!sorted)
            return;
        // Along the order: read by the title's index, nothing left to sort
        // (the server's planner reads so a table this small only when made
        // to). By the conditions: never along the title's index.
        SqlCondition q;
        QVERIFY(recordSearchQuery(db, c, QStringLiteral("N.DOC_ID"), &q, &why));
        auto costly = [&db](const char *on) {
            return db.exec(QStringLiteral("SET enable_seqscan = ") + QLatin1String(on))
                && db.exec(QStringLiteral("SET enable_sort = ") + QLatin1String(on));
        };
        QVERIFY(!pg || costly("off"));
        QStringList lines;
        {
            SqlRows rows = pg ? db.query(Dialect::inlineBinds(db.connection(), QStringLiteral("EXPLAIN ") + q.sql, q.binds))
                              : db.query(QStringLiteral("EXPLAIN QUERY PLAN ") + q.sql, q.binds);
            while (rows.next())
                lines << rows.value(pg ? 0 : 3).toString();
        }
        QVERIFY(!pg || costly("on"));
        const QString text = lines.join(u'\n').toUpper();
        const bool byTitle = text.contains(QStringLiteral("IX_NOTICE_CLE_") + language);
        const bool sortedAfter = text.contains(pg ? QStringLiteral("SORT") : QStringLiteral("TEMP B-TREE"));
        QVERIFY2(alongTheOrder ? byTitle && !sortedAfter : !byTitle && sortedAfter, qPrintable(text));
    }

    // The program's writers (the shared record query, the import's rows)
    // keep the indexes matching the tables, and so does a statement from
    // elsewhere that writes the folded words too. A row written without
    // them is found by a scan, and through the indexes once its search
    // columns are written again.
    void writersKeepTheIndexes_data() { addEngineRows(); }
    void writersKeepTheIndexes()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QString why;
        QVERIFY2(fill(db, &why), qPrintable(why));
        auto title = [&](const QString &words) { return found(db, criteria(QStringLiteral("keywords"), words), &why); };
        auto scanned = [&](const RecordCriteria &c) {
            db.setIndexedSearch(false);
            const QList<int> ids = found(db, c, &why);
            db.refreshIndexedSearch();
            return ids;
        };

        // A record posted through the shared record query, its search columns written there.
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *q = data.QNotice;
        QVERIFY(q->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = -2147483647")));
        QVERIFY(q->append());
        QVERIFY(q->setValue(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Zénith des mers")));
        QVERIFY(q->setValue(QStringLiteral("DOC_ISBN"), QStringLiteral("978-9947-0-1234-5")));
        QVERIFY2(q->post(), qPrintable(q->lastError()));
        const int id = q->value(QStringLiteral("DOC_ID")).toInt();
        QCOMPARE(title(QStringLiteral("zenith")), QList<int>{id});
        QCOMPARE(found(db, criteria(QStringLiteral("number"), QStringLiteral("9789947*")), &why), QList<int>{id});
        QVERIFY(q->edit());
        QVERIFY(q->setValue(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Nadir des mers")));
        QVERIFY2(q->post(), qPrintable(q->lastError()));
        QCOMPARE(title(QStringLiteral("zénith")), QList<int>());
        QCOMPARE(title(QStringLiteral("nadir mers")), QList<int>{id});

        // Statements from elsewhere that keep the folded words: a new key, deletions.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_ID = 500 WHERE DOC_ID = ?"), {id}));
        QCOMPARE(title(QStringLiteral("nadir")), QList<int>{500});
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_KEYWORDS = NULL, DOC_MOTS = NULL WHERE DOC_ID = 500")));
        QCOMPARE(title(QStringLiteral("nadir")), QList<int>());
        QVERIFY(db.exec(QStringLiteral("DELETE FROM NOTICE WHERE DOC_ID = 1")));
        QCOMPARE(title(QStringLiteral("petit*")), QList<int>{2});
        QVERIFY(db.exec(QStringLiteral("UPDATE VEDETTE SET VED_NOM = 'Farawn, M.', VED_KEYWORDS = '/Farawn//M/', "
                                       "VED_MOTS = '/farawn//m/' WHERE VED_ID = 2")));
        QCOMPARE(found(db, criteria(QStringLiteral("author"), QStringLiteral("ferraoun")), &why), QList<int>());
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (9, 3, 2, 1)")));
        QCOMPARE(found(db, criteria(QStringLiteral("author"), QStringLiteral("farawn")), &why), QList<int>{3});
        QVERIFY(db.exec(QStringLiteral("DELETE FROM EDITEUR WHERE EDT_ID = 3")));
        QCOMPARE(found(db, criteria(QStringLiteral("publisher"), QStringLiteral("harmattan")), &why), QList<int>());

        // Rows written without their folded words: found by a scan, then by
        // the indexes once their search columns are written.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO EDITEUR (EDT_ID, EDT_NOM, EDT_KEYWORDS) VALUES (3, 'Casbah', '/Casbah/')")));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = 'Écume des jours', DOC_KEYWORDS = '/Écume//des//jours/' "
                                       "WHERE DOC_ID = 11")));
        const RecordCriteria casbah = criteria(QStringLiteral("publisher"), QStringLiteral("CASBAH"));
        const RecordCriteria ecume = criteria(QStringLiteral("keywords"), QStringLiteral("ecume"));
        QCOMPARE(found(db, casbah, &why), QList<int>());
        QCOMPARE(found(db, ecume, &why), QList<int>());
        QCOMPARE(title(QStringLiteral("souligne")), QList<int>{11});  // its old words, until they are written again
        QCOMPARE(scanned(casbah), QList<int>{5});
        QCOMPARE(scanned(ecume), QList<int>{11});
        // Written again: those two, the heading renamed by hand (its
        // collation keys), and the records whose keywords were left out.
        qint64 written = 0;
        QVERIFY2(refreshSearchColumns(db, &written, &why), qPrintable(why));
        QCOMPARE(written, qint64(5));
        QCOMPARE(found(db, casbah, &why), QList<int>{5});
        QCOMPARE(found(db, ecume, &why), QList<int>{11});
        QCOMPARE(title(QStringLiteral("souligne")), QList<int>());
        QCOMPARE(title(QStringLiteral("nadir")), QList<int>{500});
        QCOMPARE(title(QStringLiteral("mots")), (QList<int>{12, 14}));
        QVERIFY2(refreshSearchColumns(db, &written, &why), qPrintable(why));
        QCOMPARE(written, qint64(0));

        // A write that fails leaves the index as the table is.
        QVERIFY(!db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_KEYWORDS, DOC_MOTS) "
                                        "VALUES (2, 'a', '/Doublon/', '/doublon/')")));
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
        QVERIFY(!db.dialect().indexedSearch());
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

    // A database of version 3: no search columns, word indexes that fold
    // the keywords themselves (on the embedded engine, through functions of
    // the program that only its connections have), keywords cut at the
    // plain apostrophe only. The upgrade writes the search columns of every
    // row and makes the indexes anew: accents are then ignored, the
    // typographic apostrophe cuts words, the titles come in alphabetical
    // order through their keys, and the file is written by any tool.
    void upgradeFromVersionThree_data() { addEngineRows(); }
    void upgradeFromVersionThree()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        const bool pg = db.dialect().isPostgres();
        QString why;
        QVERIFY2(dropSearchIndexes(db, &why), qPrintable(why));
        for (const SearchColumnsDef &d : Schema::searchColumns()) {
            for (const QString &key : {d.frenchKey, d.arabicKey})
                QVERIFY(db.exec(QStringLiteral("DROP INDEX IX_%1_%2").arg(d.table, key.mid(4))));
            for (const QString &c : {d.folded, d.frenchKey, d.arabicKey})
                QVERIFY2(db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(d.table, c)), qPrintable(db.lastError().text()));
        }
        // The rows as version 3 wrote them, their keywords cut at "'" only.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, DOC_KEYWORDS, DOC_ISBN) VALUES "
                                       "(1, 'a', 'L’École des femmes', ?, NULL), (2, 'a', 'Zazie', '/Zazie/', '207036822X'), "
                                       "(3, 'a', 'ecole buissonnière', '/ecole//buissonnière/', NULL), "
                                       "(4, 'a', 'مسؤولية الدولة', '/مسؤولية//الدولة/', NULL)"),
                        {QStringLiteral("/L’École//des//femmes/")}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2, VED_KEYWORDS) VALUES "
                                       "(1, 1, 'Molière', 1, '/Molière/')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (1, 1, 1, 1)")));
        if (pg) {
            QVERIFY(db.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm")));
            const QString fold = QStringLiteral("TRANSLATE(LOWER(%1 COLLATE \"und-x-icu\"), 'أإآٱةىًٌٍَُِّْـ', 'ااااهي')");
            for (const char *t : {"NOTICE:DOC", "VEDETTE:VED", "EDITEUR:EDT"}) {
                const QStringList p = QString::fromLatin1(t).split(u':');
                QVERIFY(db.exec(QStringLiteral("CREATE INDEX IX_%1_MOTS ON %1 USING gin ((%2) gin_trgm_ops)")
                                    .arg(p.at(0), fold.arg(p.at(1) + QStringLiteral("_KEYWORDS")))));
            }
        } else {
            for (const char *t : {"NOTICE:DOC", "VEDETTE:VED", "EDITEUR:EDT"}) {
                const QStringList p = QString::fromLatin1(t).split(u':');
                const QString table = p.at(0), key = p.at(1) + QStringLiteral("_ID"),
                              words = p.at(1) + QStringLiteral("_KEYWORDS"), ix = table + QStringLiteral("_MOTS");
                const QString fill = QStringLiteral("INSERT OR REPLACE INTO %1 (rowid, MOTS) VALUES (new.%2, FOLIAN_SEARCHFOLD(new.%3))")
                                         .arg(ix, key, words);
                const QString remove = QStringLiteral("DELETE FROM %1 WHERE rowid = old.%2").arg(ix, key);
                for (const QString &sql : {
                         QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(MOTS, tokenize = 'trigram case_sensitive 1', detail = none)").arg(ix),
                         QStringLiteral("INSERT INTO %1 (rowid, MOTS) SELECT %2, FOLIAN_SEARCHFOLD(%3) FROM %4").arg(ix, key, words, table),
                         QStringLiteral("CREATE TRIGGER %1_AI AFTER INSERT ON %2 BEGIN %3; END").arg(ix, table, fill),
                         QStringLiteral("CREATE TRIGGER %1_AU AFTER UPDATE OF %2, %3 ON %4 WHEN old.%2 IS NOT new.%2 OR "
                                        "old.%3 IS NOT new.%3 BEGIN %5; %6; END").arg(ix, key, words, table, remove, fill),
                         QStringLiteral("CREATE TRIGGER %1_AD AFTER DELETE ON %2 BEGIN %3; END").arg(ix, table, remove)})
                    QVERIFY2(db.exec(sql), qPrintable(db.lastError().text()));
            }
        }
        for (const char *c : {"ISBN", "ISSN", "NUM"})
            QVERIFY(db.exec(QStringLiteral("CREATE INDEX IX_NOTICE_RECH_%1 ON NOTICE (%2) %3")
                                .arg(QLatin1String(c),
                                     pg ? QStringLiteral("(LOWER(DOC_%1 COLLATE \"und-x-icu\") COLLATE \"C\")").arg(QLatin1String(c))
                                        : QStringLiteral("FOLIAN_FOLD(DOC_%1)").arg(QLatin1String(c)),
                                     pg ? QString() : QStringLiteral("WHERE DOC_%1 IS NOT NULL").arg(QLatin1String(c)))));
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 3")));

        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QCOMPARE(missingSearchIndexes(db), QStringList());
        QVERIFY(db.dialect().indexedSearch());
        compare(db, criteria(QStringLiteral("keywords"), QStringLiteral("ecole")), {1, 3});
        compare(db, criteria(QStringLiteral("keywords"), QStringLiteral("l’école")), {1});
        compare(db, criteria(QStringLiteral("keywords"), QStringLiteral("مسئولية")), {4});
        compare(db, criteria(QStringLiteral("author"), QStringLiteral("moliere")), {1});
        compare(db, criteria(QStringLiteral("number"), QStringLiteral("2-07-036822-x")), {2});
        RecordCriteria byTitle;
        byTitle.type = QStringLiteral("a");
        byTitle.sort = RecordSort::Title;
        QCOMPARE(found(db, byTitle, &why), (QList<int>{3, 1, 2, 4}));  // ecole, L’École, Zazie, then the Arabic title
        byTitle.sortLanguage = QStringLiteral("AR");
        QCOMPARE(found(db, byTitle, &why), (QList<int>{4, 3, 1, 2}));
        if (!pg) {
            SqlRows calls = db.query(QStringLiteral("SELECT name FROM sqlite_master WHERE sql LIKE '%FOLIAN%'"));
            QVERIFY(calls.isActive());
            QVERIFY2(!calls.next(), qPrintable(calls.value(0).toString()));
        }
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
            QVERIFY(!db.dialect().indexedSearch());
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
