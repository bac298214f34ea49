// The catalogue's search conditions and the parent search, on both engines:
// whole keywords in any order, "*" as the wildcard, "%", "_" and
// apostrophes as themselves, case ignored for every letter, standard
// numbers with or without hyphens; the parent copied into the record with
// or without an issue.

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/parentsearch.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "support/session.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

struct Rec {
    int id;
    const char16_t *title;
    const char16_t *complement;
    const char *isbn;
    const char *issn;
    const char *year;
};

// Records whose keywords are built by the shared rule, as every screen posts them.
const Rec kRecords[] = {
    {1, u"Le petit prince", nullptr, "2-07-036822-X", nullptr, "1946"},
    {2, u"Les petits chevaux", u"roman", nullptr, nullptr, "1970"},
    {3, u"Histoire de l'Algérie", nullptr, nullptr, nullptr, "1990"},
    {4, u"Historique des chemins de fer", nullptr, nullptr, nullptr, "1985"},
    {5, u"Revue d'histoire maghrébine", nullptr, nullptr, "0395-2037", "1974"},
    {6, u"ÉTUDES ÉCONOMIQUES", nullptr, nullptr, nullptr, "2001"},
    {7, u"Taux à 100% et autres_calculs", nullptr, nullptr, nullptr, "2010"},
    {8, u"تاريخ الجزائر الحديث", nullptr, nullptr, nullptr, "2005"},
    {9, u"L'enfant", u"(roman)", nullptr, nullptr, "1953"},
};

} // namespace

class TstParentSearch : public QObject
{
    Q_OBJECT
    RecordingSink sink;

