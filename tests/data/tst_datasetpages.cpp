// Reading a result in pages on the workstation's one connection: a row
// posted, re-keyed or deleted while the result is half read appears once; a
// failed read is an error, not the end of the data; counting and locating
// ask the database; a rollback shows the database again.

#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"
#include "support/testdb.h"

#include <QSignalSpy>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

void fillSupports(Database &db, int n)
{
    QVector<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i * 2, QStringLiteral("Support %1").arg(i, 4, 10, QLatin1Char('0'))};
    QString why;
    QVERIFY2(insertRows(db, QStringLiteral("SUPPORT"), {QStringLiteral("SUP_ID"), QStringLiteral("SUP_LIBELLE")}, rows, &why),
             qPrintable(why));
}

QList<int> datasetKeys(Dataset &d)
{
    QList<int> keys;
    for (int r = 0; r < d.rowCount(); ++r)
        keys << d.valueAt(r, QStringLiteral("SUP_ID")).toInt();
    std::sort(keys.begin(), keys.end());
    return keys;
}

QList<int> tableKeys(Database &db)
{
    QList<int> keys;
    SqlRows q = db.query(QStringLiteral("SELECT SUP_ID FROM SUPPORT ORDER BY SUP_ID"));
    while (q.next())
        keys << q.value(0).toInt();
    return keys;
}

} // namespace

