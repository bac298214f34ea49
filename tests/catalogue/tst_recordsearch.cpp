// The record search on both engines: each criterion, authors and subjects
// found through a rejected form, case ignored for every letter, Arabic
// spelling variants, standard numbers typed with hyphens, codes by key,
// the year checked as a number, "%", "_" and apostrophes as themselves.

#include "base/messages.h"
#include "catalogue/core/recordbasket.h"
#include "catalogue/core/recorddeletion.h"
#include "catalogue/core/recordlist.h"
#include "data/core/shareddata.h"
#include "support/session.h"
#include "base/rights.h"
#include "catalogue/core/recordsearch.h"
#include "base/session.h"
#include "base/cp1256.h"
#include "data/core/helpers.h"
#include "data/core/searchcolumns.h"
#include "support/testdb.h"

#include <QDateTime>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QSqlQuery>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

struct Rec {
    int id;
    const char16_t *title;
    const char *isbn;
    const char *issn;
    const char *year;
    const char *type;
    const char *language;
    int status;
};

const Rec kRecords[] = {
    {1, u"Le petit prince", "207036822X", nullptr, "1946", "a", "fre", 1},
    {2, u"Les petits chevaux", nullptr, nullptr, "1970", "b", "ara", 2},
    {3, u"ÉTUDES ÉCONOMIQUES", nullptr, "03952037", "2001", "a", "fre", 1},
    {4, u"مكتبة أحمد", nullptr, nullptr, "2005", "a", "ara", 1},
    {5, u"L'enfant", nullptr, nullptr, "1953", "a", "fre", 1},
    {6, u"Taux à 100% et autres", nullptr, nullptr, "2010", "a", "fre", 1},
    {7, u"Broché", "9782070360253 (br.)", nullptr, "1960", "a", "fre", 1},
};

bool fill(Database &db, QString *why)
{
    auto run = [&](const QString &sql, const QVariantList &binds = {}) {
        if (db.exec(sql, binds))
            return true;
        *why = sql + QStringLiteral(": ") + db.lastError().text();
        return false;
    };
    for (const Rec &r : kRecords) {
        const QString title = QString::fromUtf16(r.title);
        const QDateTime created(QDate(r.id == 2 ? 2023 : 2020, 1, 5), QTime(10, 0));
        if (!run(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, DOC_KEYWORDS, DOC_ISBN, "
                                "DOC_ISSN, DOC_ANNEE, LAN_ID, STA_ID, DIP_ID, SPE_ID, EDT_ID, EDT_ID2, CREATE_DATE, "
                                "CREATE_USER) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'test')"),
                 {r.id, QLatin1String(r.type), title, RecordKeywords(title, {}, {}, {}),
                  r.isbn ? QVariant(QLatin1String(r.isbn)) : QVariant(),
                  r.issn ? QVariant(QLatin1String(r.issn)) : QVariant(), QLatin1String(r.year),
                  QLatin1String(r.language), r.status, r.id == 1 ? QVariant(1) : QVariant(),
                  r.id == 1 ? QVariant(2) : QVariant(), r.id == 1 ? QVariant(1) : QVariant(),
                  r.id == 2 ? QVariant(1) : QVariant(), created}))
            return false;
    }
    struct Heading {
        int id, type, accepted;
        const char16_t *name;
    };
    const Heading headings[] = {{1, 1, 1, u"Feraoun, Mouloud"}, {2, 1, 1, u"Ferraoun, M."},
                                {3, 1, 3, u"Roblès, Emmanuel"}, {4, 6, 4, u"Enfance -- Algérie"},
                                {5, 6, 4, u"Enfants -- Algérie"}};
    for (const Heading &h : headings) {
        const QString name = QString::fromUtf16(h.name);
        if (!run(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2, VED_KEYWORDS) "
                                "VALUES (?, ?, ?, ?, ?)"),
                 {h.id, h.type, name, h.accepted, BuildKeywords(name)}))
            return false;
    }
    const QString publisher = QStringLiteral("Éditions d'Aujourd'hui");
    return run(QStringLiteral("INSERT INTO EDITEUR (EDT_ID, EDT_NOM, EDT_KEYWORDS, EDT_TYPE) VALUES (1, ?, ?, 1)"),
               {publisher, BuildKeywords(publisher)})
        && run(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (1, 1, 1, 1), (2, 2, 3, 1)"))
        && run(QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (1, 2, 4)"))
        && run(QStringLiteral("INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) VALUES (1, 1, '843')"))
        && run(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, EXP_COTE, EXP_DATE_ACQUISITION) "
                              "VALUES ('E001', 1, '843 FER', ?), ('E002', 2, '900 ROB', ?)"),
               {QDate(2015, 3, 1), QDate(2019, 6, 1)})
        // The folded words and collation keys the program writes beside the keywords.
        && refreshSearchColumns(db, nullptr, why);
}

