// A search sorted by title gives the records its criteria find in the
// alphabetical order of the interface's language, whichever way the rows
// are read: along the title order, found then sorted, through the word
// indexes or by a scan, or as the search chooses. The titles are of both
// scripts, an Arabic title holds a French word and a French title an Arabic
// one: in the French order the Arabic titles come last, in the Arabic order
// first.

#include "catalogue/core/recordsearch.h"
#include "data/core/database.h"
#include "data/core/dialect.h"
#include "data/core/migrator.h"
#include "data/core/searchcolumns.h"
#include "support/filleddb.h"
#include "support/testdb.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

struct Title {
    int id;
    const char *type;
    const char16_t *text;
};

const Title kTitles[] = {
    {1, "b", u"Histoire de l'Algérie"},
    {2, "a", u"تاريخ الجزائر histoire"},
    {3, "a", u"Abrégé d'histoire"},
    {4, "a", u"Zoologie et histoire"},
    {5, "b", u"مدخل إلى histoire"},
    {6, "a", u"Économie, histoire"},
    {7, "a", u"Chroniques تاريخ"},
    {8, "a", u"تاريخ المغرب"},
    {9, "a", u"Géographie"},
    {10, "a", u"Histoires vraies"},
};

bool fill(Database &db, QString *why)
{
    QVector<QVariantList> rows;
    for (const Title &t : kTitles) {
        const QString title = QString::fromUtf16(t.text);
        rows << QVariantList{t.id, QString::fromLatin1(t.type), title, RecordKeywords(title, {}, {}, {})};
    }
    return insertRows(db, QStringLiteral("NOTICE"),
                      {QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
                       QStringLiteral("DOC_KEYWORDS")},
                      rows, why);
}

QList<int> read(Database &db, const SqlCondition &q)
{
    SqlRows rows = db.query(q.sql, q.binds);
    if (!rows.isActive())
        return {-2};
    QList<int> ids;
    while (rows.next())
        ids << rows.value(0).toInt();
    return ids;
}

} // namespace

class TstTitleOrder : public QObject
{
    Q_OBJECT
    // One filled database per engine, shared by the rows of the table.
    FilledDatabases filled_{fill};

private slots:
    void cleanupTestCase() { filled_.clear(); }

    void sameOrderWhateverThePlan_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QList<int>>("expected");
        for (const QString &e : engines()) {
            auto row = [&](const char *name, const char16_t *words, const char *type, const char *language,
                           const QList<int> &expected) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(name)))
                    << e << QString::fromUtf16(words) << QString::fromLatin1(type) << QString::fromLatin1(language)
                    << expected;
            };
            row("French word, French order", u"histoire", "", "FR", {3, 6, 1, 4, 2, 5});
            row("French word, Arabic order", u"histoire", "", "AR", {2, 5, 3, 6, 1, 4});
            row("Arabic word, French order", u"تاريخ", "", "FR", {7, 2, 8});
            row("Arabic word, Arabic order", u"تاريخ", "", "AR", {2, 8, 7});
            row("word of a type, French order", u"HISTOIRE", "b", "FR", {1, 5});
            row("word of a type, Arabic order", u"histoire", "b", "AR", {5, 1});
            row("words of both scripts", u"histoire تاريخ", "", "AR", {2});
            row("a type alone, Arabic order", u"", "b", "AR", {5, 1});
            row("nothing found", u"zanzibar", "", "AR", {});
        }
    }
    void sameOrderWhateverThePlan()
    {
        QFETCH(QString, engine);
        QFETCH(QString, words);
        QFETCH(QString, type);
        QFETCH(QString, language);
        QFETCH(QList<int>, expected);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        Database *filledDb = filled_.of(engine);
        QVERIFY(filledDb);
        Database &db = *filledDb;
        QString why;
        RecordCriteria c;
        c.titleWords = words;
        c.type = type;
        c.sort = RecordSort::Title;
        c.sortLanguage = language;
        for (const bool indexed : {true, false}) {
            db.refreshIndexedSearch();
            if (!indexed)
                db.setIndexedSearch(false);
            for (const RecordPlan plan : {RecordPlan::Order, RecordPlan::Conditions}) {
                SqlCondition q;
                QVERIFY2(recordSearchQuery(db.dialect(), c, QStringLiteral("N.DOC_ID, N.DOC_TITRE_PROPRE"), &q, &why, plan),
                         qPrintable(why));
                const QList<int> ids = read(db, q);
                QStringList got;
                for (const int id : ids)
                    got << QString::number(id);
                QVERIFY2(ids == expected, qPrintable(QStringLiteral("indexed %1, plan %2: %3\n%4")
                                                         .arg(indexed)
                                                         .arg(int(plan))
                                                         .arg(got.join(u' '), q.sql)));
            }
            // As the search screen asks: the plan the database suits.
            QList<int> chosen;
            QVERIFY2(recordIds(db, c, &chosen, &why), qPrintable(why));
            QCOMPARE(chosen, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TstTitleOrder)
#include "tst_titleorder.moc"
