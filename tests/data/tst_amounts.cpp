// Amounts in SQL on both engines: sums, comparisons and orders through the
// dialect's exact cents, never binary floating point; an amount that is
// none fails its statement rather than giving a wrong sum; the embedded
// file's amount tables stay writable by the standard sqlite3 shell.

#include "data/core/migrator.h"
#include "data/core/money.h"
#include "support/testdb.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

bool addSuggestions(Database &db, const QStringList &prices)
{
    int id = 1;
    for (const QString &p : prices)
        if (!db.exec(QStringLiteral("INSERT INTO SUGGESTION (SUG_ID, SUG_TITRE, SUG_PRIX) VALUES (?, 'T', ?)"),
                     {id++, p.isEmpty() ? QVariant() : db.dialect().toDb(p, ColType::Money)}))
            return false;
    return true;
}

QString cents(Database &db, const QString &what) { return db.dialect().moneyCents(what); }

} // namespace

class TstAmounts : public QObject
{
    Q_OBJECT

private slots:
    void exactInSql_data() { addEngineRows(); }
    void exactInSql()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QStringList prices(7, QStringLiteral("19.99"));
        prices << QStringLiteral("9.50") << QStringLiteral("100.00") << QStringLiteral("-0.50") << QString();
        QVERIFY(addSuggestions(db, prices));
        bool ok = false;
        const QVariant sum = db.scalar(QStringLiteral("SELECT SUM(") + cents(db, QStringLiteral("SUG_PRIX"))
                                           + QStringLiteral(") FROM SUGGESTION WHERE SUG_ID <= 7"),
                                       {}, &ok);
        QVERIFY2(ok, qPrintable(db.lastError().text()));
        QCOMPARE(Money::fromCentsValue(sum)->toString(), QStringLiteral("139.93"));
        // 9.50 is less than 100.00, and -0.50 less than both.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM SUGGESTION WHERE ") + cents(db, QStringLiteral("SUG_PRIX"))
                               + QStringLiteral(" > ?"),
                           {950})
                     .toInt(),
                 8);
        QSqlQuery q = db.query(QStringLiteral("SELECT SUG_ID FROM SUGGESTION WHERE SUG_PRIX IS NOT NULL ORDER BY ")
                               + cents(db, QStringLiteral("SUG_PRIX")) + QStringLiteral(", SUG_ID"));
        QList<int> order;
        while (q.next())
            order << q.value(0).toInt();
        QCOMPARE(order, (QList<int>{10, 8, 1, 2, 3, 4, 5, 6, 7, 9}));
        // NULL is no amount and counts for nothing.
        QVERIFY(db.scalar(QStringLiteral("SELECT ") + cents(db, QStringLiteral("SUG_PRIX")) + QStringLiteral(" FROM SUGGESTION WHERE SUG_ID = 11"))
                    .isNull());
    }

    // A value written by another program that is no amount: the statement fails.
    void notAnAmountFails()
    {
        TestDatabase tdb(QStringLiteral("SQLITE"));
        QVERIFY2(tdb.isValid(), qPrintable(tdb.error()));
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO SUGGESTION (SUG_ID, SUG_PRIX) VALUES (1, '12.50'), (2, 'douze')")));
        bool ok = true;
        db.scalar(QStringLiteral("SELECT SUM(") + cents(db, QStringLiteral("SUG_PRIX")) + QStringLiteral(") FROM SUGGESTION"), {}, &ok);
        QVERIFY(!ok);
        QVERIFY(db.lastError().text().contains(QStringLiteral("douze")));
    }

    // What the program registers is for its own statements: the standard
    // shell writes the tables that hold amounts.
    void shellWritesAmountTables()
    {
        const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        if (shell.isEmpty())
            QSKIP("no sqlite3 shell on this machine");
        TestDatabase tdb(QStringLiteral("SQLITE"));
        QVERIFY2(tdb.isValid(), qPrintable(tdb.error()));
        tdb.db().close();
        for (const char *sql : {"INSERT INTO ACQUISITION (ACQ_ID, ACQ_TOTAL) VALUES (1, '10.00')",
                                "INSERT INTO ACQUISITION_LIGNE (ACQ_LIGNE_ID, ACQ_ID, ACQ_PRIX, ACQ_MONTANT) VALUES (1, 1, '5.00', '10.00')",
                                "UPDATE ACQUISITION SET ACQ_TOTAL = '12.00'",
                                "INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, EXP_PRIX) VALUES ('X', 1, '3.00')",
                                "INSERT INTO FACTURE (FAC_ID, ACQ_ID, FAC_MONTANT) VALUES ('F', 1, '12.00')",
                                "INSERT INTO BUDGET (BUD_ID, BUD_MONTANT, BUD_DEBIT) VALUES (2024, '1000.00', '0.00')",
                                "INSERT INTO CHAPITRE (CHP_ID, BUD_ID, CHP_MONTANT, CHP_DEBIT) VALUES (1, 2024, '500.00', '0.00')",
                                "INSERT INTO ENGAGEMENT (ENG_ID, CHP_ID, ENG_MONTANT, ENG_DEBIT) VALUES (1, 1, '100.00', '0.00')",
                                "INSERT INTO TRANSFERT (TRS_ID, CHP_ID, CHP_ID2, TRS_MONTANT) VALUES (1, 1, 2, '10.00')",
                                "INSERT INTO SUGGESTION (SUG_ID, SUG_PRIX) VALUES (1, '9.99')"}) {
            QProcess p;
            p.start(shell, {tdb.dir() + QStringLiteral("Folian.db"), QLatin1String(sql)});
            QVERIFY(p.waitForFinished(30000));
            QVERIFY2(p.exitCode() == 0, qPrintable(QLatin1String(sql) + QStringLiteral(": ") + QString::fromUtf8(p.readAllStandardError())));
        }
    }
};

QTEST_GUILESS_MAIN(TstAmounts)
#include "tst_amounts.moc"