// A criterion named as folianctl names its options.
void setCriterion(RecordCriteria &c, const QString &name, const QString &value)
{
    if (name == u"keywords") c.titleWords = value;
    else if (name == u"number") c.number = value;
    else if (name == u"author") c.author = value;
    else if (name == u"subject") c.subject = value;
    else if (name == u"publisher") c.publisher = value;
    else if (name == u"classification") c.classification = value;
    else if (name == u"shelfmark") c.shelfMark = value;
    else if (name == u"copy") c.copy = value;
    else if (name == u"type") c.type = value;
    else if (name == u"language") c.language = value;
    else if (name == u"status") c.status = value.toInt();
    else if (name == u"diploma") c.diploma = value.toInt();
    else if (name == u"speciality") c.speciality = value.toInt();
    else if (name.startsWith(u"year")) {
        c.yearKind = name == u"year-purchase" ? YearKind::Purchase
            : name == u"year-entry"           ? YearKind::Entry
                                              : YearKind::Edition;
        QVERIFY(parseYearCriterion(value, &c.yearOperator, &c.year));
    } else
        QFAIL(qPrintable(QStringLiteral("unknown criterion ") + name));
}

} // namespace

class TstRecordSearch : public QObject
{
    Q_OBJECT
    RecordingSink sink;

    QList<int> found(Database &db, const RecordCriteria &c)
    {
        SqlCondition q;
        QString why;
        [&] { QVERIFY2(recordSearchQuery(db.dialect(), c, QStringLiteral("N.DOC_ID"), &q, &why), qPrintable(why)); }();
        SqlRows rows = db.query(q.sql, q.binds);
        [&] { QVERIFY2(rows.isActive(), qPrintable(db.lastError().text() + u' ' + q.sql)); }();
        QList<int> ids;
        while (rows.next())
            ids << rows.value(0).toInt();
        return ids;
    }

private slots:
    void initTestCase() { setMessageSink(&sink); }

