// The result of the record search on both engines: read in pages in the
// order of the sort (titles alphabetically, as the export and the basket
// read them), the main author read again with its row; the copy list; the
// buttons by rights; the basket and its page filled by batches.

#include "base/messages.h"
#include "base/progress.h"
#include "base/session.h"
#include "catalogue/core/recordbasket.h"
#include "catalogue/core/recordlist.h"
#include "catalogue/core/recordresult.h"
#include "catalogue/core/records.h"
#include "data/core/dataset.h"
#include "searchrecords.h"
#include "support/testdb.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

// Stops the run after `steps` steps.
class StopAfter : public Progress
{
public:
    explicit StopAfter(int steps) : left_(steps) {}
    void step(int, int, const QString &text) override
    {
        texts << text;
        --left_;
    }
    bool stopped() const override { return left_ <= 0; }
    QStringList texts;

private:
    int left_;
};

QStringList words(const char *text) { return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts); }

SearchRecord record(int id, const QString &title, const char *year)
{
    SearchRecord r;
    r.id = id;
    r.title = title;
    r.year = QLatin1String(year);
    return r;
}

QList<int> idsOf(Dataset &d)
{
    QList<int> ids;
    d.fetchAll();
    for (int r = 0; r < d.rowCount(); ++r)
        ids << d.valueAt(r, QStringLiteral("DOC_ID")).toInt();
    return ids;
}

} // namespace

