// Purchase suggestions on both engines: saved, changed and deleted with
// their checks; the number criterion (a number matched as its digits on
// every engine), oldest first then by number; the printed list with an
// empty price cell and every value escaped.

#include "acquisitions/acqfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/suggestions.h"
#include "base/session.h"
#include "reports/core/htmlpage.h"
#include "support/session.h"

using namespace folian;
using namespace folian::test;

namespace {

int suggest(Database &db, const QString &title, const QDate &date, const QString &price = QString())
{
    SuggestionSheet s;
    s.title = title;
    s.date = date;
    s.price = price;
    const AcqResult r = saveSuggestion(db, s);
    if (!r.passed)
        qWarning("suggestion: %s", qPrintable(r.message));
    return r.key;
}

struct SearchCase {
    const char *name;
    const char *number;
    QList<int> found;   // in the order listed
};

// Suggestions 1 to 12, dated so that the order by date differs from the keys'.
const SearchCase kSearches[] = {
    {"blank: every one, oldest first", "", {3, 2, 1, 12, 4, 5, 6, 7, 8, 9, 10, 11}},
    {"star: every one", "*", {3, 2, 1, 12, 4, 5, 6, 7, 8, 9, 10, 11}},
    {"exactly 1", "1", {1}},
    {"starting with 1", "1*", {1, 12, 10, 11}},
    {"ending with 2", "*2", {2, 12}},
    {"none", "99", {}},
};

} // namespace

class TstSuggestions : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("lecteur");
    }
    void cleanup() { setMessageSink(nullptr); }

    void searchByNumber_data() { addEngineCaseRows(kSearches); }
    void searchByNumber()
    {
        FOLIAN_ACQ_DB(tdb, db);
        QFETCH(int, index);
        const SearchCase &c = kSearches[index];
        for (int i = 1; i <= 12; ++i) {
            // 3, then 2, then 1 and 12 on one day (by number), then the others.
            const QDate day = i == 3 ? QDate(2023, 1, 1) : i == 2 ? QDate(2023, 6, 1) : (i == 12 || i == 1) ? QDate(2024, 1, 1)
                                                                                                              : QDate(2024, 2, i);
            QCOMPARE(suggest(db, QStringLiteral("Titre %1").arg(i), day), i);
        }
        SqlText sql;
        QString why;
        QVERIFY(suggestionSearchSql(db.dialect(), QLatin1String(c.number), &sql, &why));
        SqlRows q = db.query(sql.sql, sql.binds);
        QVERIFY2(q.isActive(), qPrintable(db.lastError().text()));
        QList<int> found;
        while (q.next())
            found << q.value(QStringLiteral("SUG_ID")).toInt();
        QCOMPARE(found, c.found);
    }

    void saveEditDelete_data() { addEngineRows(); }
    void saveEditDelete()
    {
        FOLIAN_ACQ_DB(tdb, db);
        SuggestionSheet s;
        s.title = QStringLiteral("   ");
        QCOMPARE(saveSuggestion(db, s).message, acq::suggestionTitleRequired());
        s.title = QStringLiteral("L'Étranger");
        s.author = QStringLiteral("Camus");
        s.publisher = QStringLiteral("L'Harmattan");
        s.comment = QStringLiteral("Demandé par 3 lecteurs");
        s.price = QStringLiteral("-1.00");
        QCOMPARE(saveSuggestion(db, s).message, acq::amountNegative());
        s.price = QStringLiteral("12.345");
        QCOMPARE(saveSuggestion(db, s).message, acq::amountNotANumber(QStringLiteral("12.345")));
        s.price = QStringLiteral("19.90");
        s.date = QDate(2024, 3, 1);
        const AcqResult added = saveSuggestion(db, s);
        QVERIFY(added.passed);
        SuggestionSheet stored = loadSuggestion(db, added.key);
        QCOMPARE(stored.title, s.title);
        QCOMPARE(stored.price, QStringLiteral("19.90"));
        QCOMPARE(stored.date, QDate(2024, 3, 1));
        QCOMPARE(stored.comment, s.comment);
        stored.price.clear();
        stored.title = QStringLiteral("La Peste");
        QVERIFY(saveSuggestion(db, stored).passed);
        QCOMPARE(loadSuggestion(db, added.key).price, QString());
        QCOMPARE(loadSuggestion(db, added.key).title, QStringLiteral("La Peste"));
        QVERIFY(deleteSuggestion(db, added.key).passed);
        QCOMPARE(deleteSuggestion(db, added.key).message, acq::suggestionGone());
        stored.id = added.key;
        QCOMPARE(saveSuggestion(db, stored).message, acq::suggestionGone());
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM SUGGESTION")), 0);
        // Without a date: today's.
        SuggestionSheet undated;
        undated.title = QStringLiteral("Sans date");
        QCOMPARE(loadSuggestion(db, saveSuggestion(db, undated).key).date, serverToday(db));
        QString why;
        SqlText sql;
        QVERIFY(!suggestionSearchSql(db.dialect(), QStringLiteral("1' OR '1'='1"), &sql, &why));
        QCOMPARE(why, acq::suggestionNumberNotANumber(QStringLiteral("1' OR '1'='1")));
    }

    // "suggestion.html": one row per suggestion found, an empty cell for no
    // price, every value escaped, in both languages.
    void printedList_data() { addEngineRows(); }
    void printedList()
    {
        FOLIAN_ACQ_DB(tdb, db);
        SuggestionSheet s;
        s.title = QStringLiteral("<i>Nedjma</i>");
        s.author = QStringLiteral("O'Brien & <Fils>");
        s.publisher = QStringLiteral("دار الغرب");
        s.date = QDate(2024, 1, 2);
        QVERIFY(saveSuggestion(db, s).passed);
        QVERIFY(suggest(db, QStringLiteral("Priced"), QDate(2024, 1, 3), QStringLiteral("7.50")));
        for (const QString &language : {QStringLiteral("FR"), QStringLiteral("AR")}) {
            session().setLanguage(language);
            Report report;
            QString why;
            QVERIFY(suggestionListReport(db.dialect(), QString(), &report, &why));
            const ReportResult r = writeReport(db, report);
            QVERIFY2(r.written(), qPrintable(r.message));
            QVERIFY(r.path.endsWith(QStringLiteral("/suggestion.html")));
            QCOMPARE(r.rows, 2);
            QString html;
            QVERIFY(readHtmlPage(r.path, &html));
            QVERIFY(html.contains(QStringLiteral("&lt;i&gt;Nedjma&lt;/i&gt;")));
            QVERIFY(html.contains(QStringLiteral("&amp; &lt;Fils&gt;")));
            QVERIFY(!html.contains(QStringLiteral("<i>Nedjma")));
            QVERIFY(html.contains(QStringLiteral("دار الغرب")));
            QVERIFY(html.contains(QStringLiteral("7.50")));
            // The first row's price cell is empty.
            const qsizetype row = html.indexOf(QStringLiteral("Nedjma"));
            const QString rest = html.mid(row, html.indexOf(QStringLiteral("</tr>"), row) - row);
            QVERIFY2(!rest.contains(QStringLiteral("0.00")), qPrintable(rest));
            QCOMPARE(html.contains(QStringLiteral("dir=\"rtl\"")) || html.contains(QStringLiteral("dir=rtl")), language == u"AR");
        }
        QCOMPARE(suggestionCountLine(db), QStringLiteral(" الاقتراحات : 2 تسجيلة"));
    }
};

QTEST_GUILESS_MAIN(TstSuggestions)
#include "tst_suggestions.moc"