    void criteria_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QList<int>>("expected");
        for (const QString &e : {QStringLiteral("SQLITE"), QStringLiteral("POSTGRESQL")}) {
            auto row = [&](const char *name, const char *criterion, const QString &value, const QList<int> &ids) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(name)))
                    << e << QString::fromLatin1(criterion) << value << ids;
            };
            row("title words in any order", "keywords", QStringLiteral("prince petit"), {1});
            row("a word is not a prefix", "keywords", QStringLiteral("petit"), {1});
            row("star inside a word", "keywords", QStringLiteral("petit*"), {1, 2});
            row("É found by é", "keywords", QStringLiteral("études économiques"), {3});
            row("apostrophe", "keywords", QStringLiteral("l'enfant"), {5});
            row("percent as itself", "keywords", QStringLiteral("100%"), {6});
            row("underscore as itself", "keywords", QStringLiteral("1_0%"), {});
            row("Arabic hamza of alef", "keywords", QStringLiteral("احمد"), {4});
            row("Arabic haa for taa marbuta", "keywords", QStringLiteral("مكتبه"), {4});
            row("Arabic short vowels and tatweel", "keywords", QStringLiteral("مَكْتـبة"), {4});
            row("ISBN typed with hyphens", "number", QStringLiteral("2-07-036822-x"), {1});
            row("ISSN typed with a hyphen", "number", QStringLiteral("0395-2037"), {3});
            row("number with a star", "number", QStringLiteral("207*"), {1});
            row("number without its qualifier", "number", QStringLiteral("978-2-07-036025-3"), {7});
            row("number with another qualifier", "number", QStringLiteral("9782070360253 (rel.)"), {7});
            row("number beginning, qualified", "number", QStringLiteral("978207*"), {7});
            row("number that only begins the same", "number", QStringLiteral("978207036025"), {});
            row("author's accepted form", "author", QStringLiteral("mouloud feraoun"), {1});
            row("author's rejected form", "author", QStringLiteral("FERRAOUN"), {1});
            row("author with an accent", "author", QStringLiteral("roblès"), {2});
            row("subject's rejected form", "subject", QStringLiteral("enfants"), {2});
            row("publisher first or second", "publisher", QStringLiteral("éditions"), {1, 2});
            row("classification", "classification", QStringLiteral("843"), {1});
            row("classification with a star", "classification", QStringLiteral("8*"), {1});
            row("shelf mark with a star", "shelfmark", QStringLiteral("843*"), {1});
            row("copy number with a star", "copy", QStringLiteral("e00*"), {1, 2});
            row("edition year equal", "year", QStringLiteral("1946"), {1});
            row("edition year from", "year", QStringLiteral(">=1970"), {2, 3, 4, 6});
            row("edition year before", "year", QStringLiteral("<1950"), {1});
            row("purchase year", "year-purchase", QStringLiteral(">2016"), {2});
            row("entry year", "year-entry", QStringLiteral("2023"), {2});
            row("type by key", "type", QStringLiteral("b"), {2});
            row("language by key", "language", QStringLiteral("ara"), {2, 4});
            row("second status", "status", QStringLiteral("2"), {2});
            row("diploma", "diploma", QStringLiteral("1"), {1});
            row("speciality", "speciality", QStringLiteral("2"), {1});
        }
    }
    void criteria()
    {
        QFETCH(QString, engine);
        QFETCH(QString, criterion);
        QFETCH(QString, value);
        QFETCH(QList<int>, expected);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(fill(tdb.db(), &why), qPrintable(why));
        RecordCriteria c;
        setCriterion(c, criterion, value);
        QVERIFY(!c.isEmpty());
        QCOMPARE(found(tdb.db(), c), expected);
        QCOMPARE(countRecords(tdb.db(), c, &why), qint64(expected.size()));
    }

    void combinedAndSorted_data() { addEngineRows(); }
    void combinedAndSorted()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(fill(tdb.db(), &why), qPrintable(why));
        RecordCriteria c;
        c.language = QStringLiteral("fre");
        c.sort = RecordSort::Year;
        QCOMPARE(found(tdb.db(), c), (QList<int>{6, 3, 7, 5, 1}));
        c.titleWords = QStringLiteral("petit");
        c.author = QStringLiteral("ferraoun");
        QCOMPARE(found(tdb.db(), c), (QList<int>{1}));
        c.author = QStringLiteral("roblès");
        QCOMPARE(found(tdb.db(), c), QList<int>{});
    }

    // The list of a result and of a basket, in French and Arabic: the
    // standard number, title with its complement, main author, first shelf
    // mark and count of copies; the basket keeps its own order.
    void listPage_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("language");
        for (const QString &e : {QStringLiteral("SQLITE"), QStringLiteral("POSTGRESQL")})
            for (const QString &l : {QStringLiteral("FR"), QStringLiteral("AR")})
                QTest::newRow(qPrintable(e + u' ' + l)) << e << l;
    }
    void listPage()
    {
        QFETCH(QString, engine);
        QFETCH(QString, language);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(fill(tdb.db(), &why), qPrintable(why));
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_COMPLEMENT = 'conte', DOC_NBR_EXEMPLAIRE = 1 "
                                             "WHERE DOC_ID = 1")));
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        session().setLanguage(language);
        auto page = [&](const Report &r) {
            const ReportResult written = writeReport(tdb.db(), r);
            [&] { QVERIFY2(written.written(), qPrintable(written.message)); }();
            QFile f(written.path);
            [&] { QVERIFY(f.open(QIODevice::ReadOnly)); }();
            return decodeCp1256(f.readAll());
        };
        RecordCriteria c;
        c.titleWords = QStringLiteral("petit*");
        Report result;
        QVERIFY2(recordListReport(tdb.db().dialect(), c, &result, &why), qPrintable(why));
        QCOMPARE(result.fileName, QStringLiteral("liste.html"));
        const QString html = page(result);
        const bool arabic = language == u"AR";
        QVERIFY(html.contains(arabic ? QStringLiteral("قائمة البطاقات") : QStringLiteral("Liste des notices")));
        QVERIFY(html.contains(arabic ? QStringLiteral("الشفرة") : QStringLiteral("Nbr. Exp.")));
        QVERIFY(html.contains(QStringLiteral("<td valign=\"top\">207036822X</td><td valign=\"top\">Le petit prince : "
                                             "conte</td><td valign=\"top\">Feraoun, Mouloud</td><td valign=\"top\">"
                                             "843 FER</td>")));
        QVERIFY(html.contains(QStringLiteral("Roblès, Emmanuel")));
        QVERIFY(html.indexOf(QStringLiteral("Le petit prince")) < html.indexOf(QStringLiteral("Les petits chevaux")));
        Report basketPage;
        QVERIFY2(basketListReport(tdb.db(), {4, 2}, &basketPage, &why), qPrintable(why));
        const QString basket = page(basketPage);
        QVERIFY(basket.contains(QStringLiteral("مكتبة أحمد")));
        QVERIFY(!basket.contains(QStringLiteral("Le petit prince")));
        QVERIFY(basket.indexOf(QStringLiteral("مكتبة أحمد")) < basket.indexOf(QStringLiteral("Les petits chevaux")));
        session().setLanguage(QStringLiteral("FR"));
    }

    // Deleting a selection: a cataloguer deletes only the records he
    // created, never one whose copy is lent; each refusal is told; a
    // manager deletes the others.
    void deletionRights_data() { addEngineRows(); }
    void deletionRights()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QString why;
        QVERIFY2(fill(tdb.db(), &why), qPrintable(why));
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET CREATE_USER = 'agent.cat' WHERE DOC_ID IN (1, 3, 4)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, LEC_ID, EXP_DATE_RETOUR) "
                                       "VALUES ('E003', 3, 'L1', ?)"),
                        {QDate(2026, 3, 14)}));
        Session &s = session();
        s.CurrentUserLogin = QStringLiteral("agent.cat");
        s.CurrentUserRole = 6;
        for (Right r : allRights())
            s.setRight(r, r == Right::CatNotice);
        const CataloguerRights cataloguer = CataloguerRights::of(db, s);
        const QList<RecordDeletion> outcome = deleteRecords(data, cataloguer, {1, 2, 3, 4});
        QCOMPARE(outcome.size(), 4);
        QCOMPARE(outcome.at(0).refusal, QString());
        QVERIFY(!outcome.at(1).refusal.isEmpty());  // created by another user
        QVERIFY2(outcome.at(2).refusal.contains(QStringLiteral("emprunté")), qPrintable(outcome.at(2).refusal));
        QCOMPARE(outcome.at(3).refusal, QString());
        const QString text = refusalsText(outcome);
        QCOMPARE(text.count(u'\n'), 1);
        QVERIFY(text.startsWith(QStringLiteral("2 : ")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_ID IN (1, 2, 3, 4)")).toInt(), 2);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = 1")).toInt(), 0);

        s.CurrentUserRole = 1;
        const QList<RecordDeletion> managed = deleteRecords(data, CataloguerRights::of(db, s), {2});
        QCOMPARE(managed.at(0).refusal, QString());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_ID = 2")).toInt(), 0);
    }

    // A record is listed once; removing a row shifts the next ones up; the
    // panel tells the count, or its title when the basket is empty.
    void basket_data() { addEngineRows(); }
    void basket()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(fill(tdb.db(), &why), qPrintable(why));
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_COMPLEMENT = 'conte' WHERE DOC_ID = 1")));
        session().setLanguage(QStringLiteral("FR"));
        RecordBasket b;
        QCOMPARE(b.caption(), QStringLiteral(" Liste des notice(s) sélectionné(s)"));
        QVERIFY(b.add(tdb.db(), 1));
        QVERIFY(b.add(tdb.db(), 4));
        QVERIFY(!b.add(tdb.db(), 1));
        QVERIFY(!b.add(tdb.db(), 99));
        QVERIFY(b.add(tdb.db(), 2));
        QCOMPARE(b.ids(), (QList<int>{1, 4, 2}));
        QCOMPARE(b.rows().first().title, QStringLiteral("Le petit prince : conte"));
        QCOMPARE(b.caption(), QStringLiteral(" 3 notice(s) sélectionné(s)"));
        b.removeAt(1);
        QCOMPARE(b.ids(), (QList<int>{1, 2}));
        session().setLanguage(QStringLiteral("AR"));
        QCOMPARE(b.caption(), QStringLiteral(" 2 بطاقة منتقات"));
        b.clear();
        QCOMPARE(b.caption(), QStringLiteral(" قائمة البطاقات المنتقات"));
        session().setLanguage(QStringLiteral("FR"));
    }

    void yearChecked_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("op");
        QTest::newRow("letters") << QStringLiteral("19a0") << QStringLiteral("=");
        QTest::newRow("injection") << QStringLiteral("1990 OR 1=1") << QStringLiteral("=");
        QTest::newRow("operator") << QStringLiteral("1990") << QStringLiteral("<>");
    }
    void yearChecked()
    {
        QFETCH(QString, year);
        QFETCH(QString, op);
        auto d = Dialect::forEngine(QStringLiteral("SQLITE"));
        RecordCriteria c;
        c.year = year;
        c.yearOperator = op;
        SqlCondition q;
        QString why;
        QVERIFY(!recordSearchQuery(*d, c, QStringLiteral("N.DOC_ID"), &q, &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(q.sql.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstRecordSearch)
#include "tst_recordsearch.moc"
