// folianctl's desk commands on both engines: each operation prints the
// desk's message and exits 0 when done, non-zero when refused; "desk FILE"
// replays an offline desk in file order, each line's date standing for
// today, and counts the lines done and refused.

#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/desktexts.h"
#include "circulation/deskfixture.h"
#include "support/folianctl.h"

#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

QString iso(int fromToday) { return today().addDays(fromToday).toString(Qt::ISODate); }

// One folianctl call: whether it is done (exit 0) and a text its output holds.
struct CtlStep
{
    QStringList args;
    bool done;
    QString message;
};

// Runs the steps in order; false at the first that ends or says otherwise.
bool runSteps(const QString &ini, std::initializer_list<CtlStep> steps)
{
    for (const CtlStep &s : steps) {
        const CtlRun r = runFolianctl(ini, s.args);
        if ((r.code == 0) != s.done || !r.out.contains(s.message)) {
            qWarning("%s (exit %d): %s", qPrintable(s.args.join(u' ')), r.code, qPrintable(r.out));
            return false;
        }
    }
    return true;
}

} // namespace

class TstDeskCtl : public QObject
{
    Q_OBJECT

private slots:
    void init() { session() = Session(); }

    void operations_data() { addEngineRows(); }
    void operations()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCommandAdministrator(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), none(), none()));
        const QString ini = tdb.writeIni();
        QVERIFY(runSteps(ini, {
            {{QStringLiteral("loan"), QStringLiteral("A"), QStringLiteral("X")}, true, circ::loanDone(QStringLiteral("X"))},
            {{QStringLiteral("loan"), QStringLiteral("B"), QStringLiteral("X")}, false,
             circ::copyOnLoanUntil(QStringLiteral("X"), today().addDays(15))},
            {{QStringLiteral("reserve"), QStringLiteral("B"), QStringLiteral("X")}, true, circ::reservationDone(QStringLiteral("X"))},
            {{QStringLiteral("renew"), QStringLiteral("X")}, false, circ::renewalReserved(QStringLiteral("X"), today().addDays(18))},
            {{QStringLiteral("cancel-reservation"), QStringLiteral("X"), QStringLiteral("C")}, false, circ::readerNotReserver()},
            {{QStringLiteral("cancel-reservation"), QStringLiteral("X")}, true, circ::cancellationDone(QStringLiteral("X"))},
            {{QStringLiteral("renew"), QStringLiteral("X"), QStringLiteral("A")}, true, circ::renewalDone(QStringLiteral("X"))},
            {{QStringLiteral("return"), QStringLiteral("X"), QStringLiteral("B")}, false, circ::readerNotBorrower()},
            {{QStringLiteral("return"), QStringLiteral("X")}, true, circ::returnDone(QStringLiteral("X"))},
            {{QStringLiteral("return"), QStringLiteral("X")}, false, circ::copyNotOnLoan(QStringLiteral("X"))},
        }));
        QCOMPARE(journalRows(db), 5);
    }

    // Deleting a reader or a category from a script, through the services
    // the screens use: a refusal is a failure status with its reason.
    void deletions_data() { addEngineRows(); }
    void deletions()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCategory(db, 4, QStringLiteral("Visiteur")));
        QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), QStringLiteral("A"), day(3)));
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        QVERIFY(runSteps(ini, {
            {{QStringLiteral("reader-delete"), QStringLiteral("A")}, false,
             circ::readerNotDeletable(QStringLiteral("A"), 1, 0, 0)},
            {{QStringLiteral("reader-delete"), QStringLiteral("Q")}, false, circ::readerUnknown(QStringLiteral("Q"))},
            {{QStringLiteral("reader-delete"), QStringLiteral("B")}, true, QString()},
            {{QStringLiteral("category-delete"), QStringLiteral("1")}, false,
             circ::categoryInUse(QStringLiteral("Etudiant"), 1)},
            {{QStringLiteral("category-delete"), QStringLiteral("9")}, false, circ::categoryNotDeletable().trimmed()},
            {{QStringLiteral("category-delete"), QStringLiteral("x")}, false, QStringLiteral("CAT_ID")},
            {{QStringLiteral("category-delete"), QStringLiteral("4")}, true, QString()},
        }));
        QVERIFY(readerValue(db, QStringLiteral("B"), "LEC_ID").isNull());
        QCOMPARE(readerValue(db, QStringLiteral("A"), "LEC_ID").toString(), QStringLiteral("A"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CATEGORIE WHERE CAT_ID IN (1, 4, 9)")).toInt(), 2);
    }

    void offlineDesk_data() { addEngineRows(); }
    void offlineDesk()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCommandAdministrator(db));
        QVERIFY(addCopy(db, 1, QStringLiteral("X"), QStringLiteral("a"), none(), none()));
        QVERIFY(addCopy(db, 2, QStringLiteral("Y"), QStringLiteral("a"), none(), none()));
        // Lent 20 days ago for 15 days: back 5 days late, 2 days of penalty (flat) from that day.
        const QString file = tdb.dir() + QStringLiteral("desk.txt");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QStringList lines{iso(-20) + QStringLiteral("\tloan\tA\tX"),
                                iso(-19) + QStringLiteral("\tloan\tB\tY"),
                                iso(-18) + QStringLiteral("\treserve\tA\tY"),
                                QString(),
                                iso(-1) + QStringLiteral("\treturn\t\tX"),
                                iso(1) + QStringLiteral("\tloan\tC\tX"),
                                QStringLiteral("yesterday\tloan\tC\tX"),
                                iso(0) + QStringLiteral("\tlend\tC\tX")};
        f.write(lines.join(u'\n').toUtf8());
        f.close();
        const CtlRun r = runFolianctl(tdb.writeIni(), {QStringLiteral("desk"), file});
        QVERIFY2(r.code != 0, qPrintable(r.out));
        QVERIFY2(r.out.contains(circ::replayCounts(4, 3)), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("5: ") + circ::returnPenalised(QStringLiteral("A"), today().addDays(1))));
        QVERIFY(r.out.contains(circ::replayFutureDate(6, today().addDays(1))));
        QVERIFY(r.out.contains(circ::replayBadLine(7)));
        QVERIFY(r.out.contains(circ::replayUnknownOperation(8, QStringLiteral("lend"))));
        // The line's date is the loan's day and the journal's.
        QCOMPARE(copyDate(db, QStringLiteral("Y"), "EXP_DATE_PRET"), today().addDays(-19));
        QCOMPARE(copyDate(db, QStringLiteral("Y"), "EXP_DATE_RETOUR"), today().addDays(-4));
        QCOMPARE(copyDate(db, QStringLiteral("Y"), "EXP_DATE_RESERVATION"), today().addDays(-1));
        QCOMPARE(readerDate(db, QStringLiteral("A"), "LEC_FIN_PENALITE"), today().addDays(1));
        QCOMPARE(journalRows(db), 4);
        QCOMPARE(db.dialect().fromDb(db.scalar(QStringLiteral("SELECT MIN(HIS_DATE) FROM HISTORIQUE_PRET")), ColType::DateTime)
                     .toDateTime()
                     .date(),
                 today().addDays(-20));
    }
};

QTEST_GUILESS_MAIN(TstDeskCtl)
#include "tst_deskctl.moc"
