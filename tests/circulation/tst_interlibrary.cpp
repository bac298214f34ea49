// Incoming inter-library loans on both engines: registration with the reader
// check of the desk and its refusals, the return found by copy number and
// library, the penalty of a late return whatever the category's penalty,
// the journal rows, and what an overdue loan does at the loan desk.

#include "base/dates.h"
#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/interlibrary.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/loanjournal.h"
#include "circulation/interlibraryfixture.h"
#include "support/session.h"

#include <QLocale>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

InterLibraryLoan loanOf(const QString &reader, const QString &copy, const QVariant &library, const QString &due)
{
    InterLibraryLoan l;
    l.reader = reader;
    l.copy = copy;
    l.title = QStringLiteral("L'Harmattan et d'Alembert");
    l.author = QStringLiteral("Ibn Khaldoun");
    l.libraryId = library;
    l.due = due;
    return l;
}

QString typed(const QDate &d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

QDate pebDate(Database &db, const char *column, const QString &copy)
{
    const QVariant v = db.scalar(QStringLiteral("SELECT %1 FROM PEB WHERE PEB_EXP_ID = ? ORDER BY PEB_ID DESC")
                                     .arg(QLatin1String(column)),
                                 {copy});
    return db.dialect().fromDb(v, ColType::Date).toDate();
}

} // namespace