    void fill(TFrmData &data)
    {
        Dataset *n = data.QNotice;
        QVERIFY(n->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = -1")));
        for (const Rec &r : kRecords) {
            QVERIFY(n->append());
            QVERIFY(n->setValue(QStringLiteral("DOC_TITRE_PROPRE"), QString::fromUtf16(r.title)));
            if (r.complement)
                QVERIFY(n->setValue(QStringLiteral("DOC_TITRE_COMPLEMENT"), QString::fromUtf16(r.complement)));
            QVERIFY(n->setValue(QStringLiteral("DOC_ISBN"), r.isbn ? QVariant(QLatin1String(r.isbn)) : QVariant()));
            QVERIFY(n->setValue(QStringLiteral("DOC_ISSN"), r.issn ? QVariant(QLatin1String(r.issn)) : QVariant()));
            QVERIFY(n->setValue(QStringLiteral("DOC_ANNEE"), QLatin1String(r.year)));
            QVERIFY2(n->post(), qPrintable(n->lastError()));
            QCOMPARE(n->value(QStringLiteral("DOC_ID")).toInt(), r.id);
        }
    }

    QList<int> found(TFrmData &data, const ParentCriteria &c)
    {
        const SqlCondition q = parentSearchQuery(data.db().dialect(), c);
        SqlRows rows = data.db().query(q.sql, q.binds);
        [&] { QVERIFY2(rows.isActive(), qPrintable(data.db().lastError().text())); }();
        QList<int> ids;
        while (rows.next())
            ids << rows.value(0).toInt();
        if (c.sort == ParentSort::None)
            std::sort(ids.begin(), ids.end());
        return ids;
    }

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("catalogueur");
        sink.clear();
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    void words()
    {
        QCOMPARE(criterionWords(QStringLiteral("  petit, prince ")), (QStringList{QStringLiteral("petit"), QStringLiteral("prince")}));
        QCOMPARE(criterionWords(QStringLiteral("l'enfant")), (QStringList{QStringLiteral("l"), QStringLiteral("enfant")}));
        QCOMPARE(criterionWords(QStringLiteral(" - ")), QStringList());
        QVERIFY(keywordCondition(*Dialect::forEngine(QStringLiteral("SQLITE")), QStringLiteral("K"), QStringLiteral("  ")).isEmpty());
        QVERIFY(standardNumberCondition(*Dialect::forEngine(QStringLiteral("SQLITE")), QStringLiteral(" - . "), {QStringLiteral("K")})
                    .isEmpty());
    }

    void searches_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QList<int>>("expected");
        for (const QString &e : engines()) {
            auto row = [&](const char *name, const QString &t, const QString &n, const QList<int> &ids) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(name))) << e << t << n << ids;
            };
            row("whole words in any order", QStringLiteral("prince petit"), {}, {1});
            row("a word is not a prefix", QStringLiteral("petit"), {}, {1});
            row("star inside a word", QStringLiteral("hist*"), {}, {3, 4, 5});
            row("case and accents of every letter", QStringLiteral("études économiques"), {}, {6});
            row("upper-case criterion", QStringLiteral("ALGÉRIE"), {}, {3});
            row("apostrophe cuts the words", QStringLiteral("l'enfant"), {}, {9});
            row("percent is itself", QStringLiteral("100%"), {}, {7});
            row("percent does not match anything", QStringLiteral("1%"), {}, {});
            row("underscore is itself", QStringLiteral("autres_calculs"), {}, {7});
            row("underscore is not one character", QStringLiteral("autresxcalculs"), {}, {});
            row("Arabic words", QStringLiteral("الجزائر تاريخ"), {}, {8});
            row("ISSN typed with a hyphen", {}, QStringLiteral("0395-2037"), {5});
            row("ISBN typed with blanks and lower case", {}, QStringLiteral("2 07 036822 x"), {1});
            row("number with a star", {}, QStringLiteral("0395*"), {5});
            row("words and number together", QStringLiteral("petit"), QStringLiteral("0395-2037"), {});
            row("no criterion, no row", {}, {}, {});
        }
    }
    void searches()
    {
        QFETCH(QString, engine);
        QFETCH(QString, title);
        QFETCH(QString, number);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        fill(data);
        ParentCriteria c;
        c.titleWords = title;
        c.number = number;
        QTEST(found(data, c), "expected");
    }

    void sorts_data() { addEngineRows(); }
    void sorts()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        fill(data);
        ParentCriteria c;
        c.titleWords = QStringLiteral("hist*");
        c.sort = ParentSort::Title;
        QCOMPARE(found(data, c), (QList<int>{3, 4, 5}));
        c.sort = ParentSort::Year;
        QCOMPARE(found(data, c), (QList<int>{3, 4, 5}));  // 1990, 1985, 1974
        c.titleWords = QStringLiteral("petit* l*");
        c.sort = ParentSort::Year;
        QCOMPARE(found(data, c), (QList<int>{2, 1}));
        QVERIFY(sink.messages.isEmpty());
    }

    void columnsShown()
    {
        QCOMPARE(standardNumberText(QVariant(), QStringLiteral("03952037"), QStringLiteral("X1")), QStringLiteral("03952037"));
        QCOMPARE(standardNumberText(QStringLiteral("207"), QStringLiteral("0395"), QVariant()), QStringLiteral("207"));
        QCOMPARE(standardNumberText(QVariant(), QString(), QStringLiteral("X1")), QStringLiteral("X1"));
        QCOMPARE(fullTitleText(QStringLiteral("Nedjma"), QStringLiteral("نجمة"), QStringLiteral("roman")),
                 QStringLiteral("Nedjma = نجمة : roman"));
        QCOMPARE(fullTitleText(QStringLiteral("Nedjma"), QVariant(), QStringLiteral(" ")), QStringLiteral("Nedjma"));
    }

    // The parent copied into the record: with an issue its date and number;
    // without, the parent's year and no volume. The main author is shown.
    void linkingTheParent_data() { addEngineRows(); }
    void linkingTheParent()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        fill(data);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, VED_ID2, VED_NOM) VALUES (1, 1, 'Saint-Exupéry, Antoine de'), "
                                       "(2, 2, 'Autre')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (1, 1, 2, 2), (2, 1, 1, 1)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_BULLETIN (BUL_ID, DOC_ID, BUL_NUMERO, BUL_DATE, BUL_STATUT) VALUES "
                                       "(1, 5, '12', 'printemps 1980', 1), (2, 5, '13', 'automne 1980', 0)")));
        Dataset candidates(db, QStringLiteral("C"), QStringLiteral("NOTICE"));
        Dataset issues(db, QStringLiteral("I"), QStringLiteral("NOTICE_BULLETIN"));
        ParentCriteria c;
        c.number = QStringLiteral("0395-2037");
        SqlCondition q = parentSearchQuery(db.dialect(), c);
        QVERIFY(candidates.open(q.sql, q.binds));
        QCOMPARE(candidates.rowCount(), 1);
        QVERIFY(issues.open(parentIssuesSql(), {candidates.value(QStringLiteral("DOC_ID"))}));
        QCOMPARE(issues.rowCount(), 2);
        QVERIFY(issues.moveTo(1));

        Dataset *n = data.QNotice;
        QVERIFY(n->locate(QStringLiteral("DOC_ID"), 9));
        QVERIFY(linkParent(*n, parentChoice(candidates, &issues)));
        QVERIFY(n->post());
        auto rel = [&](const char *col) {
            return db.scalar(QStringLiteral("SELECT ") + QLatin1String(col) + QStringLiteral(" FROM NOTICE WHERE DOC_ID = 9"));
        };
        QCOMPARE(rel("REL_TITRE").toString(), QStringLiteral("Revue d'histoire maghrébine"));
        QCOMPARE(rel("REL_ISSN").toString(), QStringLiteral("03952037"));
        QVERIFY(rel("REL_ISBN").isNull());
        QCOMPARE(rel("REL_DATE_PUB").toString(), QStringLiteral("automne 1980"));
        QCOMPARE(rel("REL_VOLUME").toString(), QStringLiteral("13"));

        // A parent without issues: its year, no volume. Its main author is listed.
        c = ParentCriteria();
        c.titleWords = QStringLiteral("prince");
        q = parentSearchQuery(db.dialect(), c);
        QVERIFY(candidates.open(q.sql, q.binds));
        QCOMPARE(candidates.value(QStringLiteral("AUTEUR")).toString(), QStringLiteral("Saint-Exupéry, Antoine de"));
        QVERIFY(issues.open(parentIssuesSql(), {candidates.value(QStringLiteral("DOC_ID"))}));
        QCOMPARE(issues.rowCount(), 0);
        QVERIFY(linkParent(*n, parentChoice(candidates, &issues)));
        QVERIFY(n->post());
        QCOMPARE(rel("REL_TITRE").toString(), QStringLiteral("Le petit prince"));
        QCOMPARE(rel("REL_ISBN").toString(), QStringLiteral("207036822X"));
        QVERIFY(rel("REL_ISSN").isNull());
        QCOMPARE(rel("REL_DATE_PUB").toString(), QStringLiteral("1946"));
        QVERIFY(rel("REL_VOLUME").isNull());
        QVERIFY(sink.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstParentSearch)
#include "tst_parentsearch.moc"
