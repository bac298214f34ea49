// The dataset on both engines: lazy reading, the three states, hooks in
// order, key-located writes of the changed columns only, and the grid adapter.

#include "data/core/dataset.h"
#include "data/core/datasetmodel.h"
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
        rows << QVariantList{i, QStringLiteral("Support %1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("دعامة %1").arg(i)};
    QString why;
    QVERIFY2(insertRows(db, QStringLiteral("SUPPORT"),
                        {QStringLiteral("SUP_ID"), QStringLiteral("SUP_LIBELLE"), QStringLiteral("SUP_LIBELLE_AR")}, rows, &why),
             qPrintable(why));
}
} // namespace

class TstDataset : public QObject
{
    Q_OBJECT
    QObject hookOwner;  // the handlers a test adds beside the rules
private slots:
    void readsLazily_data() { addEngineRows(); }
    void readsLazily()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 1000);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY2(d.open(QStringLiteral("SELECT * FROM SUPPORT ORDER BY SUP_ID")), qPrintable(d.lastError()));
        QVERIFY(d.rowCount() < 1000);
        QVERIFY(!d.allFetched());
        QCOMPARE(d.value(QStringLiteral("SUP_ID")).toInt(), 1);
        // Other statements on the same database do not disturb the open result.
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE SUPPORT SET SUP_LIBELLE = 'x' WHERE SUP_ID = 1000")));
        QVERIFY(d.moveTo(700));
        QCOMPARE(d.value(QStringLiteral("SUP_ID")).toInt(), 701);
        QCOMPARE(d.recordCount(), 1000);
        QVERIFY(!d.allFetched());  // counted by the database, not by reading
        QVERIFY(d.last());
        QCOMPARE(d.value(QStringLiteral("SUP_ID")).toInt(), 1000);
        QVERIFY(!d.next());
        QVERIFY(d.eof());
        QVERIFY(d.locate(QStringLiteral("SUP_ID"), 42));
        QCOMPARE(d.value(QStringLiteral("sup_libelle")).toString(), QStringLiteral("Support 0042"));
    }

    // Values typed by users reach the server intact whichever way the rows are read.
    void boundValuesWithQuotes_data() { addEngineRows(); }
    void boundValuesWithQuotes()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        const QString odd = QStringLiteral("L'Harmattan ? 100% \\ d'Alembert");
        QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO SUPPORT (SUP_ID, SUP_LIBELLE) VALUES (1, ?), (2, 'x?')"), {odd}));
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY2(d.open(QStringLiteral("SELECT * FROM SUPPORT WHERE SUP_LIBELLE = ? OR (SUP_LIBELLE = 'x?' AND SUP_ID = ?)"), {odd, 2}),
                 qPrintable(d.lastError()));
        QCOMPARE(d.recordCount(), 2);
        QVERIFY(d.locate(QStringLiteral("SUP_ID"), 1));
        QCOMPARE(d.value(QStringLiteral("SUP_LIBELLE")).toString(), odd);
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT WHERE SUP_LIBELLE LIKE ?"), {QStringLiteral("L'Harm%")}));
        QCOMPARE(d.recordCount(), 1);
    }

    // Criteria match every letter without regard to case, and the operator's
    // "*" is the only wildcard: "%", "_" and quotes stand for themselves.
    void caseInsensitiveCriteria_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        const QStringList names{QStringLiteral("Émile Zola"), QStringLiteral("ÉCOLE"), QStringLiteral("école normale"),
                                QStringLiteral("L'Harmattan"), QStringLiteral("100% bio"), QStringLiteral("1000 bio"),
                                QStringLiteral("a_b"), QStringLiteral("axb"), QStringLiteral("الجزائر العاصمة"),
                                QStringLiteral("C:\\docs")};
        for (const QString &e : engines()) {
            auto row = [&](const char *name, const QString &typed, const QStringList &found) {
                QTest::newRow(qPrintable(e + u' ' + QLatin1String(name))) << e << typed << found;
            };
            row("accent and case", QStringLiteral("é*"), {names[0], names[1], names[2]});
            row("upper typed", QStringLiteral("ÉCOLE*"), {names[1], names[2]});
            row("apostrophe", QStringLiteral("l'harm*"), {names[3]});
            row("percent is literal", QStringLiteral("100%*"), {names[4]});
            row("underscore is literal", QStringLiteral("a_b"), {names[6]});
            row("arabic inside", QStringLiteral("*جزائر*"), {names[8]});
            row("backslash", QStringLiteral("c:\\docs"), {names[9]});
            row("no match", QStringLiteral("zz*"), {});
        }
    }
    void caseInsensitiveCriteria()
    {
        QFETCH(QString, engine);
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        FOLIAN_TEST_DB(tdb, engine);
        const QStringList names{QStringLiteral("Émile Zola"), QStringLiteral("ÉCOLE"), QStringLiteral("école normale"),
                                QStringLiteral("L'Harmattan"), QStringLiteral("100% bio"), QStringLiteral("1000 bio"),
                                QStringLiteral("a_b"), QStringLiteral("axb"), QStringLiteral("الجزائر العاصمة"),
                                QStringLiteral("C:\\docs")};
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, VED_NOM) VALUES (?, ?)"), {i + 1, names[i]}));
        Dataset d(tdb.db(), QStringLiteral("QVedette"), QStringLiteral("VEDETTE"));
        d.setSortField(QStringLiteral("VED_ID"));
        QVERIFY2(d.open(QStringLiteral("SELECT * FROM VEDETTE WHERE ") + tdb.db().dialect().likeNoCase(QStringLiteral("VED_NOM")),
                        {LikePattern(typed)}),
                 qPrintable(d.lastError()));
        QStringList got;
        d.fetchAll();
        for (int r = 0; r < d.rowCount(); ++r)
            got << d.valueAt(r, d.fieldIndex(QStringLiteral("VED_NOM"))).toString();
        QCOMPARE(got, found);
    }

    void sortsOnAColumn_data() { addEngineRows(); }
    void sortsOnAColumn()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 5);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        d.setSortField(QStringLiteral("SUP_ID"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT WHERE SUP_ID > ?"), {2}));
        QCOMPARE(d.recordCount(), 3);
        QCOMPARE(d.valueAt(0, d.fieldIndex(QStringLiteral("SUP_ID"))).toInt(), 3);
        QCOMPARE(d.valueAt(2, d.fieldIndex(QStringLiteral("SUP_ID"))).toInt(), 5);
    }

    void statesAndHooks_data() { addEngineRows(); }
    void statesAndHooks()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        d.setAutoKey(QStringLiteral("SUP_ID"));
        QStringList log;
        d.afterOpen.add([&](Dataset &) { log << QStringLiteral("open"); }, &hookOwner);
        d.afterInsert.add([&](Dataset &ds) {
            log << QStringLiteral("insert");
            ds.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("défaut"));
        }, &hookOwner);
        d.afterEdit.add([&](Dataset &) { log << QStringLiteral("edit"); }, &hookOwner);
        d.beforePost.add([&](Dataset &) {
            log << QStringLiteral("beforePost");
            return true;
        }, &hookOwner);
        d.keyAllocated.add([&](Dataset &) { log << QStringLiteral("key"); }, &hookOwner);
        d.afterPost.add([&](Dataset &, bool inserted) { log << (inserted ? QStringLiteral("posted new") : QStringLiteral("posted")); }, &hookOwner);
        d.beforeDelete.add([&](Dataset &) {
            log << QStringLiteral("beforeDelete");
            return true;
        }, &hookOwner);

        QCOMPARE(d.state(), Dataset::State::Inactive);
        QVERIFY(!d.append());
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT")));
        QVERIFY(d.isEmpty());
        QVERIFY(d.append());
        QCOMPARE(d.state(), Dataset::State::Insert);
        QCOMPARE(d.value(QStringLiteral("SUP_LIBELLE")).toString(), QStringLiteral("défaut"));
        QVERIFY(d.post());
        QCOMPARE(d.state(), Dataset::State::Browse);
        QCOMPARE(d.value(QStringLiteral("SUP_ID")).toInt(), 1);
        QVERIFY(d.edit());
        QVERIFY(d.setValue(QStringLiteral("SUP_LIBELLE_AR"), QStringLiteral("ورق")));
        QVERIFY(d.post());
        QVERIFY(d.remove());
        QCOMPARE(log, (QStringList{QStringLiteral("open"), QStringLiteral("insert"), QStringLiteral("beforePost"),
                                   QStringLiteral("key"), QStringLiteral("posted new"), QStringLiteral("edit"),
                                   QStringLiteral("beforePost"), QStringLiteral("posted"), QStringLiteral("beforeDelete")}));
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM SUPPORT")).toInt(), 0);
        QVERIFY(!d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("hors édition")));
    }

    void cancelRestores_data() { addEngineRows(); }
    void cancelRestores()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 2);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT ORDER BY SUP_ID")));
        QVERIFY(d.edit());
        d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("changé"));
        d.cancel();
        QCOMPARE(d.value(QStringLiteral("SUP_LIBELLE")).toString(), QStringLiteral("Support 0001"));
        QVERIFY(d.append());
        QCOMPARE(d.rowCount(), 3);
        d.cancel();
        QCOMPARE(d.rowCount(), 2);
        QCOMPARE(d.state(), Dataset::State::Browse);
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM SUPPORT")).toInt(), 2);
    }

    // Another workstation's change to a column this one did not touch survives our post.
    void writesOnlyChangedColumns_data() { addEngineRows(); }
    void writesOnlyChangedColumns()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 3);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT ORDER BY SUP_ID")));
        QVERIFY(d.moveTo(1));
        QVERIFY(d.edit());
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE SUPPORT SET SUP_LIBELLE_AR = 'آخر' WHERE SUP_ID = 2")));
        d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("Disque"));
        QVERIFY(d.post());
        SqlRows q = tdb.db().query(QStringLiteral("SELECT SUP_LIBELLE, SUP_LIBELLE_AR FROM SUPPORT WHERE SUP_ID = 2"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("Disque"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("آخر"));
        // The neighbours are untouched: the row was located by its key.
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM SUPPORT WHERE SUP_LIBELLE = 'Disque'")).toInt(), 1);
        // A row deleted elsewhere cannot be posted: the failure is reported, the edit kept.
        QVERIFY(d.moveTo(2));
        QVERIFY(d.edit());
        QVERIFY(tdb.db().exec(QStringLiteral("DELETE FROM SUPPORT WHERE SUP_ID = 3")));
        d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("perdu"));
        bool reported = false;
        d.postError.add([&](Dataset &, const QSqlError &) { reported = true; }, &hookOwner);
        QVERIFY(!d.post());
        QVERIFY(reported);
        QCOMPARE(d.state(), Dataset::State::Edit);
    }

    // Moving away from a row being edited posts it; a refused post keeps the
    // row where it is; refreshRow reads what another workstation wrote.
    void movingPostsAndRefreshReads_data() { addEngineRows(); }
    void movingPostsAndRefreshReads()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 3);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT ORDER BY SUP_ID")));
        QVERIFY(d.edit());
        d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("posté en partant"));
        QVERIFY(d.next());
        QCOMPARE(d.state(), Dataset::State::Browse);
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT SUP_LIBELLE FROM SUPPORT WHERE SUP_ID = 1")).toString(),
                 QStringLiteral("posté en partant"));
        QVERIFY(d.edit());
        d.beforePost.add([](Dataset &) { return false; }, &hookOwner);
        QVERIFY(!d.moveTo(0));
        QCOMPARE(d.currentRow(), 1);
        QCOMPARE(d.state(), Dataset::State::Edit);
        d.cancel();
        d.beforePost.remove(&hookOwner);
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE SUPPORT SET SUP_LIBELLE_AR = 'جديد' WHERE SUP_ID = 2")));
        QVERIFY(d.refreshRow());
        QCOMPARE(d.value(QStringLiteral("SUP_LIBELLE_AR")).toString(), QStringLiteral("جديد"));
        // A result without the key of its table cannot be written back.
        QVERIFY(d.open(QStringLiteral("SELECT SUP_LIBELLE FROM SUPPORT")));
        QVERIFY(d.edit());
        d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("x"));
        QVERIFY(!d.post());
        QVERIFY(d.lastError().contains(QStringLiteral("SUP_ID")));
        d.cancel();
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM SUPPORT WHERE SUP_LIBELLE = 'x'")).toInt(), 0);
    }

    // A result read in pages computes columns of its own: refreshRow reads
    // them again with the row; a row the result no longer finds is read from
    // its table, its computed column left as it was.
    void refreshReadsComputedColumns_data() { addEngineRows(); }
    void refreshReadsComputedColumns()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 3);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY(d.open(QStringLiteral("SELECT S.*, (SELECT COUNT(*) FROM SUPPORT T WHERE T.SUP_LIBELLE_AR = "
                                      "S.SUP_LIBELLE_AR) AS SAME_AR FROM SUPPORT S WHERE S.SUP_LIBELLE LIKE ? "
                                      "ORDER BY S.SUP_ID"),
                       {QStringLiteral("Support%")}));
        QVERIFY(d.moveTo(1));
        QCOMPARE(d.value(QStringLiteral("SAME_AR")).toInt(), 1);
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE SUPPORT SET SUP_LIBELLE_AR = 'دعامة 1'")));
        QVERIFY(d.refreshRow());
        QCOMPARE(d.value(QStringLiteral("SAME_AR")).toInt(), 3);
        QCOMPARE(d.value(QStringLiteral("SUP_LIBELLE_AR")).toString(), QStringLiteral("دعامة 1"));
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE SUPPORT SET SUP_LIBELLE = 'Autre', SUP_LIBELLE_AR = 'x' "
                                             "WHERE SUP_ID = 2")));
        QVERIFY(d.refreshRow());
        QCOMPARE(d.value(QStringLiteral("SUP_LIBELLE")).toString(), QStringLiteral("Autre"));
        QCOMPARE(d.value(QStringLiteral("SAME_AR")).toInt(), 3);
        QCOMPARE(d.currentRow(), 1);
    }

    void typesRoundTrip_data() { addEngineRows(); }
    void typesRoundTrip()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Dataset d(tdb.db(), QStringLiteral("QExemplaire"), QStringLiteral("NOTICE_EXEMPLAIRE"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM NOTICE_EXEMPLAIRE")));
        QVERIFY(d.append());
        d.setValue(QStringLiteral("EXP_ID"), QStringLiteral("B-001"));
        d.setValue(QStringLiteral("DOC_ID"), 12);
        d.setValue(QStringLiteral("EXP_PRIX"), QStringLiteral("1234567.89"));
        d.setValue(QStringLiteral("EXP_DATE_RETOUR"), QDate(2026, 2, 28));
        QVERIFY2(d.post(), qPrintable(d.lastError()));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM NOTICE_EXEMPLAIRE WHERE EXP_DATE_RETOUR < ?"), {QStringLiteral("2026-03-01")}));
        QCOMPARE(d.recordCount(), 1);
        QCOMPARE(d.value(QStringLiteral("EXP_DATE_RETOUR")).toDate(), QDate(2026, 2, 28));
        QCOMPARE(d.value(QStringLiteral("DOC_ID")).toInt(), 12);
        // Amounts come back exact, not as binary floating point.
        QVERIFY(d.value(QStringLiteral("EXP_PRIX")).toString().startsWith(QStringLiteral("1234567.89")));
        QVERIFY(d.value(QStringLiteral("EXP_DATE_PRET")).isNull());
        // A text key is changed by locating the row under its old value.
        QVERIFY(d.edit());
        d.setValue(QStringLiteral("EXP_ID"), QStringLiteral("B-002"));
        QVERIFY(d.post());
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'B-002'")).toInt(), 1);
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")).toInt(), 1);
    }

    void refusalsKeepTheState_data() { addEngineRows(); }
    void refusalsKeepTheState()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 1);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT")));
        d.beforeInsert.add([](Dataset &) { return false; }, &hookOwner);
        QVERIFY(!d.append());
        QCOMPARE(d.rowCount(), 1);
        d.beforeInsert.remove(&hookOwner);
        // A duplicate key without an allocated key column fails and stays in insert.
        QVERIFY(d.append());
        d.setValue(QStringLiteral("SUP_ID"), 1);
        d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("doublon"));
        QVERIFY(!d.post());
        QCOMPARE(d.state(), Dataset::State::Insert);
        d.setValue(QStringLiteral("SUP_ID"), 2);
        QVERIFY(d.post());
        d.beforeDelete.add([](Dataset &) { return false; }, &hookOwner);
        QVERIFY(!d.remove());
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM SUPPORT")).toInt(), 2);
    }

    void modelFollowsTheDataset_data() { addEngineRows(); }
    void modelFollowsTheDataset()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        fillSupports(tdb.db(), 600);
        Dataset d(tdb.db(), QStringLiteral("QSupport"), QStringLiteral("SUPPORT"));
        d.setAutoKey(QStringLiteral("SUP_ID"));
        DatasetModel m(&d);
        m.setColumns({QStringLiteral("SUP_LIBELLE"), QStringLiteral("SUP_ID")}, {QStringLiteral("Libellé")});
        QVERIFY(d.open(QStringLiteral("SELECT * FROM SUPPORT ORDER BY SUP_ID")));
        QCOMPARE(m.rowCount(), d.rowCount());
        QCOMPARE(m.columnCount(), 2);
        QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Libellé"));
        QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("SUP_ID"));
        QVERIFY(m.canFetchMore({}));
        QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
        const int before = m.rowCount();
        m.fetchMore({});
        QVERIFY(m.rowCount() > before);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(m.data(m.index(0, 0)).toString(), QStringLiteral("Support 0001"));
        d.fetchAll();
        QCOMPARE(m.rowCount(), 600);
        QVERIFY(!m.canFetchMore({}));
        QVERIFY(d.append());
        QCOMPARE(m.rowCount(), 601);
        d.setValue(QStringLiteral("SUP_LIBELLE"), QStringLiteral("Nouveau"));
        QCOMPARE(m.data(m.index(600, 0)).toString(), QStringLiteral("Nouveau"));
        QVERIFY(d.post());
        QCOMPARE(m.data(m.index(600, 1)).toInt(), 601);
        QVERIFY(d.remove());
        QCOMPARE(m.rowCount(), 600);
        d.close();
        QCOMPARE(m.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TstDataset)
#include "tst_dataset.moc"
