// The loan desk's rules on both engines: the loan with its copy, reader,
// rule, quota and reservation checks and its due date over closed days; the
// return and its penalty; reservations, renewals, cancellations; the
// in-house consultation; the journal; a failure in the middle of an
// operation.

#include "admin/core/duedate.h"
#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/deskreplay.h"
#include "circulation/core/desktexts.h"
#include "circulation/deskfixture.h"
#include "data/core/migrator.h"
#include "data/core/shareddata.h"
#include "support/session.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

using Setup = bool (*)(Database &);
using Expected = QString (*)();

struct LoanCase {
    const char *name;
    Setup setup;           // the copy "X" (record 1) and whatever else the case needs
    const char *reader;
    const char *copy;      // as typed
    bool done;
    Expected message;      // the first line of the message
};

const QString X = QStringLiteral("X");

bool shelfCopy(Database &db) { return addCopy(db, 1, X, QStringLiteral("a"), none(), none()); }
bool withStatus(Database &db, int status) { return addCopy(db, 1, X, QStringLiteral("a"), none(), none(), none(), status); }
bool reservedUntil(Database &db, const char *reader, int hold)
{
    return shelfCopy(db)
        && db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = ?, EXP_DATE_RESERVATION = ? WHERE EXP_ID = 'X'"),
                   {QLatin1String(reader), dateValue(db, today().addDays(hold))});
}
// Reader A already holds `n` copies for external loan of the type.
bool holding(Database &db, int n, const QString &type = QStringLiteral("a"), int status = 2)
{
    for (int i = 0; i < n; ++i)
        if (!addCopy(db, 10 + i, QStringLiteral("H%1").arg(i), type, QStringLiteral("A"), day(5), none(), status))
            return false;
    return true;
}

const LoanCase kLoanCases[] = {
    {"free copy", shelfCopy, "A", "X", true, [] { return circ::loanDone(X); }},
    {"copy typed with blanks", shelfCopy, " A ", " X ", true, [] { return circ::loanDone(X); }},
    {"unknown copy quoted as typed", shelfCopy, "A", " Z ", false, [] { return circ::loanCopyUnknown(QStringLiteral(" Z ")); }},
    {"no copy typed", shelfCopy, "A", " ", false, [] { return circ::copyNotEntered(); }},
    {"unknown reader", shelfCopy, "Q", "X", false, [] { return circ::readerUnknown(QStringLiteral("Q")); }},
    {"in deposit", [](Database &db) { return withStatus(db, 1); }, "A", "X", false,
     [] { return circ::loanRefusedForStatus(X, 1); }},
    {"in-house copy", [](Database &db) { return withStatus(db, 3); }, "A", "X", false,
     [] { return circ::loanRefusedForStatus(X, 3); }},
    {"damaged", [](Database &db) { return withStatus(db, 5); }, "A", "X", false, [] { return circ::loanRefusedForStatus(X, 5); }},
    {"lost", [](Database &db) { return withStatus(db, 6); }, "A", "X", false, [] { return circ::loanRefusedForStatus(X, 6); }},
    {"status undefined", [](Database &db) { return addCopy(db, 1, X, QStringLiteral("a"), none(), none(), none(), 0)
                                                && db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET STA_EXP_ID = NULL")); },
     "A", "X", false, [] { return circ::copyStatusUndefined(X); }},
    {"already lent", [](Database &db) { return addCopy(db, 1, X, QStringLiteral("a"), QStringLiteral("B"), day(3)); }, "A",
     "X", false, [] { return circ::copyOnLoanUntil(X, today().addDays(3)); }},
    {"inter-library copy lent is never lent again",
     [](Database &db) { return addCopy(db, 1, X, QStringLiteral("a"), QStringLiteral("P"), day(3), none(), 4)
                            && addDeskReader(db, QStringLiteral("P"), 9); },
     "P", "X", false, [] { return circ::copyOnLoanUntil(X, today().addDays(3)); }},
    {"inter-library copy to an ordinary reader", [](Database &db) { return withStatus(db, 4); }, "A", "X", false,
     [] { return circ::interLibraryCopyOrdinaryReader(X, QStringLiteral("A")); }},
    {"inter-library copy to a correspondent",
     [](Database &db) { return withStatus(db, 4) && addDeskReader(db, QStringLiteral("P"), 9); }, "P", "X", true,
     [] { return circ::loanDone(X); }},
    {"correspondent and an ordinary copy", [](Database &db) { return shelfCopy(db) && addDeskReader(db, QStringLiteral("P"), 9); },
     "P", "X", false, [] { return circ::interLibraryReaderOrdinaryCopy(X, QStringLiteral("P")); }},
    {"no rule for the type", [](Database &db) { return addCopy(db, 1, X, QStringLiteral("b"), none(), none()); }, "A", "X",
     false, [] { return circ::loanNoRule(); }},
    {"rule of 0 documents",
     [](Database &db) { return shelfCopy(db) && db.exec(QStringLiteral("UPDATE REGLEMENT SET REG_DOCUMENT = 0 WHERE CAT_ID = 1")); },
     "A", "X", false, [] { return circ::quotaExceeded(QStringLiteral("A")); }},
    {"quota reached", [](Database &db) { return shelfCopy(db) && holding(db, 3); }, "A", "X", false,
     [] { return circ::quotaExceeded(QStringLiteral("A")); }},
    {"quota: one place left", [](Database &db) { return shelfCopy(db) && holding(db, 2); }, "A", "X", true,
     [] { return circ::loanDone(X); }},
    {"quota ignores other types",
     [](Database &db) { return shelfCopy(db) && holding(db, 3, QStringLiteral("b")); }, "A", "X", true,
     [] { return circ::loanDone(X); }},
    {"quota ignores in-house loans",
     [](Database &db) { return shelfCopy(db) && holding(db, 3, QStringLiteral("a"), 3); }, "A", "X", true,
     [] { return circ::loanDone(X); }},
    {"reserved by another reader until tomorrow", [](Database &db) { return reservedUntil(db, "B", 1); }, "A", "X", false,
     [] { return circ::loanReservedUntil(X, today().addDays(1)); }},
    {"reserved by another reader until today", [](Database &db) { return reservedUntil(db, "B", 0); }, "A", "X", false,
     [] { return circ::loanReservedUntil(X, today()); }},
    {"held for the same reader", [](Database &db) { return reservedUntil(db, "A", 1); }, "A", "X", true,
     [] { return circ::loanDone(X); }},
    {"reservation lapsed", [](Database &db) { return reservedUntil(db, "B", -1); }, "A", "X", true,
     [] { return circ::loanDone(X); }},
    {"suspended reader", [](Database &db) { return shelfCopy(db) && addDeskReader(db, QStringLiteral("S"), 1, 2); }, "S", "X",
     false, [] { return circ::readerSuspended(QStringLiteral("S")); }},
    {"reader with an overdue loan", [](Database &db) { return shelfCopy(db) && addCopy(db, 5, QStringLiteral("L"), QStringLiteral("a"), QStringLiteral("A"), day(-1)); },
     "A", "X", false, [] { return circ::readerOverdue(QStringLiteral("A")); }},
};

} // namespace

