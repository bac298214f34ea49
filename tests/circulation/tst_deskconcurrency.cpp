// Several desks at once on one PostgreSQL server, one connection per
// thread, all starting together: a copy is lent once, counters are raised
// once per loan, a double return penalises once, and a quota of one holds;
// a copy is consulted in house by one reader at a time; a return that meets
// a reservation being made tells of it. The same for the inter-library
// loan: a partner's copy is registered once, returned and penalised once,
// and a library's name and supervising body saved once. On the embedded
// engine, each desk operation waits for the write lock that another
// program holds instead of failing.

#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/interlibrary.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/libraries.h"
#include "circulation/core/readers.h"
#include "circulation/interlibraryfixture.h"
#include "support/workstations.h"

#include <QTest>
#include <atomic>

using namespace folian;
using namespace folian::test;

namespace {

constexpr int kDesks = 8;
constexpr int kRounds = 4;

QString reader(int i) { return QStringLiteral("R%1").arg(i); }

bool addReaders(Database &db)
{
    for (int i = 0; i < kDesks; ++i)
        if (!addDeskReader(db, reader(i)))
            return false;
    return true;
}

int sumOfReaderLoans(Database &db)
{
    return db.scalar(QStringLiteral("SELECT SUM(COALESCE(LEC_STAT_PRET, 0)) FROM LECTEUR")).toInt();
}

} // namespace

