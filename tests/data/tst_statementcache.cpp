// The statements a connection keeps prepared, on both engines: run again
// they are only executed, with their new values; a result still being read
// is never re-run under its reader; past the capacity the least recently
// used go; a failed transaction, a server that forgot its statements, a
// table that changed shape and a dropped connection leave no wrong result
// and no statement the server holds in vain.

#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "support/testdb.h"

#include <QRegularExpression>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

const QString kByKey = QStringLiteral("SELECT SUP_LIBELLE FROM SUPPORT WHERE SUP_ID = ?");
const QString kFrom = QStringLiteral("SELECT SUP_ID FROM SUPPORT WHERE SUP_ID >= ? ORDER BY SUP_ID");
const QString kInsert = QStringLiteral("INSERT INTO SUPPORT (SUP_ID, SUP_LIBELLE) VALUES (?, ?)");

void fillSupports(Database &db, int n)
{
    Transaction tx(db);
    for (int i = 1; i <= n; ++i)
        QVERIFY2(db.exec(kInsert, {i, QStringLiteral("Support %1").arg(i)}), qPrintable(db.lastError().text()));
    QVERIFY(tx.commit());
}

// The statements the server holds prepared for this connection; -1 on the
// embedded engine, which holds nothing outside the process.
int serverStatements(Database &db)
{
    if (!db.dialect().isPostgres())
        return -1;
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements")).toInt();
}

// The server refuses to release a statement in a failed transaction, and
// the driver warns: no test but those that drop the server's statements
// themselves may see that.
void failOnRefusedRelease()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
}

QStringList labels(Database &db, const QList<int> &keys)
{
    QStringList out;
    for (int k : keys)
        out << db.scalar(kByKey, {k}).toString();
    return out;
}

} // namespace

class TstStatementCache : public QObject
{
    Q_OBJECT
private slots:
    // Run again with other values, a statement is executed, not prepared anew.
    void runAgainWithNewValues_data() { addEngineRows(); }
    void runAgainWithNewValues()
    {
        failOnRefusedRelease();
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        fillSupports(db, 5);
        const int before = db.statements().size();
        QCOMPARE(labels(db, {3, 1, 5, 4}),
                 QStringList({QStringLiteral("Support 3"), QStringLiteral("Support 1"), QStringLiteral("Support 5"),
                              QStringLiteral("Support 4")}));
        QCOMPARE(db.statements().size(), before + 1);
        if (db.dialect().isPostgres())
            QCOMPARE(serverStatements(db), db.statements().size());
        // A value that finds nothing, then NULL: nothing is left of the last row.
        QVERIFY(!db.scalar(kByKey, {99}).isValid());
        QVERIFY(!db.scalar(kByKey, {QVariant()}).isValid());
        QCOMPARE(labels(db, {2}), QStringList{QStringLiteral("Support 2")});
    }

    // Past the capacity the statement used least recently is released, on
    // the server too.
    void leastRecentlyUsedReleased_data() { addEngineRows(); }
    void leastRecentlyUsedReleased()
    {
        failOnRefusedRelease();
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        fillSupports(db, 5);
        db.statements().clear();
        db.statements().setCapacity(3);
        const auto sql = [](char c) { return QStringLiteral("SELECT SUP_ID FROM SUPPORT WHERE SUP_ID = ? AND '%1' = '%1'").arg(c); };
        for (char c : {'a', 'b', 'c', 'a', 'd'})
            QCOMPARE(db.scalar(sql(c), {2}).toInt(), 2);
        QCOMPARE(db.statements().size(), 3);
        QVERIFY(db.statements().holds(sql('a')));
        QVERIFY(!db.statements().holds(sql('b')));
        QVERIFY(db.statements().holds(sql('c')));
        QVERIFY(db.statements().holds(sql('d')));
        if (db.dialect().isPostgres())
            QCOMPARE(serverStatements(db), 3);
        db.statements().setCapacity(1);
        QCOMPARE(db.statements().size(), 1);
        QVERIFY(db.statements().holds(sql('d')));
        if (db.dialect().isPostgres())
            QCOMPARE(serverStatements(db), 1);
    }