class TstLoanDesk : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("resp.pret");
        session().CurrentUserRole = 4;
    }
    void cleanup() { setMessageSink(nullptr); }

    void loan_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("index");
        for (const QString &engine : engines())
            for (int i = 0; i < int(std::size(kLoanCases)); ++i)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(kLoanCases[i].name))) << engine << i;
    }
    void loan()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const LoanCase &k = kLoanCases[index];
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(k.setup(db));
        const QString reader = QString::fromLatin1(k.reader).trimmed();
        const QVariant holdBefore = copyValue(db, X, "EXP_DATE_RESERVATION");
        const QVariant borrowerBefore = copyValue(db, X, "LEC_ID");

        LoanDesk desk(db, today());
        const DeskResult r = desk.lend(QLatin1String(k.reader), QLatin1String(k.copy));
        QCOMPARE(r.lines.value(0), k.message());
        QCOMPARE(r.passed, k.done);
        QCOMPARE(r.blue, k.done);
        if (k.done) {
            QCOMPARE(copyValue(db, X, "LEC_ID").toString(), reader);
            QCOMPARE(copyDate(db, X, "EXP_DATE_PRET"), today());
            QCOMPARE(copyDate(db, X, "EXP_DATE_RETOUR"), today().addDays(15));
            // The loan takes the place of the reservation.
            QVERIFY(copyValue(db, X, "LEC_ID2").isNull());
            QVERIFY(copyValue(db, X, "EXP_DATE_RESERVATION").isNull());
            QCOMPARE(recordCounter(db, 1, "DOC_PRET_EXTERNE"), 1);
            QCOMPARE(readerValue(db, reader, "LEC_STAT_PRET").toInt(), 1);
            QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 1 AND EXP_ID = 'X' AND LEC_ID = ? AND DOC_ID = 1 "
                                                    "AND HIS_USER = 'resp.pret'"),
                                 {reader}),
                     1);
        } else {
            QCOMPARE(copyValue(db, X, "LEC_ID"), borrowerBefore);
            QCOMPARE(copyValue(db, X, "EXP_DATE_RESERVATION"), holdBefore);
            QCOMPARE(recordCounter(db, 1, "DOC_PRET_EXTERNE"), 0);
            QCOMPARE(db.scalar(QStringLiteral("SELECT SUM(COALESCE(LEC_STAT_PRET, 0)) FROM LECTEUR")).toInt(), 0);
            QCOMPARE(journalRows(db), 0);
        }
    }

    // The due date moves past closed periods and weekly closing days.
    void dueDate_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("closedFrom");   // days from today; -1: no period
        QTest::addColumn<int>("closedTo");
        QTest::addColumn<bool>("closeDayAfter");  // the day after the period is a weekly closing day
        QTest::addColumn<int>("due");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " open day").constData()) << engine << -1 << -1 << false << 15;
            QTest::newRow(QByteArray(e + " in a closed period").constData()) << engine << 10 << 20 << false << 21;
            QTest::newRow(QByteArray(e + " on the period's last day").constData()) << engine << 15 << 15 << false << 16;
            QTest::newRow(QByteArray(e + " period then a closing day").constData()) << engine << 12 << 17 << true << 19;
        }
    }
    void dueDate()
    {
        QFETCH(QString, engine);
        QFETCH(int, closedFrom);
        QFETCH(int, closedTo);
        QFETCH(bool, closeDayAfter);
        QFETCH(int, due);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(shelfCopy(db));
        if (closedFrom >= 0)
            QVERIFY(insert(db, "JOUR_EXCEPTION", {QStringLiteral("JEX_ID"), QStringLiteral("DATE_DEBUT"), QStringLiteral("DATE_FIN")},
                           {1, today().addDays(closedFrom), today().addDays(closedTo)}));
        if (closeDayAfter)
            QVERIFY(db.exec(QStringLiteral("UPDATE PARAMETRE SET WEEKEND1 = ?"),
                            {today().addDays(closedTo + 1).dayOfWeek() % 7 + 1}));
        LoanDesk desk(db, today());
        QVERIFY2(desk.lend(QStringLiteral("A"), X).passed, qPrintable(desk.lend(QStringLiteral("A"), X).message()));
        QCOMPARE(copyDate(db, X, "EXP_DATE_RETOUR"), today().addDays(due));
    }

    // --- Return -----------------------------------------------------------

    void giveBack_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("reader");      // the borrower, of category 1 (flat) or C of 2 (proportional)
        QTest::addColumn<int>("dueIn");           // days from today
        QTest::addColumn<QString>("typed");       // reader number typed
        QTest::addColumn<bool>("done");
        QTest::addColumn<int>("penaltyDays");     // -1: none
        QTest::addColumn<int>("statusAfter");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " on time").constData()) << engine << "A" << 0 << "" << true << -1 << 0;
            QTest::newRow(QByteArray(e + " five days late, flat").constData()) << engine << "A" << -5 << "" << true << 2 << 1;
            QTest::newRow(QByteArray(e + " five days late, proportional").constData()) << engine << "C" << -5 << "C" << true << 10 << 1;
            QTest::newRow(QByteArray(e + " late and suspended").constData()) << engine << "S" << -1 << "" << true << 2 << 3;
            QTest::newRow(QByteArray(e + " another reader typed").constData()) << engine << "A" << -5 << "B" << false << -1 << 0;
            QTest::newRow(QByteArray(e + " no penalty in the category").constData()) << engine << "P" << -5 << "" << true << -1 << 0;
        }
    }
    void giveBack()
    {
        QFETCH(QString, engine);
        QFETCH(QString, reader);
        QFETCH(int, dueIn);
        QFETCH(QString, typed);
        QFETCH(bool, done);
        QFETCH(int, penaltyDays);
        QFETCH(int, statusAfter);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addDeskReader(db, QStringLiteral("S"), 1, 2));
        QVERIFY(db.exec(QStringLiteral("UPDATE CATEGORIE SET CAT_PENALITE = 0 WHERE CAT_ID = 9")));
        QVERIFY(addDeskReader(db, QStringLiteral("P"), 9));
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), reader, day(dueIn)));

        LoanDesk desk(db, today());
        const DeskResult r = desk.giveBack(X, typed);
        QCOMPARE(r.passed, done);
        QCOMPARE(readerStatus(db, reader), statusAfter);
        QCOMPARE(copyValue(db, X, "LEC_ID").isNull(), done);
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 2")), done ? 1 : 0);
        if (!done) {
            QCOMPARE(r.message(), circ::readerNotBorrower());
            return;
        }
        QCOMPARE(r.readerId, reader);
        if (penaltyDays < 0) {
            QCOMPARE(r.message(), circ::returnDone(X));
            QVERIFY(r.blue);
        } else {
            const QDate until = today().addDays(penaltyDays);
            QCOMPARE(readerDate(db, reader, "LEC_FIN_PENALITE"), until);
            QCOMPARE(r.message(), circ::returnPenalised(reader, until));
            QVERIFY(!r.blue);
        }
    }

    // A reserved copy comes back held for its reserver, and the desk says so.
    void returnOfAReservedCopy_data() { addEngineRows(); }
    void returnOfAReservedCopy()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), QStringLiteral("A"), day(2), QStringLiteral("B")));
        LoanDesk desk(db, today());
        const DeskResult r = desk.giveBack(X);
        QVERIFY(r.passed);
        QCOMPARE(r.lines, QStringList({circ::returnDone(X), circ::returnedCopyReserved(QStringLiteral("B"), today().addDays(5))}));
        QCOMPARE(copyValue(db, X, "LEC_ID2").toString(), QStringLiteral("B"));
        QCOMPARE(copyDate(db, X, "EXP_DATE_RESERVATION"), today().addDays(5));
        // Held for B: A cannot borrow it again, B can.
        QCOMPARE(desk.lend(QStringLiteral("A"), X).message(), circ::loanReservedUntil(X, today().addDays(5)));
        QVERIFY(desk.lend(QStringLiteral("B"), X).passed);
    }

    // --- Reservation, renewal, cancellation ---------------------------------

    void reservation_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QVariant>("borrower");
        QTest::addColumn<QVariant>("reserver");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("message");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " by another reader").constData()) << engine << QVariant(QStringLiteral("A")) << none() << "B" << true
                                                     << circ::reservationDone(X);
            QTest::newRow(QByteArray(e + " copy on the shelf").constData()) << engine << none() << none() << "B" << false
                                                    << circ::reservationCopyAvailable(X);
            QTest::newRow(QByteArray(e + " by the borrower").constData()) << engine << QVariant(QStringLiteral("A")) << none() << "A" << false
                                                  << circ::reservationReaderHoldsCopy(X);
            QTest::newRow(QByteArray(e + " reserved already").constData()) << engine << QVariant(QStringLiteral("A")) << QVariant(QStringLiteral("C"))
                                                   << "B" << false
                                                   << circ::reservationAlreadyReserved(X, today().addDays(5));
        }
    }
    void reservation()
    {
        QFETCH(QString, engine);
        QFETCH(QVariant, borrower);
        QFETCH(QVariant, reserver);
        QFETCH(QString, reader);
        QFETCH(bool, done);
        QFETCH(QString, message);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), borrower, borrower.isNull() ? none() : day(4), reserver));
        LoanDesk desk(db, today());
        const DeskResult r = desk.reserve(reader, X);
        QCOMPARE(r.message(), message);
        QCOMPARE(r.passed, done);
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 3")), done ? 1 : 0);
        if (done) {
            QCOMPARE(copyValue(db, X, "LEC_ID2").toString(), reader);
            // The hold lasts the rule's 3 days after the due date.
            QCOMPARE(copyDate(db, X, "EXP_DATE_RESERVATION"), today().addDays(7));
        } else {
            QCOMPARE(copyValue(db, X, "LEC_ID2").toString(), reserver.toString());
        }
    }

    void renewal_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("lentDaysAgo");
        QTest::addColumn<int>("dueIn");
        QTest::addColumn<QVariant>("reserver");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("message");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " on the due day").constData()) << engine << 15 << 0 << none() << true << circ::renewalDone(X);
            QTest::newRow(QByteArray(e + " the day after").constData()) << engine << 16 << -1 << none() << false << circ::renewalDuePassed(X);
            QTest::newRow(QByteArray(e + " renewed already").constData()) << engine << 10 << 12 << none() << false << circ::renewalAlreadyDone(X);
            QTest::newRow(QByteArray(e + " reserved").constData()) << engine << 5 << 10 << QVariant(QStringLiteral("B")) << false
                                           << circ::renewalReserved(X, today().addDays(5));
        }
    }
    void renewal()
    {
        QFETCH(QString, engine);
        QFETCH(int, lentDaysAgo);
        QFETCH(int, dueIn);
        QFETCH(QVariant, reserver);
        QFETCH(bool, done);
        QFETCH(QString, message);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), QStringLiteral("A"), day(dueIn), reserver));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_DATE_PRET = ?"), {dateValue(db, today().addDays(-lentDaysAgo))}));
        LoanDesk desk(db, today());
        const DeskResult r = desk.renew(X);
        QCOMPARE(r.message(), message);
        QCOMPARE(r.readerId, QStringLiteral("A"));
        QCOMPARE(copyDate(db, X, "EXP_DATE_RETOUR"), today().addDays(dueIn + (done ? 7 : 0)));
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 4")), done ? 1 : 0);
        if (done)  // and once only
            QCOMPARE(desk.renew(X).message(), circ::renewalAlreadyDone(X));
    }

    void cancellation_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QVariant>("reserver");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " no reader typed").constData()) << engine << QVariant(QStringLiteral("B")) << "" << circ::cancellationDone(X);
            QTest::newRow(QByteArray(e + " the reserver typed").constData()) << engine << QVariant(QStringLiteral("B")) << "B" << circ::cancellationDone(X);
            QTest::newRow(QByteArray(e + " another reader typed").constData()) << engine << QVariant(QStringLiteral("B")) << "C" << circ::readerNotReserver();
            QTest::newRow(QByteArray(e + " not reserved").constData()) << engine << none() << "" << circ::cancellationNotReserved(X);
        }
    }
    void cancellation()
    {
        QFETCH(QString, engine);
        QFETCH(QVariant, reserver);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), QStringLiteral("A"), day(3), reserver));
        LoanDesk desk(db, today());
        const DeskResult r = desk.cancelReservation(X, typed);
        QCOMPARE(r.message(), message);
        const bool done = message == circ::cancellationDone(X);
        QCOMPARE(r.passed, done);
        if (done)
            QCOMPARE(r.readerId, QStringLiteral("B"));
        QCOMPARE(copyValue(db, X, "LEC_ID2").isNull(), done || reserver.isNull());
        QCOMPARE(copyValue(db, X, "LEC_ID").toString(), QStringLiteral("A"));
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 5 AND LEC_ID = 'B'")), done ? 1 : 0);
    }

    // --- In-house consultation ---------------------------------------------

    void consultation_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("done");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " in-house copy").constData()) << engine << 3 << true;
            QTest::newRow(QByteArray(e + " copy for external loan").constData()) << engine << 2 << false;
            QTest::newRow(QByteArray(e + " inter-library copy").constData()) << engine << 4 << false;
        }
    }
    void consultation()
    {
        QFETCH(QString, engine);
        QFETCH(int, status);
        QFETCH(bool, done);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(withStatus(db, status));
        LoanDesk desk(db, today());
        const DeskResult r = desk.consult(QStringLiteral("A"), X);
        QCOMPARE(r.message(), done ? circ::consultationDone(X) : circ::consultationRefusedForStatus(X, status));
        QCOMPARE(recordCounter(db, 1, "DOC_PRET_INTERNE"), done ? 1 : 0);
        QCOMPARE(recordCounter(db, 1, "DOC_PRET_EXTERNE"), 0);
        QCOMPARE(readerValue(db, QStringLiteral("A"), "LEC_STAT_PRET").toInt(), 0);
        QCOMPARE(copyDate(db, X, "EXP_DATE_RETOUR"), done ? today() : QDate());
        if (!done)
            return;
        QCOMPARE(desk.consult(QStringLiteral("B"), X).message(), circ::consultationRefusedForStatus(X, 3));
        const DeskResult back = desk.endConsultation(X);
        QCOMPARE(back.message(), circ::returnDone(X));
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION IN (6, 7) AND LEC_ID = 'A'")), 2);
    }

    // Returned the next day: the reader is penalised, flat or per day late.
    void consultationReturnedLate_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<int>("daysLate");
        QTest::addColumn<int>("penaltyDays");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " next day, flat").constData()) << engine << "A" << 1 << 2;
            QTest::newRow(QByteArray(e + " three days, proportional").constData()) << engine << "C" << 3 << 6;
        }
    }
    void consultationReturnedLate()
    {
        QFETCH(QString, engine);
        QFETCH(QString, reader);
        QFETCH(int, daysLate);
        QFETCH(int, penaltyDays);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(withStatus(db, 3));
        QVERIFY(LoanDesk(db, today().addDays(-daysLate)).consult(reader, X).passed);
        const DeskResult r = LoanDesk(db, today()).endConsultation(X);
        QVERIFY(r.passed);
        QCOMPARE(r.message(), circ::consultationReturnPenalised(reader, today().addDays(penaltyDays)));
        QCOMPARE(readerStatus(db, reader), 1);
        QCOMPARE(readerDate(db, reader, "LEC_FIN_PENALITE"), today().addDays(penaltyDays));
    }

    // --- Older data, penalties, renewals and the two kinds of loan ----------------

    // Older data holds empty texts where no reader is: the copy is free, or
    // not reserved, exactly as with no value at all.
    void emptyReaderColumns_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("borrower");   // "" stored as an empty text; "-" NULL
        QTest::addColumn<QString>("reserver");
        QTest::addColumn<int>("status");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " loan of a copy with empty readers").constData())
                << engine << int(LoanOperation::Loan) << "" << "" << 2;
            QTest::newRow(QByteArray(e + " loan of a copy with blank readers").constData())
                << engine << int(LoanOperation::Loan) << "  " << " " << 2;
            QTest::newRow(QByteArray(e + " reservation of a lent copy, empty reserver").constData())
                << engine << int(LoanOperation::Reservation) << "A" << "" << 2;
            QTest::newRow(QByteArray(e + " renewal, empty reserver").constData())
                << engine << int(LoanOperation::Renewal) << "A" << "" << 2;
            QTest::newRow(QByteArray(e + " consultation, empty borrower").constData())
                << engine << int(LoanOperation::Consultation) << "" << "-" << 3;
        }
    }
    void emptyReaderColumns()
    {
        QFETCH(QString, engine);
        QFETCH(int, operation);
        QFETCH(QString, borrower);
        QFETCH(QString, reserver);
        QFETCH(int, status);
        const LoanOperation op = LoanOperation(operation);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(withStatus(db, status));
        const auto stored = [](const QString &v) { return v == QLatin1String("-") ? QVariant() : QVariant(v); };
        const bool lent = !borrower.trimmed().isEmpty();
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = ?, LEC_ID2 = ?, EXP_DATE_PRET = ?, EXP_DATE_RETOUR = ?"),
                        {stored(borrower), stored(reserver), lent ? dateValue(db, today().addDays(-10)) : QVariant(),
                         lent ? dateValue(db, today().addDays(5)) : QVariant()}));
        const QString reader = op == LoanOperation::Reservation ? QStringLiteral("B") : QStringLiteral("A");
        const DeskResult r = LoanDesk(db, today()).run(op, op == LoanOperation::Renewal ? QString() : reader, X);
        QVERIFY2(r.passed, qPrintable(r.message()));
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = ?"), {operation}), 1);
        if (op == LoanOperation::Reservation)
            QCOMPARE(copyValue(db, X, "LEC_ID2").toString(), reader);
        else
            QCOMPARE(copyValue(db, X, "LEC_ID").toString(), QStringLiteral("A"));
    }

    // The reader check clears a penalty that is over; a loan refused
    // afterwards keeps that.
    void endedPenaltyClearedWhateverTheLoan_data() { addEngineRows(); }
    void endedPenaltyClearedWhateverTheLoan()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        ReaderRow p;
        p.id = QStringLiteral("P1");
        p.status = 1;
        p.penaltyEnd = day(-1);
        QVERIFY(addReader(db, p));
        // No loan rule for the type "b": the loan is refused after the reader check.
        QVERIFY(addCopy(db, 1, X, QStringLiteral("b"), none(), none()));
        const DeskResult r = LoanDesk(db, today()).lend(QStringLiteral("P1"), X);
        QCOMPARE(r.message(), circ::loanNoRule());
        QCOMPARE(readerStatus(db, QStringLiteral("P1")), 0);
        QVERIFY(copyValue(db, X, "LEC_ID").isNull());
    }

    // A return dated before its loan (an offline desk's file) is refused.
    void returnBeforeItsLoan_data() { addEngineRows(); }
    void returnBeforeItsLoan()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(shelfCopy(db));
        const QDate lent = today().addDays(-3);
        QVERIFY(LoanDesk(db, lent).lend(QStringLiteral("A"), X).passed);
        const ReplayResult replay = replayDeskText(
            db, lent.addDays(-2).toString(Qt::ISODate) + QStringLiteral("\treturn\t\tX\n") + lent.toString(Qt::ISODate)
                    + QStringLiteral("\treturn\t\tX\n"));
        QCOMPARE(replay.refused, 1);
        QCOMPARE(replay.done, 1);
        QCOMPARE(replay.lines.value(0), QStringLiteral("1: ") + circ::returnBeforeLoan(X, lent));
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 2")), 1);
        QVERIFY(copyValue(db, X, "LEC_ID").isNull());
    }

    // A late return never shortens a penalty the reader already has; a
    // penalty cancelled by the administration does not come back.
    void laterPenaltyStands_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("consultation");
        QTest::addColumn<int>("statusBefore");
        QTest::addColumn<int>("endBefore");   // days from today
        QTest::addColumn<int>("endAfter");
        QTest::addColumn<int>("statusAfter");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            for (const bool consultation : {false, true}) {
                const QByteArray k = e + (consultation ? " consultation," : " loan,");
                QTest::newRow(QByteArray(k + " a longer penalty stays").constData()) << engine << consultation << 1 << 30 << 30 << 1;
                QTest::newRow(QByteArray(k + " a shorter one is replaced").constData()) << engine << consultation << 1 << 1 << 2 << 1;
                QTest::newRow(QByteArray(k + " suspended and penalised longer").constData()) << engine << consultation << 3 << 30 << 30 << 3;
                QTest::newRow(QByteArray(k + " a cancelled penalty is not revived").constData()) << engine << consultation << 0 << 30 << 2 << 1;
            }
        }
    }
    void laterPenaltyStands()
    {
        QFETCH(QString, engine);
        QFETCH(bool, consultation);
        QFETCH(int, statusBefore);
        QFETCH(int, endBefore);
        QFETCH(int, endAfter);
        QFETCH(int, statusAfter);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(db.exec(QStringLiteral("UPDATE LECTEUR SET LEC_STATUT = ?, LEC_FIN_PENALITE = ? WHERE LEC_ID = 'A'"),
                        {statusBefore, dateValue(db, today().addDays(endBefore))}));
        // One day late, in the flat category of 2 days.
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), QStringLiteral("A"), day(-1), none(), consultation ? 3 : 2));
        LoanDesk desk(db, today());
        const DeskResult r = consultation ? desk.endConsultation(X) : desk.giveBack(X);
        QVERIFY(r.passed);
        const QDate until = today().addDays(endAfter);
        QCOMPARE(readerDate(db, QStringLiteral("A"), "LEC_FIN_PENALITE"), until);
        QCOMPARE(readerStatus(db, QStringLiteral("A")), statusAfter);
        QCOMPARE(r.message(), consultation ? circ::consultationReturnPenalised(QStringLiteral("A"), until)
                                           : circ::returnPenalised(QStringLiteral("A"), until));
    }

    // Whether a loan was renewed is what the journal says: a due date moved
    // past closing days is no renewal. A loan older than the journal is
    // compared with the due date its loan day gave.
    void renewalPastClosingDays_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("journalled");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" loan in the journal"))) << engine << true;
            QTest::newRow(qPrintable(engine + QStringLiteral(" loan older than the journal"))) << engine << false;
        }
    }
    void renewalPastClosingDays()
    {
        QFETCH(QString, engine);
        QFETCH(bool, journalled);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(shelfCopy(db));
        // The 15 days of the loan end on a closing day, and the next day is closed too.
        const QDate lent = today().addDays(-17);
        const int closed = lent.addDays(15).dayOfWeek() % 7 + 1;
        QVERIFY(db.exec(QStringLiteral("UPDATE PARAMETRE SET WEEKEND1 = ?, WEEKEND2 = ?"), {closed, closed % 7 + 1}));
        QVERIFY(LoanDesk(db, lent).lend(QStringLiteral("A"), X).passed);
        QCOMPARE(copyDate(db, X, "EXP_DATE_RETOUR"), today());
        if (!journalled)
            QVERIFY(db.exec(QStringLiteral("DELETE FROM HISTORIQUE_PRET")));
        LoanDesk desk(db, today());
        const DeskResult r = desk.renew(X);
        QCOMPARE(r.message(), circ::renewalDone(X));
        QCOMPARE(copyDate(db, X, "EXP_DATE_RETOUR"), DueDate(db, today(), 7));
        const DeskResult again = LoanDesk(db, copyDate(db, X, "EXP_DATE_RETOUR")).renew(X);
        QCOMPARE(again.message(), circ::renewalAlreadyDone(X));
    }

    // The loan desk returns loans, the consultation screen consultations:
    // each refuses the other kind and says where it is returned.
    void eachScreenReturnsItsOwnKind_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("inHouse");        // the copy is consulted (status 3) or lent
        QTest::addColumn<bool>("atConsultation"); // returned at the consultation screen
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " loan at the loan desk").constData()) << engine << false << false;
            QTest::newRow(QByteArray(e + " loan at the consultation screen").constData()) << engine << false << true;
            QTest::newRow(QByteArray(e + " consultation at the loan desk").constData()) << engine << true << false;
            QTest::newRow(QByteArray(e + " consultation at its screen").constData()) << engine << true << true;
        }
    }
    void eachScreenReturnsItsOwnKind()
    {
        QFETCH(QString, engine);
        QFETCH(bool, inHouse);
        QFETCH(bool, atConsultation);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(withStatus(db, inHouse ? 3 : 2));
        LoanDesk desk(db, today().addDays(-2));
        QVERIFY(inHouse ? desk.consult(QStringLiteral("A"), X).passed : desk.lend(QStringLiteral("A"), X).passed);
        LoanDesk back(db, today());
        const DeskResult r = atConsultation ? back.endConsultation(X) : back.giveBack(X);
        if (inHouse == atConsultation) {
            QVERIFY(r.passed);
            QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = ?"), {inHouse ? 7 : 2}), 1);
            return;
        }
        QVERIFY(!r.passed);
        QCOMPARE(r.message(), inHouse ? circ::consultationAtLoanDesk(X) : circ::loanAtConsultationScreen(X));
        QCOMPARE(copyValue(db, X, "LEC_ID").toString(), QStringLiteral("A"));
        QCOMPARE(readerStatus(db, QStringLiteral("A")), 0);
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION IN (2, 7)")), 0);
    }

    // --- Failures ----------------------------------------------------------------

    // A statement failing after the copy was written leaves everything as it
    // was, and no success is shown.
    void failureLeavesNothing_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("event");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::newRow(QByteArray(e + " record counter").constData()) << engine << "NOTICE" << "UPDATE";
            QTest::newRow(QByteArray(e + " reader counter").constData()) << engine << "LECTEUR" << "UPDATE";
            QTest::newRow(QByteArray(e + " journal").constData()) << engine << "HISTORIQUE_PRET" << "INSERT";
        }
    }
    void failureLeavesNothing()
    {
        QFETCH(QString, engine);
        QFETCH(QString, table);
        QFETCH(QString, event);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(shelfCopy(db));
        QVERIFY(addCopy(db, 2, QStringLiteral("Y"), QStringLiteral("a"), QStringLiteral("B"), day(-3)));
        // The failure comes after the copy's update (the lock of the reader row is an update on SQLite: let it pass).
        if (db.dialect().isPostgres()) {
            QVERIFY(db.exec(QStringLiteral("CREATE FUNCTION folian_fail() RETURNS trigger AS $$ BEGIN "
                                           "RAISE EXCEPTION 'injected failure'; END $$ LANGUAGE plpgsql")));
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER folian_fail BEFORE %1 ON %2 FOR EACH ROW %3 EXECUTE FUNCTION folian_fail()")
                                .arg(event, table, table == QLatin1String("LECTEUR") ? QStringLiteral("WHEN (NEW.LEC_STAT_PRET IS DISTINCT FROM OLD.LEC_STAT_PRET OR NEW.LEC_STATUT IS DISTINCT FROM OLD.LEC_STATUT)") : QString())));
        } else {
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER folian_fail BEFORE %1 ON %2 %3 BEGIN SELECT RAISE(ABORT, 'injected failure'); END")
                                .arg(event, table, table == QLatin1String("LECTEUR") ? QStringLiteral("WHEN NEW.LEC_STAT_PRET IS NOT OLD.LEC_STAT_PRET OR NEW.LEC_STATUT IS NOT OLD.LEC_STATUT") : QString())));
        }
        LoanDesk desk(db, today());
        const DeskResult loan = desk.lend(QStringLiteral("A"), X);
        QVERIFY(!loan.passed);
        QVERIFY(!loan.blue);
        QCOMPARE(loan.lines.value(0), TFrmData::PostErrorMessage());
        QVERIFY(copyValue(db, X, "LEC_ID").isNull());
        QCOMPARE(recordCounter(db, 1, "DOC_PRET_EXTERNE"), 0);
        QCOMPARE(readerValue(db, QStringLiteral("A"), "LEC_STAT_PRET").toInt(), 0);
        QCOMPARE(journalRows(db), 0);
        if (table == QLatin1String("NOTICE"))
            return;
        // A late return: the copy keeps its loan and the reader is not penalised.
        const DeskResult back = desk.giveBack(QStringLiteral("Y"));
        QVERIFY(!back.passed);
        QCOMPARE(copyValue(db, QStringLiteral("Y"), "LEC_ID").toString(), QStringLiteral("B"));
        QCOMPARE(readerStatus(db, QStringLiteral("B")), 0);
        QCOMPARE(journalRows(db), 0);
    }

    // A copy another desk changed between the check and the write: nothing
    // is written and the desk tells the copy's real state.
    void copyChangedBetweenCheckAndWrite_data() { addEngineRows(); }
    void copyChangedBetweenCheckAndWrite()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(shelfCopy(db));
        LoanDesk desk(db, today());
        QVERIFY(desk.checkCopy(LoanOperation::Loan, X).passed);
        QVERIFY(desk.checkReader(QStringLiteral("A")).passed);
        QVERIFY(LoanDesk(db, today()).lend(QStringLiteral("B"), X).passed);  // the other desk
        const DeskResult r = desk.lend(QStringLiteral("A"), X);
        QVERIFY(!r.passed);
        QCOMPARE(r.message(), circ::copyOnLoanUntil(X, today().addDays(15)));
        QCOMPARE(copyValue(db, X, "LEC_ID").toString(), QStringLiteral("B"));
        QCOMPARE(journalRows(db), 1);
    }

    // The upgrade of a version-1 database journals the loans and
    // reservations that are current.
    void upgradeJournalsCurrentLoans_data() { addEngineRows(); }
    void upgradeJournalsCurrentLoans()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 1, X, QStringLiteral("a"), QStringLiteral("A"), day(3), QStringLiteral("B")));
        QVERIFY(addCopy(db, 2, QStringLiteral("Y"), QStringLiteral("a"), QStringLiteral("C"), day(0), none(), 3));
        QVERIFY(addCopy(db, 3, QStringLiteral("Z"), QStringLiteral("a"), none(), none()));
        QVERIFY(db.exec(QStringLiteral("DROP TABLE HISTORIQUE_PRET")));
        QVERIFY(db.exec(QStringLiteral("DELETE FROM VERSION_BASE WHERE VRS_NUMERO > 1")));
        QString why;
        QVERIFY2(upgradeSchema(db, &why), qPrintable(why));
        QCOMPARE(schemaVersion(db), Schema::currentVersion());
        QCOMPARE(journalRows(db), 3);
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 1 AND EXP_ID = 'X' AND LEC_ID = 'A'")), 1);
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 3 AND EXP_ID = 'X' AND LEC_ID = 'B'")), 1);
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 6 AND EXP_ID = 'Y' AND LEC_ID = 'C'")), 1);
        // New operations take the next keys.
        QVERIFY(LoanDesk(db, today()).lend(QStringLiteral("B"), QStringLiteral("Z")).passed);
        QCOMPARE(db.scalar(QStringLiteral("SELECT MAX(HIS_ID) FROM HISTORIQUE_PRET")).toInt(), 4);
    }
};

QTEST_GUILESS_MAIN(TstLoanDesk)
#include "tst_loandesk.moc"
