// Budgets, chapters, commitments and transfers on both engines: the debits
// stored are exactly what they stand for after every sequence of
// operations (the rounding of the old bookkeeping and its drift gone), the
// limits to the cent, moves between chapters, negative amounts, refused
// deletions with their counts, the budget search by year, a failure
// injected after the first write, and the upgrade that sums the debits.

#include "acquisitions/budgetfixture.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/currencies.h"
#include "data/core/columnvalue.h"
#include "data/core/migrator.h"
#include "support/session.h"

using namespace folian;
using namespace folian::test;

namespace {

// On the book of 2024 (1000.00, chapters A and B of 500.00 each): the
// steps, the last one's refusal (none when it passes) and the debits stored
// after, of A, B and the budget.
struct LedgerCase {
    const char *name;
    AcqResult (*steps)(Database &, const Book &);
    QString (*refusal)();
    const char *a, *b, *budget;
};

const LedgerCase kLedger[] = {
    {"500 takes 500.00", [](Database &db, const Book &k) { return commit(db, k.a, QStringLiteral("500.00")); }, nullptr,
     "500.00", "0.00", "500.00"},
    {"500 refuses 500.01", [](Database &db, const Book &k) { return commit(db, k.a, QStringLiteral("500.01")); },
     acq::commitmentExceedsChapter, "0.00", "0.00", "0.00"},
    {"100.50 counts 100.50",
     [](Database &db, const Book &k) {
         STEP(commit(db, k.a, QStringLiteral("100.50")));
         return commit(db, k.b, QStringLiteral("101.50"));
     },
     nullptr, "100.50", "101.50", "202.00"},
    {"100.50 and 400 refuse 0.01 more on 500",
     [](Database &db, const Book &k) {
         STEP(commit(db, k.a, QStringLiteral("100.50")));
         STEP(commit(db, k.a, QStringLiteral("399.50")));
         return commit(db, k.a, QStringLiteral("0.01"));
     },
     acq::commitmentExceedsChapter, "500.00", "0.00", "500.00"},
    {"0 on a full chapter",
     [](Database &db, const Book &k) {
         STEP(commit(db, k.a, QStringLiteral("500")));
         return commit(db, k.a, QStringLiteral("0"));
     },
     nullptr, "500.00", "0.00", "500.00"},
    {"a negative commitment", [](Database &db, const Book &k) { return commit(db, k.a, QStringLiteral("-10.00")); },
     acq::amountNegative, "0.00", "0.00", "0.00"},
    {"a transfer of 200 and a commitment of 300 edited without change",
     [](Database &db, const Book &k) {
         STEP(transfer(db, k.a, k.b, QStringLiteral("200")));
         const AcqResult c = commit(db, k.a, QStringLiteral("300"));
         STEP(c);
         return recommit(db, c.key, QStringLiteral("300.00"));
     },
     nullptr, "500.00", "-200.00", "300.00"},
    {"an edit beyond the chapter with its transfer",
     [](Database &db, const Book &k) {
         STEP(transfer(db, k.a, k.b, QStringLiteral("200")));
         const AcqResult c = commit(db, k.a, QStringLiteral("300"));
         STEP(c);
         return recommit(db, c.key, QStringLiteral("300.01"));
     },
     acq::editedCommitmentsExceedChapter, "500.00", "-200.00", "300.00"},
    {"a commitment deleted",
     [](Database &db, const Book &k) {
         const AcqResult c = commit(db, k.a, QStringLiteral("250.25"));
         STEP(c);
         STEP(commit(db, k.b, QStringLiteral("10")));
         return deleteCommitment(db, c.key);
     },
     nullptr, "0.00", "10.00", "10.00"},
    {"a commitment moved to the other chapter",
     [](Database &db, const Book &k) {
         const AcqResult c = commit(db, k.a, QStringLiteral("300.10"));
         STEP(c);
         return recommit(db, c.key, QStringLiteral("300.10"), k.b);
     },
     nullptr, "0.00", "300.10", "300.10"},
    {"a commitment moved and changed",
     [](Database &db, const Book &k) {
         const AcqResult c = commit(db, k.a, QStringLiteral("300"));
         STEP(c);
         return recommit(db, c.key, QStringLiteral("120.55"), k.b);
     },
     nullptr, "0.00", "120.55", "120.55"},
    {"a move beyond the destination",
     [](Database &db, const Book &k) {
         STEP(commit(db, k.b, QStringLiteral("400")));
         const AcqResult c = commit(db, k.a, QStringLiteral("100.01"));
         STEP(c);
         return recommit(db, c.key, QStringLiteral("100.01"), k.b);
     },
     acq::editedCommitmentsExceedChapter, "100.01", "400.00", "500.01"},
    {"a transfer of 200", [](Database &db, const Book &k) { return transfer(db, k.a, k.b, QStringLiteral("200")); }, nullptr,
     "200.00", "-200.00", "0.00"},
    {"a transfer lets the destination commit beyond its amount",
     [](Database &db, const Book &k) {
         STEP(transfer(db, k.a, k.b, QStringLiteral("200")));
         return commit(db, k.b, QStringLiteral("700"));
     },
     nullptr, "200.00", "500.00", "700.00"},
    {"a transfer beyond what the source has left",
     [](Database &db, const Book &k) {
         STEP(commit(db, k.a, QStringLiteral("300")));
         return transfer(db, k.a, k.b, QStringLiteral("200.01"));
     },
     acq::transferExceedsChapter, "300.00", "0.00", "300.00"},
    {"a transfer to its own chapter", [](Database &db, const Book &k) { return transfer(db, k.a, k.a, QStringLiteral("1")); },
     acq::sameChapters, "0.00", "0.00", "0.00"},
    {"a negative transfer", [](Database &db, const Book &k) { return transfer(db, k.a, k.b, QStringLiteral("-1")); },
     acq::amountNegative, "0.00", "0.00", "0.00"},
    {"a transfer deleted",
     [](Database &db, const Book &k) {
         const AcqResult t = transfer(db, k.a, k.b, QStringLiteral("200"));
         STEP(t);
         return deleteTransfer(db, t.key);
     },
     nullptr, "0.00", "0.00", "0.00"},
    {"a transfer whose credit the destination committed",
     [](Database &db, const Book &k) {
         const AcqResult t = transfer(db, k.a, k.b, QStringLiteral("200"));
         STEP(t);
         STEP(commit(db, k.b, QStringLiteral("600")));
         return deleteTransfer(db, t.key);
     },
     acq::transferCommitted, "200.00", "400.00", "600.00"},
    {"a transfer whose credit the destination did not need",
     [](Database &db, const Book &k) {
         const AcqResult t = transfer(db, k.a, k.b, QStringLiteral("200"));
         STEP(t);
         STEP(commit(db, k.b, QStringLiteral("500")));
         return deleteTransfer(db, t.key);
     },
     nullptr, "0.00", "500.00", "500.00"},
};

// On the budget of 2024 (1000.00, no chapter yet): the steps, the last
// one's refusal (none when it passes).
struct BudgetCase {
    const char *name;
    AcqResult (*steps)(Database &);
    QString (*refusal)();
};

AcqResult chapter(Database &db, const QString &amount, int id = 0)
{
    return saveChapter(db, {id, 2024, QStringLiteral("Chapitre"), amount});
}

const BudgetCase kBudgets[] = {
    {"1000 = 600 + 400 refuses 0.01 more",
     [](Database &db) {
         STEP(chapter(db, QStringLiteral("600")));
         STEP(chapter(db, QStringLiteral("400")));
         return chapter(db, QStringLiteral("0.01"));
     },
     acq::chaptersExceedBudget},
    {"1000 = 600 + 400 takes a third chapter of 0",
     [](Database &db) {
         STEP(chapter(db, QStringLiteral("600")));
         STEP(chapter(db, QStringLiteral("400")));
         return chapter(db, QStringLiteral("0"));
     },
     nullptr},
    {"a chapter raised beyond the budget",
     [](Database &db) {
         const AcqResult c = chapter(db, QStringLiteral("600"));
         STEP(c);
         STEP(chapter(db, QStringLiteral("400")));
         return chapter(db, QStringLiteral("600.01"), c.key);
     },
     acq::chaptersExceedBudget},
    {"a chapter lowered below its debit",
     [](Database &db) {
         const AcqResult c = chapter(db, QStringLiteral("600"));
         STEP(c);
         STEP(commit(db, c.key, QStringLiteral("300")));
         return chapter(db, QStringLiteral("299.99"), c.key);
     },
     acq::amountBelowDebit},
    {"a chapter lowered to its debit",
     [](Database &db) {
         const AcqResult c = chapter(db, QStringLiteral("600"));
         STEP(c);
         STEP(commit(db, c.key, QStringLiteral("300")));
         return chapter(db, QStringLiteral("300"), c.key);
     },
     nullptr},
    {"a negative chapter", [](Database &db) { return chapter(db, QStringLiteral("-0.01")); }, acq::amountNegative},
    {"a budget lowered below its debit",
     [](Database &db) {
         const AcqResult c = chapter(db, QStringLiteral("500"));
         STEP(c);
         STEP(commit(db, c.key, QStringLiteral("400")));
         return saveBudget(db, {2024, QStringLiteral("2024"), QStringLiteral("399.99")});
     },
     acq::budgetBelowDebit},
    {"a budget lowered below its chapters",
     [](Database &db) {
         const AcqResult c = chapter(db, QStringLiteral("500"));
         STEP(c);
         STEP(commit(db, c.key, QStringLiteral("400")));
         return saveBudget(db, {2024, QStringLiteral("2024"), QStringLiteral("499.99")});
     },
     [] { return acq::budgetBelowChapters(QStringLiteral("500.00")); }},
    {"a budget lowered to its chapters",
     [](Database &db) {
         STEP(chapter(db, QStringLiteral("500")));
         return saveBudget(db, {2024, QStringLiteral("2024"), QStringLiteral("500")});
     },
     nullptr},
    {"a negative budget", [](Database &db) { return saveBudget(db, {0, QStringLiteral("2025"), QStringLiteral("-1")}); },
     acq::amountNegative},
    {"a year taken", [](Database &db) { return saveBudget(db, {0, QStringLiteral("2024"), QStringLiteral("10")}); },
     [] { return acq::budgetYearExists(2024); }},
    {"a year that is none", [](Database &db) { return saveBudget(db, {0, QStringLiteral("20x4"), QStringLiteral("10")}); },
     [] { return acq::budgetYearInvalid(QStringLiteral("20x4")); }},
    {"a year changed while there are no chapters",
     [](Database &db) { return saveBudget(db, {2024, QStringLiteral("2026"), QStringLiteral("1000")}); }, nullptr},
    {"a year changed once there are chapters",
     [](Database &db) {
         STEP(chapter(db, QStringLiteral("1")));
         STEP(chapter(db, QStringLiteral("2")));
         return saveBudget(db, {2024, QStringLiteral("2026"), QStringLiteral("1000")});
     },
     [] { return acq::budgetYearFixed(2); }},
    {"a year changed to one taken",
     [](Database &db) {
         STEP(saveBudget(db, {0, QStringLiteral("2025"), QStringLiteral("1")}));
         return saveBudget(db, {2024, QStringLiteral("2025"), QStringLiteral("1000")});
     },
     [] { return acq::budgetYearExists(2025); }},
    {"an amount with three decimals", [](Database &db) { return chapter(db, QStringLiteral("1.005")); },
     [] { return acq::amountNotANumber(QStringLiteral("1.005")); }},
    {"an amount beyond the column",
     [](Database &db) { return saveBudget(db, {2024, QStringLiteral("2024"), QStringLiteral("10000000000000")}); },
     [] { return amountTooLarge(acq::amountFieldCaption()); }},
};

QString debitsOf(Database &db, const Book &k)
{
    return chapterDebitOf(db, k.a) + u' ' + chapterDebitOf(db, k.b) + u' ' + budgetDebitOf(db, k.year);
}

} // namespace