class TstRecordResult : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void initTestCase() { setMessageSink(&sink); }

    // Titles in alphabetical order whatever their case and accents, through
    // more than one page; the export's and the basket's ids in the same
    // order; the main author follows its row.
    void resultPages_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("sort");
        QTest::addColumn<QList<int>>("head");  // the order of the five named records
        for (const QString &e : {QStringLiteral("SQLITE"), QStringLiteral("POSTGRESQL")}) {
            QTest::newRow(qPrintable(e + QStringLiteral(" title"))) << e << int(RecordSort::Title)
                                                                   << QList<int>{4, 2, 3, 5, 1};
            QTest::newRow(qPrintable(e + QStringLiteral(" year"))) << e << int(RecordSort::Year)
                                                                  << QList<int>{3, 1, 5, 2, 4};
            QTest::newRow(qPrintable(e + QStringLiteral(" created"))) << e << int(RecordSort::Created)
                                                                     << QList<int>{5, 4, 3, 2, 1};
        }
    }
    void resultPages()
    {
        QFETCH(QString, engine);
        QFETCH(int, sort);
        QFETCH(QList<int>, head);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QString why;
        // Five records with "histoire" in their title, then 240 more: three pages.
        QList<SearchRecord> records = {record(1, QStringLiteral("Zoologie et histoire"), "2001"),
                                       record(2, QStringLiteral("bateaux, une histoire"), "1990"),
                                       record(3, QStringLiteral("Éléphants : histoire"), "2010"),
                                       record(4, QStringLiteral("Avions d'histoire"), "1980"),
                                       record(5, QStringLiteral("été de l'histoire"), "1995")};
        for (SearchRecord r : numberedRecords(100, 240)) {
            r.title += QStringLiteral(" histoire");
            if (r.id % 7 == 0)
                r.year.clear();  // no year: where NULLs stand in the order, on each page
            records << r;
        }
        QVERIFY2(addRecords(db, records, &why), qPrintable(why));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES "
                                       "(1, 1, 'Feraoun, Mouloud', 1), (2, 1, 'Dib, Mohammed', 2)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES "
                                       "(1, 3, 2, 2), (2, 3, 1, 1)")));
        RecordCriteria c;
        c.titleWords = QStringLiteral("histoire");
        c.sort = RecordSort(sort);
        SqlCondition q;
        QVERIFY2(recordResultQuery(db, c, &q, &why), qPrintable(why));
        Dataset d(db, QStringLiteral("QNotice"), QStringLiteral("NOTICE"));
        QVERIFY2(d.open(q.sql, q.binds), qPrintable(d.lastError()));
        QVERIFY(!d.allFetched());  // read in pages
        QCOMPARE(d.recordCount(), 245);
        const QList<int> ids = idsOf(d);
        QCOMPARE(ids.size(), 245);
        QList<int> named;
        for (int id : ids)
            if (id <= 5)
                named << id;
        QCOMPARE(named, head);
        QList<int> read;
        QVERIFY2(recordIds(db, c, &read, &why), qPrintable(why));
        QCOMPARE(read, ids);

        // The main author is the principal one, and follows a change of it.
        QVERIFY(d.locate(QStringLiteral("DOC_ID"), 3));
        QCOMPARE(d.value(QStringLiteral("AUTEUR")).toString(), QStringLiteral("Feraoun, Mouloud"));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_AUTEUR SET AUT_TYPE = 3 WHERE NAU_ID = 2")));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_AUTEUR SET AUT_TYPE = 1 WHERE NAU_ID = 1")));
        QVERIFY(d.refreshRow());
        QCOMPARE(d.value(QStringLiteral("AUTEUR")).toString(), QStringLiteral("Dib, Mohammed"));
        // The columns of the record are written back as the record form does.
        QVERIFY(d.edit());
        QVERIFY(d.setValue(QStringLiteral("DOC_ANNEE"), QStringLiteral("2011")));
        QVERIFY2(d.post(), qPrintable(d.lastError()));
        QCOMPARE(db.scalar(QStringLiteral("SELECT DOC_ANNEE FROM NOTICE WHERE DOC_ID = 3")).toString(),
                 QStringLiteral("2011"));

        // No criterion: no row, the same columns.
        QVERIFY2(recordResultQuery(db, RecordCriteria{}, &q, &why), qPrintable(why));
        QVERIFY(d.open(q.sql, q.binds));
        QCOMPARE(d.rowCount(), 0);
        QVERIFY(d.hasField(QStringLiteral("AUTEUR")));
    }

    void copyList_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("shelfMark");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        for (const QString &e : {QStringLiteral("SQLITE"), QStringLiteral("POSTGRESQL")}) {
            auto row = [&](const char *name, bool mark, const QString &typed, const char *ids) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(name))) << e << mark << typed << words(ids);
            };
            row("every copy by shelf mark", true, QString(), "E3 E1 E2 E4");
            row("shelf mark with a star", true, QStringLiteral("843*"), "E3 E1");
            row("shelf mark exactly", true, QStringLiteral("843 FER"), "E1");
            row("shelf mark with an apostrophe", true, QStringLiteral("d'*"), "E4");
            row("copy number with a star", false, QStringLiteral("e*"), "E3 E1 E2 E4");
            row("copy number", false, QStringLiteral("E2"), "E2");
            row("nothing found", true, QStringLiteral("999*"), "");
        }
    }
    void copyList()
    {
        QFETCH(QString, engine);
        QFETCH(bool, shelfMark);
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(addRecords(tdb.db(), numberedRecords(1, 1), &why), qPrintable(why));
        QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, EXP_COTE) VALUES "
                                             "('E1', 1, '843 FER'), ('E2', 1, '900 ROB'), ('E3', 1, '843 DIB'), "
                                             "('E4', 1, ?)"),
                              {QStringLiteral("d'Alembert")}));
        const SqlCondition q = copyListQuery(tdb.db().dialect(),
                                             shelfMark ? CopyListField::ShelfMark : CopyListField::CopyNumber, typed);
        Dataset d(tdb.db(), QStringLiteral("QCopies"), QStringLiteral("NOTICE_EXEMPLAIRE"));
        QVERIFY2(d.open(q.sql, q.binds), qPrintable(d.lastError()));
        d.fetchAll();
        QStringList ids;
        for (int r = 0; r < d.rowCount(); ++r)
            ids << d.valueAt(r, QStringLiteral("EXP_ID")).toString();
        QCOMPARE(ids, expected);
    }

    // The buttons by the state of the screen and the rights of the user
    // ("agent" catalogues types a and b; "manager" has role 3).
    void actions_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("creators");
        QTest::addColumn<bool>("basketShown");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("enabled");  // the actions enabled, by their initials
        // s search, c clear, v preview, e edit, d delete, b basket, a all, p print, x export, r basket rows
        auto row = [](const char *name, const char *who, const char *type, const char *creators, bool basketShown,
                      bool running, const char *enabled) {
            QTest::newRow(name) << QString::fromLatin1(who) << QString::fromLatin1(type) << words(creators)
                                << basketShown << running << QString::fromLatin1(enabled);
        };
        row("manager, any record", "manager", "z", "other", false, false, "s c v e d b a p x r");
        row("agent, his type, his record", "agent", "a", "agent", false, false, "s c v e d b a p x r");
        row("agent, other type", "agent", "z", "agent", false, false, "s c v d b a p x r");
        row("agent, another's record", "agent", "b", "other", false, false, "s c v e b a p x r");
        row("agent, a selection with one of his", "agent", "b", "other agent", false, false, "s c v e d b a p x r");
        row("reader of the catalogue", "reader", "a", "reader", false, false, "s c v b a p x r");
        row("basket page, empty basket", "manager", "a", "x", true, false, "s c v e d b a");
        row("running", "manager", "a", "x", false, true, "");
    }
    void actions()
    {
        QFETCH(QString, who);
        QFETCH(QString, type);
        QFETCH(QStringList, creators);
        QFETCH(bool, basketShown);
        QFETCH(bool, running);
        QFETCH(QString, enabled);
        CataloguerRights r;
        r.manager = who == u"manager";
        r.notice = who != u"reader";
        r.login = who;
        r.types = {QStringLiteral("a"), QStringLiteral("b")};
        RecordSearchState s;
        s.criteria = s.resultRows = s.current = true;
        s.currentType = type;
        for (const QString &c : creators)
            s.creators << c;
        s.basketShown = basketShown;
        s.basketRows = !basketShown;
        s.running = running;
        const RecordSearchActions a = recordSearchActions(r, s);
        QStringList on;
        const std::pair<bool, const char *> all[] = {
            {a.search, "s"}, {a.clear, "c"}, {a.preview, "v"}, {a.edit, "e"}, {a.remove, "d"},
            {a.addToBasket, "b"}, {a.addAllToBasket, "a"}, {a.print, "p"}, {a.exportRecords, "x"},
            {a.basketRemove && a.basketClear, "r"}};
        for (const auto &[flag, name] : all)
            if (flag)
                on << QLatin1String(name);
        QCOMPARE(on.join(u' '), enabled);
    }

    // A basket of a whole result: records added by batches in the order
    // given, each once, a record deleted meanwhile left out; a stopped run
    // keeps what it added; the list page keeps the basket's order.
    void basketBatches_data() { addEngineRows(); }
    void basketBatches()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QString why;
        QVERIFY2(addRecords(db, numberedRecords(1, 1200), &why), qPrintable(why));
        QList<int> ids;
        for (int id = 1200; id >= 1; --id)
            ids << id;
        RecordBasket b;
        QVERIFY(b.add(db, 7));
        StopAfter stop(1);
        QCOMPARE(b.addAll(db, ids + QList<int>{99999, 5, 5}, &stop), 500);
        QCOMPARE(stop.texts, QStringList{RecordBasket::progressText(500)});
        QCOMPARE(b.size(), 501);
        QCOMPARE(b.ids().mid(0, 3), (QList<int>{7, 1200, 1199}));
        QCOMPARE(b.addAll(db, ids + QList<int>{99999, 5, 5}), 699);
        QCOMPARE(b.size(), 1200);
        QVERIFY(b.contains(1) && b.contains(7) && !b.contains(99999));
        QCOMPARE(b.rows().last().title, QStringLiteral("Série 00001"));
        b.removeAt(0);
        QVERIFY(!b.contains(7));
        QCOMPARE(b.addAll(db, {7}), 1);
        QCOMPARE(b.ids().last(), 7);

        Report page;
        QVERIFY2(basketListReport(db, b.ids(), &page, &why), qPrintable(why));
        QCOMPARE(page.rows.size(), 1200);
        QCOMPARE(page.rows.first().at(1).toString(), QStringLiteral("Série 01200"));
        QCOMPARE(page.rows.last().at(1).toString(), QStringLiteral("Série 00007"));
    }
};

QTEST_GUILESS_MAIN(TstRecordResult)
#include "tst_recordresult.moc"