class TstDeskConcurrency : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("resp.pret");
        session().CurrentUserRole = 4;
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    void oneCopyEightDesks()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(deskSetUp(db) && addReaders(db));
            QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), none(), none()));
            std::atomic<int> refusedAsLent{0};
            const int done = atOnce(tdb.params(), kDesks, [&](int i, Database &c) {
                const DeskResult r = LoanDesk(c, today()).lend(reader(i), QStringLiteral("X"));
                if (!r.passed && r.lines.value(0).startsWith(QStringLiteral("L'exemplaire \"X\" est actuellement emprunté")))
                    ++refusedAsLent;
                return r.passed;
            });
            QCOMPARE(done, 1);
            QCOMPARE(refusedAsLent.load(), kDesks - 1);
            QCOMPARE(recordCounter(db, 1, "DOC_PRET_EXTERNE"), 1);
            QCOMPARE(sumOfReaderLoans(db), 1);
            QCOMPARE(journalRows(db), 1);
            const QString borrower = copyValue(db, QStringLiteral("X"), "LEC_ID").toString();
            QCOMPARE(readerValue(db, borrower, "LEC_STAT_PRET").toInt(), 1);
        }
    }

    void eightCopiesOfOneRecord()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(deskSetUp(db) && addReaders(db));
            QVERIFY(addCopy(db, 1, QStringLiteral("C0"), QStringLiteral("a"), none(), none()));
            for (int i = 1; i < kDesks; ++i)
                QVERIFY(addCopyOf(db, 1, QStringLiteral("C%1").arg(i)));
            const int done = atOnce(tdb.params(), kDesks, [](int i, Database &c) {
                return LoanDesk(c, today()).lend(reader(i), QStringLiteral("C%1").arg(i)).passed;
            });
            QCOMPARE(done, kDesks);
            QCOMPARE(recordCounter(db, 1, "DOC_PRET_EXTERNE"), kDesks);
            QCOMPARE(sumOfReaderLoans(db), kDesks);
            QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(DISTINCT HIS_ID) FROM HISTORIQUE_PRET WHERE HIS_OPERATION = 1")).toInt(),
                     kDesks);
        }
    }

    void doubleReturnPenalisesOnce()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(deskSetUp(db));
            // Five days late in the proportional category: 10 days of penalty.
            QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), QStringLiteral("C"), day(-5)));
            const int done = atOnce(tdb.params(), 2, [](int, Database &c) {
                return LoanDesk(c, today()).giveBack(QStringLiteral("X")).passed;
            });
            QCOMPARE(done, 1);
            QCOMPARE(readerStatus(db, QStringLiteral("C")), 1);
            QCOMPARE(readerDate(db, QStringLiteral("C"), "LEC_FIN_PENALITE"), today().addDays(10));
            QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 2")), 1);
            QVERIFY(copyValue(db, QStringLiteral("X"), "LEC_ID").isNull());
        }
    }

    void quotaOfOneAtTwoDesks()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(deskSetUp(db));
            QVERIFY(db.exec(QStringLiteral("UPDATE REGLEMENT SET REG_DOCUMENT = 1 WHERE CAT_ID = 1")));
            QVERIFY(addCopy(db, 1, QStringLiteral("X1"), QStringLiteral("a"), none(), none()));
            QVERIFY(addCopy(db, 2, QStringLiteral("X2"), QStringLiteral("a"), none(), none()));
            const int done = atOnce(tdb.params(), 2, [](int i, Database &c) {
                return LoanDesk(c, today()).lend(QStringLiteral("A"), QStringLiteral("X%1").arg(i + 1)).passed;
            });
            QCOMPARE(done, 1);
            QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LEC_ID = 'A'")).toInt(), 1);
            QCOMPARE(readerValue(db, QStringLiteral("A"), "LEC_STAT_PRET").toInt(), 1);
            QCOMPARE(journalRows(db), 1);
        }
    }

    // One free in-house copy, eight desks: one consultation, counted once.
    void oneInHouseCopyEightDesks()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(deskSetUp(db) && addReaders(db));
            QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), none(), none(), none(), 3));
            const int done = atOnce(tdb.params(), kDesks, [](int i, Database &c) {
                return LoanDesk(c, today()).consult(reader(i), QStringLiteral("X")).passed;
            });
            QCOMPARE(done, 1);
            QCOMPARE(recordCounter(db, 1, "DOC_PRET_INTERNE"), 1);
            QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 6")), 1);
            const QString borrower = copyValue(db, QStringLiteral("X"), "LEC_ID").toString();
            QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 6 AND LEC_ID = ?"), {borrower}), 1);
        }
    }

    // A reservation being made while the copy comes back: the return waits
    // for it and says that the copy is now held for the reserver.
    void returnMeetsAReservation()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), QStringLiteral("A"), day(2)));
        Database observer;
        QVERIFY(observer.open(tdb.params()));
        // The other desk's reservation, not yet committed, holds the copy's row.
        QVERIFY(db.begin());
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = 'B', EXP_DATE_RESERVATION = ? WHERE EXP_ID = 'X'"),
                        {dateValue(db, today().addDays(5))}));
        DeskResult r;
        Workstation desk(tdb.params(), [&r](Database &c) {
            r = LoanDesk(c, today()).giveBack(QStringLiteral("X"));
            return r.passed;
        });
        QVERIFY(waitForLockWaits(observer, 1));
        QVERIFY(db.commit());
        QVERIFY(desk.wait());
        QCOMPARE(r.lines, QStringList({circ::returnDone(QStringLiteral("X")),
                                       circ::returnedCopyReserved(QStringLiteral("B"), today().addDays(5))}));
        QVERIFY(copyValue(db, QStringLiteral("X"), "LEC_ID").isNull());
        QCOMPARE(copyValue(db, QStringLiteral("X"), "LEC_ID2").toString(), QStringLiteral("B"));
    }

    // The embedded engine: another program holds the write lock (an import)
    // while a desk operation starts; the operation waits for it and is done.
    void operationWaitsForTheWriteLock_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("return") << int(LoanOperation::Return);
        QTest::newRow("reservation") << int(LoanOperation::Reservation);
        QTest::newRow("renewal") << int(LoanOperation::Renewal);
        QTest::newRow("cancellation") << int(LoanOperation::Cancellation);
        QTest::newRow("consultation") << int(LoanOperation::Consultation);
        QTest::newRow("end of a consultation") << int(LoanOperation::ConsultationReturn);
        QTest::newRow("inter-library return") << int(LoanOperation::InterLibraryReturn);
    }
    void operationWaitsForTheWriteLock()
    {
        QFETCH(int, operation);
        const LoanOperation op = LoanOperation(operation);
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        // Lent to A, due in 3 days (renewable), reserved by B when cancelled.
        const bool inHouse = op == LoanOperation::Consultation || op == LoanOperation::ConsultationReturn;
        const bool lent = op != LoanOperation::Consultation;
        QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), lent ? QVariant(QStringLiteral("A")) : none(),
                        lent ? day(inHouse ? 0 : 3) : none(),
                        op == LoanOperation::Cancellation ? QVariant(QStringLiteral("B")) : none(), inHouse ? 3 : 2));
        QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 1, QStringLiteral("A"), day(3)));
        // A loan of the loan period: renewable.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_DATE_PRET = ? WHERE LEC_ID IS NOT NULL"),
                        {dateValue(db, today().addDays(inHouse ? 0 : -12))}));
        Database holder;
        QVERIFY(holder.open(tdb.params()));
        QVERIFY(holder.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QVERIFY(holder.exec(QStringLiteral("UPDATE PARAMETRE SET WEEKEND1 = WEEKEND1")));
        QString message;
        Workstation desk(tdb.params(), [&](Database &c) {
            if (op == LoanOperation::InterLibraryReturn) {
                const InterLibraryResult r = InterLibraryDesk(c, today()).giveBack(QStringLiteral("P1"), 1);
                message = r.message();
                return r.passed;
            }
            const DeskResult r = LoanDesk(c, today()).run(op, op == LoanOperation::Reservation ? QStringLiteral("B")
                                                          : op == LoanOperation::Consultation ? QStringLiteral("A")
                                                                                               : QString(),
                                                          QStringLiteral("X"));
            message = r.message();
            return r.passed;
        });
        // The desk has read what it needed by now and waits to write.
        QThread::msleep(600);
        QVERIFY(holder.exec(QStringLiteral("COMMIT")));
        QVERIFY2(desk.wait(), qPrintable(message));
    }

    void interLibraryCopyRegisteredOnce()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(interLibrarySetUp(db) && addReaders(db));
            const QString due = today().addDays(14).toString(QStringLiteral("dd/MM/yyyy"));
            const int done = atOnce(tdb.params(), kDesks, [&](int i, Database &c) {
                InterLibraryLoan loan;
                loan.reader = reader(i);
                loan.copy = QStringLiteral("P1");
                loan.title = QStringLiteral("Titre");
                loan.author = QStringLiteral("Auteur");
                loan.libraryId = 1;
                loan.due = due;
                return InterLibraryDesk(c, today()).lend(loan).passed;
            });
            QCOMPARE(done, 1);
            QCOMPARE(openLoans(db, QStringLiteral("P1")), 1);
            QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 8")), 1);
        }
    }

    void interLibraryDoubleReturnPenalisesOnce()
    {
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            QVERIFY(interLibrarySetUp(db));
            // Five days late in the proportional category: 10 days of penalty.
            QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 1, QStringLiteral("C"), day(-5)));
            std::atomic<int> notFound{0};
            const int done = atOnce(tdb.params(), 2, [&](int, Database &c) {
                const InterLibraryResult r = InterLibraryDesk(c, today()).giveBack(QStringLiteral("P1"), 1);
                if (!r.passed && r.message() == circ::interLibraryNotFound())
                    ++notFound;
                return r.passed;
            });
            QCOMPARE(done, 1);
            QCOMPARE(notFound.load(), 1);
            QCOMPARE(readerStatus(db, QStringLiteral("C")), 1);
            QCOMPARE(readerDate(db, QStringLiteral("C"), "LEC_FIN_PENALITE"), today().addDays(10));
            QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 9")), 1);
            QCOMPARE(openLoans(db, QStringLiteral("P1")), 0);
        }
    }

    void libraryPairSavedOnce()
    {
        session().CurrentUserRole = 1;  // partner libraries are the administrator's
        for (int round = 0; round < kRounds; ++round) {
            FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
            Database &db = tdb.db();
            std::atomic<int> refusedAsTaken{0};
            const int done = atOnce(tdb.params(), kDesks, [&](int, Database &c) {
                LibrarySheet s;
                s.nom = QStringLiteral("Bibliothèque centrale");
                s.tutelle = QStringLiteral("Université A");
                const LibrarySave r = saveLibrary(c, s);
                if (r.message == circ::libraryExists())
                    ++refusedAsTaken;
                return r.ok();
            });
            QCOMPARE(done, 1);
            QCOMPARE(refusedAsTaken.load(), kDesks - 1);
            QCOMPARE(libraryCount(db), 1);
        }
    }
};

QTEST_GUILESS_MAIN(TstDeskConcurrency)
#include "tst_deskconcurrency.moc"