    // A second reader of the same text gets a statement of its own. The
    // embedded engine keeps both results; the server streams one result at a
    // time on a connection, and the first reader is told its rows were lost
    // rather than given the second one's.
    void secondReaderOfTheSameText_data() { addEngineRows(); }
    void secondReaderOfTheSameText()
    {
        failOnRefusedRelease();
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        fillSupports(db, 10);
        SqlRows first = db.query(kFrom, {3});
        QVERIFY(first.next());
        QCOMPARE(first.value(0).toInt(), 3);
        {
            SqlRows second = db.query(kFrom, {8});
            QList<int> read;
            while (second.next())
                read << second.value(0).toInt();
            QCOMPARE(read, QList<int>({8, 9, 10}));
        }
        QCOMPARE(db.statements().holds(kFrom), true);
        if (db.dialect().isPostgres()) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Query results lost")));
            QVERIFY(!first.next());
            QVERIFY(first.lastError().isValid());
        } else {
            QList<int> rest;
            while (first.next())
                rest << first.value(0).toInt();
            QCOMPARE(rest, QList<int>({4, 5, 6, 7, 8, 9, 10}));
        }
        first.finish();
        // Both statements stay, idle, for the next readers.
        QCOMPARE(db.scalar(kFrom, {10}).toInt(), 10);
    }

    // Two datasets on the same text read their pages in turn: each gets its
    // own rows, whole and in order.
    void twoDatasetsOnTheSameText_data() { addEngineRows(); }
    void twoDatasetsOnTheSameText()
    {
        failOnRefusedRelease();
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        fillSupports(db, 700);
        const QString sql = QStringLiteral("SELECT * FROM SUPPORT WHERE SUP_ID > ? ORDER BY SUP_ID");
        Dataset a(db, QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        Dataset b(db, QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY2(a.open(sql, {0}), qPrintable(a.lastError()));
        QVERIFY2(b.open(sql, {350}), qPrintable(b.lastError()));
        QVERIFY(!a.allFetched() && !b.allFetched());
        while (!a.allFetched() || !b.allFetched()) {
            a.fetchMore(64);
            b.fetchMore(64);
        }
        QCOMPARE(a.rowCount(), 700);
        QCOMPARE(b.rowCount(), 350);
        for (int i = 0; i < a.rowCount(); ++i)
            QCOMPARE(a.valueAt(i, QStringLiteral("SUP_ID")).toInt(), i + 1);
        for (int i = 0; i < b.rowCount(); ++i)
            QCOMPARE(b.valueAt(i, QStringLiteral("SUP_ID")).toInt(), i + 351);
    }

    // After a statement fails in a transaction, the server refuses every
    // statement, releases included, until the rollback: nothing is released
    // before it (no warning), nothing stays on the server after it, and the
    // statements kept work again at once.
    void failedTransaction_data() { addEngineRows(); }
    void failedTransaction()
    {
        failOnRefusedRelease();
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        fillSupports(db, 3);
        QCOMPARE(db.scalar(kByKey, {1}).toString(), QStringLiteral("Support 1"));
        {
            Transaction tx(db);
            QVERIFY(db.exec(kInsert, {10, QStringLiteral("dix")}));
            QVERIFY(!db.exec(kInsert, {1, QStringLiteral("clash")}));  // duplicate key
            if (db.dialect().isPostgres()) {
                // The transaction is void: every statement fails, none reads stale rows.
                QVERIFY(!db.query(kByKey, {2}).isActive());
                QVERIFY(!db.exec(QStringLiteral("UPDATE SUPPORT SET SUP_LIBELLE = ? WHERE SUP_ID = ?"), {QStringLiteral("x"), 2}));
            }
            // The tables change shape in the failed transaction: the
            // statements are dropped, their release waits for its end.
            db.schemaChanged();
            QCOMPARE(db.statements().size(), 0);
            if (db.dialect().isPostgres())
                QVERIFY(!db.query(QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements")).isActive());
        }  // rolled back
        QCOMPARE(serverStatements(db), db.dialect().isPostgres() ? 0 : -1);
        QVERIFY(!db.scalar(kByKey, {10}).isValid());
        QCOMPARE(labels(db, {1, 2}), QStringList({QStringLiteral("Support 1"), QStringLiteral("Support 2")}));
        QVERIFY(db.exec(kInsert, {10, QStringLiteral("dix")}));
        QCOMPARE(db.scalar(kByKey, {10}).toString(), QStringLiteral("dix"));
        QCOMPARE(serverStatements(db), db.dialect().isPostgres() ? db.statements().size() : -1);
    }

    // A statement the server dropped (its session was reset) is prepared again
    // outside a transaction; inside one the failure ends the transaction.
    void serverForgotTheStatements()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        Database &db = tdb.db();
        fillSupports(db, 3);
        db.statements().clear();
        // The driver warns when it releases the statements the server forgot: twice here.
        for (int i = 0; i < 2; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Unable to free statement")));
        QCOMPARE(db.scalar(kByKey, {1}).toString(), QStringLiteral("Support 1"));
        QVERIFY(db.exec(QStringLiteral("DEALLOCATE ALL")));
        QCOMPARE(db.scalar(kByKey, {2}).toString(), QStringLiteral("Support 2"));
        {
            Transaction tx(db);
            QVERIFY(db.exec(QStringLiteral("DEALLOCATE ALL")));
            QVERIFY(!db.query(kByKey, {3}).isActive());
        }
        QCOMPARE(db.scalar(kByKey, {3}).toString(), QStringLiteral("Support 3"));
        QCOMPARE(db.statements().size(), 1);
        QCOMPARE(serverStatements(db), 1);
    }

    // A statement reading every column of a table that gained a column reads
    // the new column, whoever altered the table: this connection, or another
    // one (the embedded engine's driver would read past its row otherwise).
    void tableChangedShape_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("elsewhere");
        for (const QString &e : engines()) {
            QTest::newRow(qPrintable(e + QStringLiteral(" here"))) << e << false;
            QTest::newRow(qPrintable(e + QStringLiteral(" elsewhere"))) << e << true;
        }
    }
    void tableChangedShape()
    {
        failOnRefusedRelease();
        QFETCH(QString, engine);
        QFETCH(bool, elsewhere);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        fillSupports(db, 2);
        const QString all = QStringLiteral("SELECT * FROM SUPPORT WHERE SUP_ID = ?");
        const int columns = db.query(all, {1}).record().count();
        Database other;
        QString why;
        QVERIFY2(other.open(tdb.params(), false, &why), qPrintable(why));
        Database &altering = elsewhere ? other : db;
        QVERIFY(altering.exec(QStringLiteral("ALTER TABLE SUPPORT ADD COLUMN SUP_EXTRA INTEGER")));
        QVERIFY(altering.exec(QStringLiteral("UPDATE SUPPORT SET SUP_EXTRA = SUP_ID * 10")));
        for (int key : {2, 1}) {
            SqlRows q = db.query(all, {key});
            QVERIFY2(q.next(), qPrintable(db.lastError().text()));
            QCOMPARE(q.record().count(), columns + 1);
            QCOMPARE(q.value(QStringLiteral("SUP_EXTRA")).toInt(), key * 10);
        }
        // The same in transactions that begin after the change. A server
        // tells only when the statement runs, which voids the transaction
        // it runs in; the next one reads the new shape.
        QVERIFY(altering.exec(QStringLiteral("ALTER TABLE SUPPORT ADD COLUMN SUP_MORE INTEGER")));
        for (int attempt = 0; attempt < 2; ++attempt) {
            Transaction tx(db);
            SqlRows q = db.query(all, {2});
            if (attempt == 0 && !q.isActive() && db.dialect().isPostgres() && elsewhere)
                continue;
            QVERIFY2(q.next(), qPrintable(db.lastError().text()));
            QCOMPARE(q.record().count(), columns + 2);
        }
    }

    // A connection that drops is made again once, at the next statement,
    // whose statements are then prepared on the new connection; closed and
    // opened again, the database works the same way.
    void droppedConnection()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        Database &db = tdb.db();
        fillSupports(db, 3);
        QCOMPARE(db.scalar(kByKey, {1}).toString(), QStringLiteral("Support 1"));
        const QVariant pid = db.scalar(QStringLiteral("SELECT pg_backend_pid()"));
        {
            Database other;
            QString why;
            QVERIFY2(other.open(tdb.params(), false, &why), qPrintable(why));
            QVERIFY(other.exec(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid}));
        }
        SqlRows q = db.query(kByKey, {1});
        QVERIFY(q.isActive());
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("Support 1"));
        q.finish();
        QVERIFY(!db.connectionLost());
        QCOMPARE(serverStatements(db), db.statements().size());
        QString why;
        QVERIFY2(db.open(tdb.params(), false, &why), qPrintable(why));
        QCOMPARE(db.statements().size(), 0);
        QCOMPARE(labels(db, {2, 3}), QStringList({QStringLiteral("Support 2"), QStringLiteral("Support 3")}));
        QCOMPARE(serverStatements(db), db.statements().size());
    }
};

QTEST_GUILESS_MAIN(TstStatementCache)
#include "tst_statementcache.moc"