class TstDatasetPages : public QObject
{
    Q_OBJECT
private slots:
    // What the operator does while the grid holds the first page of 500 rows.
    void halfReadResultStaysEqualToTheTable_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("operation");
        for (const QString &e : engines())
            for (const char *sql : {"SELECT * FROM SUPPORT", "SELECT * FROM SUPPORT ORDER BY SUP_LIBELLE DESC",
                                    "SELECT * FROM SUPPORT ORDER BY SUP_LIBELLE_AR, SUP_ID"})
                for (const char *op : {"insert", "re-key forward", "re-key backward", "delete", "move by sort"})
                    QTest::newRow(qPrintable(e + u' ' + QLatin1String(op) + u' ' + QLatin1String(sql)))
                        << e << QString::fromLatin1(sql) << QString::fromLatin1(op);
    }
    void halfReadResultStaysEqualToTheTable()
    {
        QFETCH(QString, engine);
        QFETCH(QString, sql);
        QFETCH(QString, operation);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 500);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        d.setAutoKey(QStringLiteral("SUP_ID"));
        QVERIFY2(d.open(sql), qPrintable(d.lastError()));
        QVERIFY(!d.allFetched());
        QVERIFY(d.moveTo(3));
        if (operation == QLatin1String("insert")) {
            QVERIFY(d.append());
            QVERIFY(d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("Support 0250 bis")));
            QVERIFY2(d.post(), qPrintable(d.lastError()));
        } else if (operation.startsWith(QLatin1String("re-key"))) {
            QVERIFY(d.edit());
            // 999 lies beyond the rows read, 1 before them.
            QVERIFY(d.setValue(QStringLiteral("SUP_ID"), operation.endsWith(QLatin1String("forward")) ? 999 : 1));
            QVERIFY2(d.post(), qPrintable(d.lastError()));
        } else if (operation == QLatin1String("delete")) {
            QVERIFY(d.remove());
        } else {
            QVERIFY(d.edit());
            QVERIFY(d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("Support 0300 moved")));
            QVERIFY(d.setValue(QStringLiteral("SUP_LIBELLE_AR"), QStringLiteral("ي")));
            QVERIFY2(d.post(), qPrintable(d.lastError()));
        }
        QVERIFY(d.fetchAll());
        QCOMPARE(datasetKeys(d), tableKeys(tdb.db()));
    }

    // A failed page is an error, however the reading fails.
    void failedReadIsAnError_data() { addEngineRows(); }
    void failedReadIsAnError()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 1000);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        int reported = 0;
        d.readError.add([&](Dataset &) { ++reported; });
        QSignalSpy failed(&d, &Dataset::fetchFailed);
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT")));
        const int read = d.rowCount();
        QVERIFY(tdb.db().exec(QStringLiteral("DROP TABLE SUPPORT")));
        QVERIFY(!d.fetchMore());
        QVERIFY(d.fetchFailedState());
        QVERIFY(!d.lastError().isEmpty());
        QCOMPARE(failed.count(), 1);
        QCOMPARE(reported, 1);
        QCOMPARE(d.rowCount(), read);
        QVERIFY(!d.fetchAll());
        QCOMPARE(d.recordCount(), -1);
    }

    // The server connection lost between two pages is made again: the
    // next page comes whole from the new one.
    void lostConnectionBetweenPages()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        fillSupports(tdb.db(), 1000);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT")));
        const int pid = tdb.db().scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt();
        Database other;
        QVERIFY(other.open(tdb.params()));
        QVERIFY(other.exec(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid}));
        QTRY_VERIFY(other.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = ?"), {pid}).toInt() == 0);
        QVERIFY(d.fetchAll());
        QVERIFY(!d.fetchFailedState());
        QCOMPARE(d.rowCount(), 1000);
    }

    // Twenty lists open and half read hold the workstation's one connection,
    // with no transaction left open between pages.
    void openListsHoldOneConnection()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        fillSupports(tdb.db(), 2000);
        std::vector<std::unique_ptr<Dataset>> lists;
        for (int i = 0; i < 20; ++i) {
            lists.push_back(std::make_unique<Dataset>(tdb.db(), QStringLiteral("L%1").arg(i), QStringLiteral("SUPPORT")));
            QVERIFY(lists.back()->open(QStringLiteral("SELECT * FROM SUPPORT WHERE SUP_ID > ?"), {i}));
            QVERIFY(!lists.back()->allFetched());
        }
        Database observer;
        QVERIFY(observer.open(tdb.params()));
        const QString sql = QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                           "AND pid <> pg_backend_pid()");
        QCOMPARE(observer.scalar(sql).toInt(), 1);
        QCOMPARE(observer.scalar(sql + QStringLiteral(" AND state LIKE 'idle in transaction%'")).toInt(), 0);
        for (auto &l : lists)
            QVERIFY(l->fetchMore(500));
        QCOMPARE(observer.scalar(sql).toInt(), 1);
    }

    // Counting and locating ask the database, so a large result stays unread.
    void countAndLocateReadLittle_data() { addEngineRows(); }
    void countAndLocateReadLittle()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 3000);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT WHERE SUP_ID > ? ORDER BY SUP_LIBELLE"), {10}));
        QCOMPARE(d.recordCount(), 2995);
        QVERIFY(d.rowCount() <= 100);
        QVERIFY(!d.locate(QStringLiteral("SUP_ID"), 3));  // an odd key: no such row
        QVERIFY(d.rowCount() <= 100);
        QVERIFY(!d.locate(QStringLiteral("SUP_LIBELLE"), QStringLiteral("absent")));
        QVERIFY(d.rowCount() <= 100);
        QVERIFY(d.locate(QStringLiteral("SUP_ID"), 1620));
        QCOMPARE(d.value(QStringLiteral("SUP_LIBELLE")).toString(), QStringLiteral("Support 0810"));
        QCOMPARE(d.currentRow(), 804);
        QVERIFY(!d.allFetched());
    }

    // Results that cannot be continued page by page are read whole, in their own order.
    void unpageableResultsReadWhole_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("firstKey");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" expression"))) << e
                << QStringLiteral("SELECT * FROM SUPPORT ORDER BY 0 - SUP_ID") << 300 << 600;
            QTest::newRow(qPrintable(e + QStringLiteral(" limit"))) << e
                << QStringLiteral("SELECT * FROM SUPPORT ORDER BY SUP_ID DESC LIMIT 150") << 150 << 600;
            QTest::newRow(qPrintable(e + QStringLiteral(" join without key"))) << e
                << QStringLiteral("SELECT S.SUP_LIBELLE, T.SUP_ID FROM SUPPORT S JOIN SUPPORT T ON T.SUP_ID = S.SUP_ID "
                                  "ORDER BY T.SUP_ID")
                << 300 << 2;
        }
    }
    void unpageableResultsReadWhole()
    {
        QFETCH(QString, engine);
        QFETCH(QString, sql);
        QFETCH(int, rows);
        QFETCH(int, firstKey);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 300);
        Dataset d(tdb.db(), QStringLiteral("QJoin"), QString());
        QVERIFY2(d.open(sql), qPrintable(d.lastError()));
        QVERIFY(d.allFetched());
        QCOMPARE(d.rowCount(), rows);
        QCOMPARE(d.value(QStringLiteral("SUP_ID")).toInt(), firstKey);
    }

    // A join that repeats the table's key loses no row.
    void joinRepeatingTheKeyLosesNoRow_data() { addEngineRows(); }
    void joinRepeatingTheKeyLosesNoRow()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVector<QVariantList> records, copies;
        for (int i = 1; i <= 150; ++i) {
            records << QVariantList{i, QStringLiteral("Titre %1").arg(i)};
            copies << QVariantList{QStringLiteral("A%1").arg(i), i} << QVariantList{QStringLiteral("B%1").arg(i), i};
        }
        QString why;
        QVERIFY2(insertRows(tdb.db(), QStringLiteral("NOTICE"), {QStringLiteral("DOC_ID"), QStringLiteral("DOC_TITRE_PROPRE")}, records, &why), qPrintable(why));
        QVERIFY2(insertRows(tdb.db(), QStringLiteral("NOTICE_EXEMPLAIRE"),
                            {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID")}, copies, &why),
                 qPrintable(why));
        Dataset d(tdb.db(), QStringLiteral("QNotice"), QStringLiteral("NOTICE"));
        for (const char *sql : {"SELECT N.*, E.EXP_ID FROM NOTICE N JOIN NOTICE_EXEMPLAIRE E ON E.DOC_ID = N.DOC_ID",
                                "SELECT N.*, E.EXP_ID FROM NOTICE N, NOTICE_EXEMPLAIRE E WHERE E.DOC_ID = N.DOC_ID ORDER BY N.DOC_ID"}) {
            QVERIFY2(d.open(QString::fromLatin1(sql)), qPrintable(d.lastError()));
            QVERIFY(d.fetchAll());
            QCOMPARE(d.rowCount(), 300);
        }
        // SELECT DISTINCT on the table's rows pages by its key.
        QVERIFY(d.open(QStringLiteral("SELECT DISTINCT N.* FROM NOTICE N JOIN NOTICE_EXEMPLAIRE E ON E.DOC_ID = N.DOC_ID")));
        QVERIFY(!d.allFetched());
        QVERIFY(d.fetchAll());
        QCOMPARE(d.rowCount(), 150);
    }

    // A read-only join with a key of its own is read in pages.
    void readOnlyJoinWithUniqueKeyPages_data() { addEngineRows(); }
    void readOnlyJoinWithUniqueKeyPages()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 500);
        Dataset d(tdb.db(), QStringLiteral("QJoin"), QString());
        d.setUniqueKey({QStringLiteral("SUP_ID")});
        QVERIFY(d.open(QStringLiteral("SELECT T.SUP_ID, S.SUP_LIBELLE FROM SUPPORT S JOIN SUPPORT T ON T.SUP_ID = S.SUP_ID "
                                      "WHERE S.SUP_LIBELLE <> ? ORDER BY S.SUP_LIBELLE DESC"),
                       {QStringLiteral("L'autre")}));
        QVERIFY(!d.allFetched());
        QCOMPARE(d.value(QStringLiteral("SUP_ID")).toInt(), 1000);
        QVERIFY(d.fetchAll());
        QCOMPARE(d.rowCount(), 500);
        QCOMPARE(d.valueAt(499, QStringLiteral("SUP_ID")).toInt(), 2);
    }

    // When the enclosing transaction rolls back, what the dataset posted in it goes.
    void rollbackShowsTheDatabaseAgain_data() { addEngineRows(); }
    void rollbackShowsTheDatabaseAgain()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 3);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        d.setAutoKey(QStringLiteral("SUP_ID"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT ORDER BY SUP_ID")));
        {
            Transaction outer(tdb.db());
            QVERIFY(d.edit());
            QVERIFY(d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("changé")));
            QVERIFY(d.post());
            {
                Transaction inner(tdb.db());
                QVERIFY(d.append());
                QVERIFY(d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("nouveau")));
                QVERIFY(d.post());
                QVERIFY(inner.commit());  // released into the outer transaction
            }
            QCOMPARE(d.rowCount(), 4);
        }  // rolled back
        QCOMPARE(d.rowCount(), 3);
        QVERIFY(d.first());
        QCOMPARE(d.value(QStringLiteral("SUP_LIBELLE")).toString(), QStringLiteral("Support 0001"));
        // A rolled-back savepoint undoes only what was posted in it.
        {
            Transaction outer(tdb.db());
            QVERIFY(d.last());
            QVERIFY(d.remove());
            {
                Transaction inner(tdb.db());
                QVERIFY(d.append());
                QVERIFY(d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("perdu")));
                QVERIFY(d.post());
            }
            QCOMPARE(d.rowCount(), 2);
            QVERIFY(outer.commit());
        }
        QCOMPARE(tableKeys(tdb.db()), (QList<int>{2, 4}));
        QCOMPARE(datasetKeys(d), (QList<int>{2, 4}));
    }

    // A delete that finds no row is a failure, as an update is.
    void deletingAVanishedRowFails_data() { addEngineRows(); }
    void deletingAVanishedRowFails()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 2);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        int reported = 0;
        d.deleteError.add([&](Dataset &, const QSqlError &) { ++reported; });
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT ORDER BY SUP_ID")));
        Database other;
        QVERIFY(other.open(tdb.params()));
        QVERIFY(other.exec(QStringLiteral("DELETE FROM SUPPORT WHERE SUP_ID = 2")));
        QVERIFY(!d.remove());
        QCOMPARE(reported, 1);
        QCOMPARE(d.rowCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TstDatasetPages)
#include "tst_datasetpages.moc"