class TstInterLibrary : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink);
        session().CurrentUserLogin = QStringLiteral("resp.peb");
        session().CurrentUserRole = 4;
    }
    void cleanup() { setMessageSink(nullptr); }

    void typedDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("day first") << QStringLiteral("05/03/2031") << QDate(2031, 3, 5);
        QTest::newRow("short") << QStringLiteral("5/3/2031") << QDate(2031, 3, 5);
        QTest::newRow("dashes") << QStringLiteral("05-03-2031") << QDate(2031, 3, 5);
        QTest::newRow("dots, two digits") << QStringLiteral("5.3.31") << QDate(2031, 3, 5);
        QTest::newRow("iso") << QStringLiteral(" 2031-03-05 ") << QDate(2031, 3, 5);
        QTest::newRow("no such day") << QStringLiteral("31/02/2031") << QDate();
        QTest::newRow("words") << QStringLiteral("demain") << QDate();
        QTest::newRow("empty") << QString() << QDate();
        QTest::newRow("trailing text") << QStringLiteral("05/03/2031x") << QDate();
    }
    void typedDates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        QCOMPARE(ReadDate(text), expected);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(ReadDate(text), expected);
    }

    void penalties_data()
    {
        QTest::addColumn<int>("penalty");
        QTest::addColumn<int>("proportional");
        QTest::addColumn<int>("daysLate");
        QTest::addColumn<int>("endsIn");   // days from today; -1: no penalty
        QTest::newRow("on time") << 2 << 0 << 0 << -1;
        QTest::newRow("no penalty in the category") << 0 << 0 << 3 << 0;
        QTest::newRow("flat") << 2 << 0 << 5 << 2;
        QTest::newRow("per day late") << 2 << 1 << 5 << 10;
        QTest::newRow("per day, none") << 0 << 1 << 5 << 0;
        QTest::newRow("negative counts as none") << -3 << 0 << 1 << 0;
    }
    void penalties()
    {
        QFETCH(int, penalty);
        QFETCH(int, proportional);
        QFETCH(int, daysLate);
        QFETCH(int, endsIn);
        const QDate today(2031, 3, 5);
        const std::optional<QDate> end = interLibraryPenaltyEnd(today, today.addDays(-daysLate), penalty, proportional);
        QCOMPARE(end.has_value(), endsIn >= 0);
        if (end)
            QCOMPARE(*end, today.addDays(endsIn));
    }

    void registration_data() { addEngineRows(); }
    void registration()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        const QDate due = today().addDays(21);
        const InterLibraryResult r = InterLibraryDesk(db).lend(loanOf(QStringLiteral(" A "), QStringLiteral(" P-17 "), 2, typed(due)));
        QVERIFY2(r.passed, qPrintable(r.message()));
        QVERIFY(r.blue);
        QCOMPARE(r.message(), circ::loanDone(QStringLiteral("P-17")));
        QCOMPARE(r.readerId, QStringLiteral("A"));
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM PEB WHERE PEB_EXP_ID = 'P-17' AND BIB_ID = 2 "
                                         "AND LEC_ID = 'A' AND BIB_REMIS = 0")),
                 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT PEB_TITRE FROM PEB")).toString(), QStringLiteral("L'Harmattan et d'Alembert"));
        QCOMPARE(pebDate(db, "BIB_PRET", QStringLiteral("P-17")), today());
        QCOMPARE(pebDate(db, "BIB_RETOUR", QStringLiteral("P-17")), due);
        // The journal of the loan desk has it.
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 8 AND EXP_ID = 'P-17' AND LEC_ID = 'A' AND HIS_USER = 'resp.peb'")), 1);
        QCOMPARE(db.dialect().fromDb(db.scalar(QStringLiteral("SELECT HIS_DATE_RETOUR FROM HISTORIQUE_PRET")), ColType::Date).toDate(), due);
        // The same number at the other library is another copy; at the same one it is lent already.
        QVERIFY(InterLibraryDesk(db).lend(loanOf(QStringLiteral("B"), QStringLiteral("P-17"), 1, typed(due))).passed);
        const InterLibraryResult twice = InterLibraryDesk(db).lend(loanOf(QStringLiteral("B"), QStringLiteral("P-17"), 2, typed(due)));
        QVERIFY(!twice.passed);
        QCOMPARE(twice.message(), circ::interLibraryCopyOpen(QStringLiteral("P-17"), QStringLiteral("A")));
        QCOMPARE(openLoans(db, QStringLiteral("P-17")), 2);
        QCOMPARE(journalRows(db), 2);
        // Partner copies stay out of the history of our own copy with the same number.
        const SqlText history = copyHistorySql(QStringLiteral("P-17"));
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM (") + history.sql + QStringLiteral(") H"), history.binds), 0);
    }

    void registrationRefused_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("library");
        QTest::addColumn<QString>("due");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("field");
        const QString ok = typed(today().addDays(10));
        for (const QString &e : engines()) {
            const auto row = [&](const char *name) { return &QTest::newRow(qPrintable(e + u' ' + QLatin1String(name))); };
            *row("unknown reader") << e << QStringLiteral("ZZ ") << QStringLiteral("T") << 1 << ok
                                   << circ::readerUnknown(QStringLiteral("ZZ ")) << int(InterLibraryField::Reader);
            *row("penalised reader") << e << QStringLiteral("PEN") << QStringLiteral("T") << 1 << ok
                                     << circ::readerPenalised(QStringLiteral("PEN"), today().addDays(3))
                                     << int(InterLibraryField::Reader);
            *row("overdue inter-library loan") << e << QStringLiteral("LATE") << QStringLiteral("T") << 1 << ok
                                               << circ::readerOverduePeb(QStringLiteral("LATE"))
                                               << int(InterLibraryField::Reader);
            *row("no title") << e << QStringLiteral("A") << QStringLiteral(" ") << 1 << ok
                             << circ::interLibraryFieldsMissing() << int(InterLibraryField::Title);
            *row("no library") << e << QStringLiteral("A") << QStringLiteral("T") << 0 << ok
                               << circ::libraryNotChosen() << int(InterLibraryField::Library);
            *row("library gone") << e << QStringLiteral("A") << QStringLiteral("T") << 9 << ok
                                 << circ::libraryGone() << int(InterLibraryField::Library);
            *row("no date") << e << QStringLiteral("A") << QStringLiteral("T") << 1 << QStringLiteral("  ")
                            << circ::dueDateMissing() << int(InterLibraryField::Due);
            *row("bad date") << e << QStringLiteral("A") << QStringLiteral("T") << 1 << QStringLiteral("31/02/2031")
                             << circ::dueDateInvalid(QStringLiteral("31/02/2031"), DateFormat())
                             << int(InterLibraryField::Due);
            *row("past date") << e << QStringLiteral("A") << QStringLiteral("T") << 1 << typed(today().addDays(-1))
                              << circ::dueDateBeforeToday(today()) << int(InterLibraryField::Due);
        }
    }
    void registrationRefused()
    {
        QFETCH(QString, engine);
        QFETCH(QString, reader);
        QFETCH(QString, title);
        QFETCH(int, library);
        QFETCH(QString, due);
        QFETCH(QString, message);
        QFETCH(int, field);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        ReaderRow pen;
        pen.id = QStringLiteral("PEN");
        pen.status = 1;
        pen.penaltyEnd = day(3);
        QVERIFY(addReader(db, pen) && addDeskReader(db, QStringLiteral("LATE")));
        QVERIFY(addPeb(db, 1, QStringLiteral("OLD"), 1, QStringLiteral("LATE"), day(-1)));
        InterLibraryLoan loan = loanOf(reader, QStringLiteral("P1"), library > 0 ? QVariant(library) : QVariant(), due);
        loan.title = title;
        const InterLibraryResult r = InterLibraryDesk(db).lend(loan);
        QVERIFY(!r.passed);
        QCOMPARE(r.message(), message);
        QCOMPARE(int(r.field), field);
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM PEB")), 1);
        QCOMPARE(journalRows(db), 0);
    }

    void overdueLoanBlocksTheDesk_data() { addEngineRows(); }
    void overdueLoanBlocksTheDesk()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), none(), none()));
        QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 1, QStringLiteral("A"), day(-1)));
        LoanDesk desk(db);
        const DeskResult refused = desk.lend(QStringLiteral("A"), QStringLiteral("X"));
        QVERIFY(!refused.passed);
        QCOMPARE(refused.message(), circ::readerOverduePeb(QStringLiteral("A")));
        // Due today is not late yet.
        QVERIFY(db.exec(QStringLiteral("UPDATE PEB SET BIB_RETOUR = ?"), {day(0)}));
        QVERIFY(desk.lend(QStringLiteral("A"), QStringLiteral("X")).passed);
    }

    void returns_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("penalty");
        QTest::addColumn<int>("proportional");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("daysLate");
        QTest::addColumn<int>("newStatus");
        QTest::addColumn<int>("endsIn");   // -1: no penalty
        for (const QString &e : engines()) {
            const auto row = [&](const char *name) { return &QTest::newRow(qPrintable(e + u' ' + QLatin1String(name))); };
            *row("on time") << e << 2 << 0 << 0 << 0 << 0 << -1;
            *row("late, no penalty in the category") << e << 0 << 0 << 0 << 3 << 1 << 0;
            *row("late, per day") << e << 2 << 1 << 0 << 5 << 1 << 10;
            *row("late, flat") << e << 2 << 0 << 0 << 5 << 1 << 2;
            *row("late, suspended") << e << 0 << 0 << 2 << 1 << 3 << 0;
        }
    }
    void returns()
    {
        QFETCH(QString, engine);
        QFETCH(int, penalty);
        QFETCH(int, proportional);
        QFETCH(int, status);
        QFETCH(int, daysLate);
        QFETCH(int, newStatus);
        QFETCH(int, endsIn);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        QVERIFY(db.exec(QStringLiteral("UPDATE CATEGORIE SET CAT_PENALITE = ?, CAT_PENALITE_PROP = ? WHERE CAT_ID = 1"),
                        {penalty, proportional}));
        QVERIFY(db.exec(QStringLiteral("UPDATE LECTEUR SET LEC_STATUT = ? WHERE LEC_ID = 'A'"), {status}));
        QVERIFY(addPeb(db, 1, QStringLiteral("P1"), 2, QStringLiteral("A"), day(-daysLate)));

        // At the other library the copy is not on loan.
        InterLibraryResult r = InterLibraryDesk(db).giveBack(QStringLiteral("P1"), 1);
        QVERIFY(!r.passed);
        QCOMPARE(r.message(), circ::interLibraryNotFound());
        QCOMPARE(openLoans(db, QStringLiteral("P1")), 1);

        r = InterLibraryDesk(db).giveBack(QStringLiteral(" P1 "), 2);
        QVERIFY2(r.passed, qPrintable(r.message()));
        QCOMPARE(r.readerId, QStringLiteral("A"));
        QCOMPARE(openLoans(db, QStringLiteral("P1")), 0);
        QCOMPARE(readerStatus(db, QStringLiteral("A")), newStatus);
        if (endsIn < 0) {
            QVERIFY(r.blue);
            QCOMPARE(r.message(), circ::returnDone(QStringLiteral("P1")));
            QVERIFY(readerValue(db, QStringLiteral("A"), "LEC_FIN_PENALITE").isNull());
        } else {
            QVERIFY(!r.blue);
            const QDate until = today().addDays(endsIn);
            QCOMPARE(readerDate(db, QStringLiteral("A"), "LEC_FIN_PENALITE"), until);
            QCOMPARE(r.message(), QStringLiteral("Retour effectué mais le lecteur \"A\"est pénalisé jusqu'au : ")
                                      + ShowDate(until));
        }
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 9 AND EXP_ID = 'P1' AND LEC_ID = 'A'")), 1);

        // Returned once: a second return finds nothing and penalises nobody again.
        QVERIFY(db.exec(QStringLiteral("UPDATE LECTEUR SET LEC_STATUT = 0, LEC_FIN_PENALITE = NULL")));
        r = InterLibraryDesk(db).giveBack(QStringLiteral("P1"), 2);
        QCOMPARE(r.message(), circ::interLibraryNotFound());
        QCOMPARE(readerStatus(db, QStringLiteral("A")), 0);
        QCOMPARE(journalRows(db), 1);
    }

    // A partner's copy lent, returned, lent again and returned again: each
    // return closes the loan that is open, never the one closed before.
    void lentAgainAfterItsReturn_data() { addEngineRows(); }
    void lentAgainAfterItsReturn()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        InterLibraryDesk desk(db, today());
        for (const char *reader : {"A", "B"}) {
            const InterLibraryResult loan = desk.lend(loanOf(QLatin1String(reader), QStringLiteral("P1"), 1, typed(today().addDays(7))));
            QVERIFY2(loan.passed, qPrintable(loan.message()));
            const InterLibraryResult back = desk.giveBack(QStringLiteral("P1"), 1);
            QVERIFY2(back.passed, qPrintable(back.message()));
            QCOMPARE(back.readerId, QLatin1String(reader));
            QCOMPARE(openLoans(db, QStringLiteral("P1")), 0);
        }
        QCOMPARE(rows(db, QStringLiteral("SELECT COUNT(*) FROM PEB WHERE PEB_EXP_ID = 'P1' AND BIB_REMIS = 1")), 2);
        QCOMPARE(journalRows(db, QStringLiteral("HIS_OPERATION = 9 AND LEC_ID = 'B'")), 1);
    }

    void arabicMessages_data() { addEngineRows(); }
    void arabicMessages()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(interLibrarySetUp(db));
        session().setLanguage(QStringLiteral("AR"));
        QCOMPARE(InterLibraryDesk(db).giveBack(QStringLiteral("P1"), 1).message(),
                 QStringLiteral("الإعارة بين المكتبات غير موجودة"));
        const InterLibraryResult r = InterLibraryDesk(db).lend(loanOf(QStringLiteral("A"), QStringLiteral("P1"), 1,
                                                                      QStringLiteral("xx")));
        QCOMPARE(r.message(), circ::dueDateInvalid(QStringLiteral("xx"), DateFormat()));
        QVERIFY(r.message().startsWith(QStringLiteral("تاريخ الإرجاع \"")));
    }
};

QTEST_GUILESS_MAIN(TstInterLibrary)
#include "tst_interlibrary.moc"