class TstBudgets : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("resp.acq");
        session().CurrentUserRole = 2;  // the acquisitions' manager: every acquisition right
    }
    void cleanup() { setMessageSink(nullptr); }

    void ledger_data() { addEngineCaseRows(kLedger); }
    void ledger()
    {
        QFETCH(int, index);
        FOLIAN_ACQ_DB(tdb, db);
        const Book k = openBook(db);
        QVERIFY(k.a > 0 && k.b > 0);
        const LedgerCase &c = kLedger[index];
        const AcqResult r = c.steps(db, k);
        QCOMPARE(r.message, c.refusal ? c.refusal() : QString());
        QCOMPARE(r.passed, !c.refusal);
        QCOMPARE(debitsOf(db, k), QLatin1String(c.a) + u' ' + QLatin1String(c.b) + u' ' + QLatin1String(c.budget));
    }

    void budgetLimits_data() { addEngineCaseRows(kBudgets); }
    void budgetLimits()
    {
        QFETCH(int, index);
        FOLIAN_ACQ_DB(tdb, db);
        QVERIFY(saveBudget(db, {0, QStringLiteral("2024"), QStringLiteral("1000")}).passed);
        const BudgetCase &c = kBudgets[index];
        const AcqResult r = c.steps(db);
        QCOMPARE(r.message, c.refusal ? c.refusal() : QString());
        QCOMPARE(r.passed, !c.refusal);
    }

    // What depends on a row keeps it, and the refusal counts it.
    void refusedDeletions_data() { addEngineRows(); }
    void refusedDeletions()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Book k = openBook(db);
        const int c = commit(db, k.a, QStringLiteral("10")).key;
        QVERIFY(c > 0 && transfer(db, k.a, k.b, QStringLiteral("5")).passed);
        QCOMPARE(deleteBudget(db, k.year).message, acq::budgetHasChapters(2));
        QCOMPARE(deleteChapter(db, k.a).message, acq::chapterInUse(1, 1));
        QCOMPARE(deleteChapter(db, k.b).message, acq::chapterInUse(0, 1));
        const int currency = saveCurrency(db, {0, QStringLiteral("Euro"), QStringLiteral("أورو")}).key;
        QVERIFY(currency > 0);
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION SET MON_ID = ?"), {currency}));
        QCOMPARE(deleteCurrency(db, currency).message, acq::currencyInUse(1));
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM CHAPITRE")), 2);
        // Emptied, each goes.
        QVERIFY(db.exec(QStringLiteral("UPDATE ACQUISITION SET MON_ID = NULL")));
        QVERIFY(deleteCurrency(db, currency).passed);
        QVERIFY(deleteCommitment(db, c).passed);
        QVERIFY(deleteTransfer(db, countOf(db, QStringLiteral("SELECT MAX(TRS_ID) FROM TRANSFERT"))).passed);
        QVERIFY(deleteChapter(db, k.a).passed && deleteChapter(db, k.b).passed);
        QVERIFY(deleteBudget(db, k.year).passed);
        QCOMPARE(deleteBudget(db, k.year).message, acq::budgetGone());
        QCOMPARE(deleteCommitment(db, c).message, acq::commitmentGone());
    }

    // A document naming a currency deleted since the operator picked it is
    // refused whole, new or edited: no document is left naming nothing.
    void documentOfADeletedCurrency_data() { addEngineRows(); }
    void documentOfADeletedCurrency()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const int currency = saveCurrency(db, {0, QStringLiteral("Dinar"), QStringLiteral("دينار")}).key;
        QVERIFY(currency > 0);
        const int kept = newDocument(db, AcqType::Order, QStringLiteral("BC-1"));
        QVERIFY(kept > 0);
        QVERIFY(deleteCurrency(db, currency).passed);
        DocumentSheet d;
        d.type = AcqType::Order;
        d.supplier = 1;
        d.currency = currency;
        d.number = QStringLiteral("BC-2");
        QCOMPARE(saveDocument(db, d).message, acq::currencyGone());
        d.id = kept;
        d.number = QStringLiteral("BC-1");
        QCOMPARE(saveDocument(db, d).message, acq::currencyGone());
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION")), 1);
        QCOMPARE(countOf(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION WHERE MON_ID IS NOT NULL")), 0);
    }

    // The year criterion compares the year's digits as text on both engines.
    void searchByYear_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("years");
        for (const QString &engine : engines()) {
            const auto row = [&](const char *name, const char *typed, const char *years) {
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(name))) << engine << QString::fromUtf8(typed) << QString::fromUtf8(years);
            };
            row("a year", "2024", "2024");
            row("every year", "*", "2025 2024 2019");
            row("a decade", "202*", "2025 2024");
            row("blank", "", "");
            row("a year not there", "1999", "");
            row("a pattern character", "20_4", "");
        }
    }
    void searchByYear()
    {
        QFETCH(QString, typed);
        QFETCH(QString, years);
        FOLIAN_ACQ_DB(tdb, db);
        for (const char *y : {"2019", "2024", "2025"})
            QVERIFY(saveBudget(db, {0, QLatin1String(y), QStringLiteral("1")}).passed);
        const SqlText sql = budgetSearchSql(db.dialect(), typed);
        SqlRows q = db.query(sql.sql, sql.binds);
        QVERIFY2(q.isActive(), qPrintable(db.lastError().text()));
        QStringList found;
        while (q.next())
            found << q.value(QStringLiteral("BUD_ID")).toString();
        QCOMPARE(found.join(u' '), years);
    }

    // A failure after the first write of an operation: nothing it wrote stays.
    void failureLeavesDebits_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        for (const QString &engine : engines())
            for (const auto &[operation, table, column] :
                 {std::tuple{"new commitment", "CHAPITRE", "CHP_DEBIT"}, std::tuple{"new commitment", "BUDGET", "BUD_DEBIT"},
                  std::tuple{"commitment moved", "BUDGET", "BUD_DEBIT"}, std::tuple{"commitment deleted", "BUDGET", "BUD_DEBIT"},
                  std::tuple{"transfer", "CHAPITRE", "CHP_DEBIT"}, std::tuple{"transfer deleted", "CHAPITRE", "CHP_DEBIT"},
                  std::tuple{"new invoice", "ENGAGEMENT", "ENG_DEBIT"}, std::tuple{"invoice moved", "ENGAGEMENT", "ENG_DEBIT"},
                  std::tuple{"invoice deleted", "ENGAGEMENT", "ENG_DEBIT"}})
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(operation) + u' ' + QLatin1String(table)))
                    << engine << QString::fromUtf8(operation) << QString::fromUtf8(table) << QString::fromUtf8(column);
    }
    void failureLeavesDebits()
    {
        QFETCH(QString, operation);
        QFETCH(QString, table);
        QFETCH(QString, column);
        FOLIAN_ACQ_DB(tdb, db);
        const Book k = openBook(db);
        const int c1 = commit(db, k.a, QStringLiteral("300")).key, c2 = commit(db, k.b, QStringLiteral("200")).key;
        const int t = transfer(db, k.a, k.b, QStringLiteral("50")).key;
        QVERIFY(c1 > 0 && c2 > 0 && t > 0 && invoice(db, QStringLiteral("F-1"), k.order, c1, QStringLiteral("120.50")).passed);
        const auto snapshot = [&] {
            QStringList s{debitsOf(db, k), commitmentDebitOf(db, c1), commitmentDebitOf(db, c2)};
            for (const char *n : {"ENGAGEMENT", "TRANSFERT", "FACTURE"})
                s << QString::number(countOf(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(n))));
            s << QString::number(countOf(db, QStringLiteral("SELECT CHP_ID FROM ENGAGEMENT WHERE ENG_ID = ?"), {c1}));
            s << QString::number(countOf(db, QStringLiteral("SELECT ENG_ID FROM FACTURE WHERE FAC_ID = 'F-1'")));
            return s.join(u'|');
        };
        const QString before = snapshot();
        // The failure comes when the debit of that table changes, after the operation's first write.
        if (db.dialect().isPostgres()) {
            QVERIFY(db.exec(QStringLiteral("CREATE FUNCTION folian_fail() RETURNS trigger AS $$ BEGIN "
                                           "RAISE EXCEPTION 'injected failure'; END $$ LANGUAGE plpgsql")));
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER folian_fail BEFORE UPDATE ON %1 FOR EACH ROW "
                                           "WHEN (NEW.%2 IS DISTINCT FROM OLD.%2) EXECUTE FUNCTION folian_fail()")
                                .arg(table, column)));
        } else {
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER folian_fail BEFORE UPDATE ON %1 WHEN NEW.%2 IS NOT OLD.%2 "
                                           "BEGIN SELECT RAISE(ABORT, 'injected failure'); END")
                                .arg(table, column)));
        }
        AcqResult r;
        if (operation == QLatin1String("new commitment"))
            r = commit(db, k.a, QStringLiteral("100"));
        else if (operation == QLatin1String("commitment moved"))
            r = recommit(db, c1, QStringLiteral("250"), k.b);
        else if (operation == QLatin1String("commitment deleted"))
            r = deleteCommitment(db, c2);
        else if (operation == QLatin1String("transfer"))
            r = transfer(db, k.b, k.a, QStringLiteral("10"));
        else if (operation == QLatin1String("transfer deleted"))
            r = deleteTransfer(db, t);
        else if (operation == QLatin1String("new invoice"))
            r = invoice(db, QStringLiteral("F-2"), k.order, c1, QStringLiteral("10"));
        else if (operation == QLatin1String("invoice moved"))
            r = reinvoice(db, QStringLiteral("F-1"), QString(), c2);
        else
            r = deleteInvoice(db, QStringLiteral("F-1"));
        QVERIFY(!r.passed);
        QVERIFY2(r.message.startsWith(TFrmData::PostErrorMessage()), qPrintable(r.message));
        QCOMPARE(snapshot(), before);
    }

    // A database of the version before, with the debits of the old
    // bookkeeping (whole units, a transfer wiped out): summed again exactly;
    // the chapters' indexes carry the amounts, the old one is gone.
    void upgradeSumsDebits_data() { addEngineRows(); }
    void upgradeSumsDebits()
    {
        FOLIAN_ACQ_DB(tdb, db);
        const Book k = openBook(db);
        const int c = commit(db, k.a, QStringLiteral("100.50")).key;
        QVERIFY(c > 0 && transfer(db, k.a, k.b, QStringLiteral("200")).passed);
        QVERIFY(invoice(db, QStringLiteral("F-1"), k.order, c, QStringLiteral("60.25")).passed);
        QVERIFY(db.exec(QStringLiteral("UPDATE CHAPITRE SET CHP_DEBIT = ?"), {db.dialect().toDb(QStringLiteral("100"), ColType::Money)}));
        QVERIFY(db.exec(QStringLiteral("UPDATE BUDGET SET BUD_DEBIT = ?"), {db.dialect().toDb(QStringLiteral("100"), ColType::Money)}));
        QVERIFY(db.exec(QStringLiteral("UPDATE ENGAGEMENT SET ENG_DEBIT = ?"), {db.dialect().toDb(QStringLiteral("60"), ColType::Money)}));
        QVERIFY(db.exec(QStringLiteral("DROP INDEX IX_TRANSFERT_CHP_ID2")));
        QVERIFY(db.exec(QStringLiteral("DROP INDEX IX_ENGAGEMENT_CHP_MONTANT")));
        QVERIFY(db.exec(QStringLiteral("CREATE INDEX IX_ENGAGEMENT_CHP_ID ON ENGAGEMENT (CHP_ID)")));
        QVERIFY(db.exec(QStringLiteral("UPDATE VERSION_BASE SET VRS_NUMERO = 6")));
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QCOMPARE(debitsOf(db, k), QStringLiteral("300.50 -200.00 100.50"));
        QCOMPARE(commitmentDebitOf(db, c), QStringLiteral("60.25"));
        QVERIFY(!db.exec(QStringLiteral("CREATE INDEX IX_TRANSFERT_CHP_ID2 ON TRANSFERT (CHP_ID2)")));
        QVERIFY(!db.exec(QStringLiteral("CREATE INDEX IX_ENGAGEMENT_CHP_MONTANT ON ENGAGEMENT (CHP_ID)")));
        QVERIFY(db.exec(QStringLiteral("CREATE INDEX IX_ENGAGEMENT_CHP_ID ON ENGAGEMENT (CHP_ID)")));
    }
};

QTEST_GUILESS_MAIN(TstBudgets)
#include "tst_budgets.moc"
