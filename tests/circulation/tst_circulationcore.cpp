// The circulation core on both engines: the status transitions of the
// reader administration, two desks acting on one reader, the search
// criteria, the standing checks, the deletion refusals, the loan rules, the
// rules of the reader row the loan desk applies, and the clearance page.

#include "base/dates.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "circulation/core/categories.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/readerpages.h"
#include "circulation/core/readers.h"
#include "circulation/core/readerstanding.h"
#include "circulation/circfixture.h"
#include "data/core/shareddata.h"
#include "reports/core/htmlpage.h"
#include "support/session.h"

#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

Q_DECLARE_METATYPE(AdminAction)
Q_DECLARE_METATYPE(ReaderCriterion)
Q_DECLARE_METATYPE(CheckPurpose)

namespace {

QDate today() { return QDate::currentDate(); }

QStringList found(Database &db, const ReaderSearch &s)
{
    const SqlText q = readerSearchSql(db.dialect(), s, today());
    SqlRows r = db.query(q.sql, q.binds);
    if (!r.isActive())
        qWarning("%s", qPrintable(db.lastError().text()));
    QStringList ids;
    while (r.next())
        ids << r.value(QStringLiteral("LEC_ID")).toString();
    return ids;
}

ReaderSearch byText(ReaderCriterion c, const QString &text)
{
    ReaderSearch s;
    s.criterion = c;
    s.text = text;
    return s;
}

} // namespace

class TstCirculationCore : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir pages;

private slots:
    void initTestCase() { setUserDataDirectory(pages.path()); }
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("resp.pret");
        session().CurrentUserRole = 4;
        sink.clear();
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    // --- Reader administration -------------------------------------------

    void transitions_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QVariant>("status");
        QTest::addColumn<int>("penaltyEnds");  // days from today
        QTest::addColumn<AdminAction>("action");
        QTest::addColumn<bool>("done");
        QTest::addColumn<int>("after");
        const auto cancel = AdminAction::CancelPenalty, suspend = AdminAction::Suspend,
                   lift = AdminAction::LiftSuspension;
        const struct {
            const char *name;
            QVariant status;
            int ends;
            AdminAction action;
            bool done;
            int after;
        } rows[] = {
            {"cancel penalty 1 -> 0", 1, 3, cancel, true, 0},
            {"cancel penalty 3 -> 2", 3, 3, cancel, true, 2},
            {"cancel penalty ending today", 1, 0, cancel, true, 0},
            {"cancel an ended penalty refused", 1, -1, cancel, false, 1},
            {"cancel without penalty refused", 0, 3, cancel, false, 0},
            {"cancel on a suspended reader refused", 2, 3, cancel, false, 2},
            {"suspend 0 -> 2", 0, 0, suspend, true, 2},
            {"suspend an empty status -> 2", QVariant(), 0, suspend, true, 2},
            {"suspend 1 -> 3", 1, 3, suspend, true, 3},
            {"suspend 2 refused", 2, 0, suspend, false, 2},
            {"suspend 3 refused", 3, 3, suspend, false, 3},
            {"lift 2 -> 0", 2, 0, lift, true, 0},
            {"lift 3 -> 1", 3, 3, lift, true, 1},
            {"lift 0 refused", 0, 0, lift, false, 0},
            {"lift 1 refused", 1, 3, lift, false, 1},
        };
        for (const QString &engine : engines())
            for (const auto &r : rows)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(r.name)))
                    << engine << r.status << r.ends << r.action << r.done << r.after;
    }
    void transitions()
    {
        QFETCH(QString, engine);
        QFETCH(QVariant, status);
        QFETCH(int, penaltyEnds);
        QFETCH(AdminAction, action);
        QFETCH(bool, done);
        QFETCH(int, after);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        ReaderRow r;
        r.id = QStringLiteral("L1");
        r.status = status;
        r.penaltyEnd = day(penaltyEnds);
        r.motif = QStringLiteral("Ancien motif");
        QVERIFY(addReader(db, r));

        const ReaderChange c = administerReader(db, QStringLiteral(" L1 "), action, QStringLiteral("  Retard grave "), today());
        QCOMPARE(c.done, done);
        QCOMPARE(readerStatus(db, r.id), after);
        // The penalty end is never cleared; the reason changes only with a suspension.
        QCOMPARE(readerDate(db, r.id, "LEC_FIN_PENALITE"), today().addDays(penaltyEnds));
        const QString motif = readerValue(db, r.id, "LEC_MOTIF").toString();
        QCOMPARE(motif, done && action == AdminAction::Suspend ? QStringLiteral("Retard grave") : QStringLiteral("Ancien motif"));
        const QString expected = done ? (action == AdminAction::CancelPenalty ? circ::penaltyCancelled(r.id)
                                         : action == AdminAction::Suspend ? circ::suspensionDone(r.id)
                                                                          : circ::suspensionLifted(r.id))
                                      : (action == AdminAction::CancelPenalty ? circ::readerNotPenalised(r.id)
                                         : action == AdminAction::Suspend ? circ::readerAlreadySuspended(r.id)
                                                                          : circ::readerNotSuspended(r.id));
        QCOMPARE(c.message, expected);
        QCOMPARE(readerValue(db, r.id, "UPDATE_USER").toString(), done ? QStringLiteral("resp.pret") : QString());
    }

    void administrationOfUnknownOrEmptyReader_data() { addEngineRows(); }
    void administrationOfUnknownOrEmptyReader()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QCOMPARE(administerReader(tdb.db(), QStringLiteral("  "), AdminAction::Suspend, {}, today()).message,
                 QStringLiteral("Le lecteur n'est pas saisi"));
        QCOMPARE(administerReader(tdb.db(), QStringLiteral("X9"), AdminAction::Suspend, {}, today()).message,
                 QStringLiteral("Le lecteur \"X9\" n'existe pas"));
    }

    // Two desks have the same reader on screen; what one did is never undone by the other.
    void twoDesksAtOnce_data() { addEngineRows(); }
    void twoDesksAtOnce()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &deskA = tdb.db();
        Database deskB;
        QString why;
        QVERIFY2(deskB.open(tdb.params(), false, &why), qPrintable(why));
        QVERIFY(addCategory(deskA, 1, QStringLiteral("Etudiant")));
        ReaderRow r;
        r.id = QStringLiteral("L7");
        r.status = 1;
        r.penaltyEnd = day(4);
        QVERIFY(addReader(deskA, r));

        // Both desks loaded him penalised; A suspends, then B cancels the penalty.
        QVERIFY(administerReader(deskA, r.id, AdminAction::Suspend, QStringLiteral("Vol"), today()).done);
        QVERIFY(administerReader(deskB, r.id, AdminAction::CancelPenalty, {}, today()).done);
        QCOMPARE(readerStatus(deskA, r.id), 2);  // still suspended: B's change started from A's
        // Both lift the suspension: the second finds nothing to lift.
        QVERIFY(administerReader(deskA, r.id, AdminAction::LiftSuspension, {}, today()).done);
        const ReaderChange second = administerReader(deskB, r.id, AdminAction::LiftSuspension, {}, today());
        QVERIFY(!second.done);
        QCOMPARE(second.message, circ::readerNotSuspended(r.id));
        QCOMPARE(readerStatus(deskB, r.id), 0);
        // A late return at one desk and a suspension at the other give both.
        QVERIFY(penaliseReader(deskB, r.id, today().addDays(6)));
        QVERIFY(administerReader(deskA, r.id, AdminAction::Suspend, {}, today()).done);
        QCOMPARE(readerStatus(deskB, r.id), 3);
        QCOMPARE(readerValue(deskB, r.id, "LEC_MOTIF").toString(), QStringLiteral("Vol"));
    }

    // --- Search ---------------------------------------------------------------

    void search_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<ReaderCriterion>("criterion");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("ids");
        const auto nom = ReaderCriterion::Nom, num = ReaderCriterion::Numero;
        const struct {
            const char *name;
            ReaderCriterion c;
            QString text;
            QStringList ids;
        } rows[] = {
            {"number prefix 12*", num, QStringLiteral("12*"), {QStringLiteral("120"), QStringLiteral("121"), QStringLiteral("12A")}},
            {"number exact", num, QStringLiteral("121"), {QStringLiteral("121")}},
            {"number lower case", num, QStringLiteral("12a"), {QStringLiteral("12A")}},
            {"number with a literal %", num, QStringLiteral("50%"), {QStringLiteral("50%")}},
            {"a lone % is no wildcard", num, QStringLiteral("%"), {}},
            {"a _ is no wildcard", num, QStringLiteral("12_"), {}},
            {"empty number finds nobody", num, QStringLiteral("  "), {}},
            {"d'Alembert", nom, QStringLiteral("d'Alembert"), {QStringLiteral("120"), QStringLiteral("12A")}},
            {"alembert alone", nom, QStringLiteral("ALEMBERT"), {QStringLiteral("120"), QStringLiteral("12A")}},
            {"two words BEN ALI", nom, QStringLiteral("BEN ALI"), {QStringLiteral("3"), QStringLiteral("4")}},
            {"whole words only", nom, QStringLiteral("BENALI"), {QStringLiteral("5")}},
            {"case of accented letters", nom, QStringLiteral("hélène"), {QStringLiteral("500")}},
            {"Arabic word", nom, QStringLiteral("علي"), {QStringLiteral("6"), QStringLiteral("7")}},
            {"Arabic two words", nom, QStringLiteral("بن علي"), {QStringLiteral("6"), QStringLiteral("7")}},
            {"Arabic whole word", nom, QStringLiteral("عل"), {}},
            {"name with a %", nom, QStringLiteral("%"), {}},
        };
        for (const QString &engine : engines())
            for (const auto &r : rows)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(r.name))) << engine << r.c << r.text << r.ids;
    }
    void search()
    {
        QFETCH(QString, engine);
        QFETCH(ReaderCriterion, criterion);
        QFETCH(QString, text);
        QFETCH(QStringList, ids);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        const struct {
            const char *id;
            QString nom;
        } readers[] = {
            {"120", QStringLiteral("D'ALEMBERT")},       {"121", QStringLiteral("Martin")},
            {"12A", QStringLiteral("Jean d'Alembert")}, {"312", QStringLiteral("Alembertine")},
            {"3", QStringLiteral("BEN ALI")},           {"4", QStringLiteral("ALI BEN SALAH")},
            {"5", QStringLiteral("BENALI")},            {"50%", QStringLiteral("Cent pour cent")},
            {"500", QStringLiteral("HÉLÈNE-Marie")},    {"6", QStringLiteral("بن علي")},
            {"7", QStringLiteral("علي بن صالح")},       {"8", QStringLiteral("عليوة")},
        };
        for (const auto &r : readers) {
            ReaderRow row;
            row.id = QLatin1String(r.id);
            row.nom = r.nom;
            QVERIFY(addReader(db, row));
        }
        QCOMPARE(found(db, byText(criterion, text)), ids);
    }

    void searchByKeyDateAndStatus_data() { addEngineRows(); }
    void searchByKeyDateAndStatus()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")) && addCategory(db, 2, QStringLiteral("Etudiant 2")));
        QVERIFY(addStructure(db, 1, QStringLiteral("Lettres")) && addStructure(db, 2, QStringLiteral("Lettres")));
        const struct {
            const char *id;
            int cat;
            QVariant str, status, end, registered;
        } readers[] = {
            {"A", 1, 1, 0, none(), day(-30)},      {"B", 2, 2, QVariant(), none(), day(-10)},
            {"C", 2, none(), 1, day(3), day(-10)}, {"D", 1, 2, 1, day(0), day(-5)},
            {"E", 1, 1, 2, none(), day(0)},        {"F", 1, 1, 3, day(9), day(-1)},
        };
        for (const auto &r : readers) {
            ReaderRow row;
            row.id = QLatin1String(r.id);
            row.cat = r.cat;
            row.str = r.str;
            row.status = r.status;
            row.penaltyEnd = r.end;
            row.registered = r.registered;
            QVERIFY(addReader(db, row));
        }
        ReaderSearch s;
        s.criterion = ReaderCriterion::Categorie;
        s.key = 2;  // by key: both categories have labels alike
        QCOMPARE(found(db, s), (QStringList{QStringLiteral("B"), QStringLiteral("C")}));
        s.criterion = ReaderCriterion::Structure;
        QCOMPARE(found(db, s), (QStringList{QStringLiteral("B"), QStringLiteral("D")}));
        s.criterion = ReaderCriterion::DateAdhesion;
        s.date = today().addDays(-10);
        const QList<QPair<QString, QStringList>> dates = {
            {QStringLiteral("="), {QStringLiteral("B"), QStringLiteral("C")}},
            {QStringLiteral("<"), {QStringLiteral("A")}},
            {QStringLiteral(">="), {QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F")}},
            {QStringLiteral("<>"), {}},  // not an operator of the list: nobody
        };
        for (const auto &d : dates) {
            s.op = d.first;
            QCOMPARE(found(db, s), d.second);
        }
        s.criterion = ReaderCriterion::Statut;
        const QList<QPair<int, QStringList>> statuses = {
            {0, {QStringLiteral("A"), QStringLiteral("B")}},  // an empty status is "Normal"
            {1, {QStringLiteral("C")}},                       // penalised beyond today only
            {2, {QStringLiteral("E")}},
            {-1, {}},
        };
        for (const auto &st : statuses) {
            s.status = st.first;
            QCOMPARE(found(db, s), st.second);
        }
    }

    void lateColumnAndLabels_data() { addEngineRows(); }
    void lateColumnAndLabels()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")) && addStructure(db, 4, QStringLiteral("Droit")));
        for (const char *id : {"L1", "L2", "L3", "L4"}) {
            ReaderRow r;
            r.id = QLatin1String(id);
            r.str = 4;
            QVERIFY(addReader(db, r));
        }
        QVERIFY(addCopy(db, 1, QStringLiteral("E1"), QStringLiteral("a"), QStringLiteral("L1"), day(-1)));
        QVERIFY(addCopy(db, 2, QStringLiteral("E2"), QStringLiteral("a"), QStringLiteral("L2"), day(0)));
        QVERIFY(addInterLibraryLoan(db, 1, QStringLiteral("L3"), day(-2)));
        QVERIFY(addInterLibraryLoan(db, 2, QStringLiteral("L4"), day(-2), 1));  // returned
        const SqlText q = readerSearchSql(db.dialect(), byText(ReaderCriterion::Numero, QStringLiteral("L*")), today());
        SqlRows r = db.query(q.sql, q.binds);
        QStringList shown;
        while (r.next()) {
            QCOMPARE(r.value(QStringLiteral("CAT_LIBELLE")).toString(), QStringLiteral("Etudiant"));
            QCOMPARE(r.value(QStringLiteral("STR_LIBELLE")).toString(), QStringLiteral("Droit"));
            shown << searchStatusText(r.value(QStringLiteral("LEC_STATUT")), {}, r.value(QStringLiteral("LEC_RETARD")));
        }
        QCOMPARE(shown, (QStringList{QStringLiteral("Retardataire"), QStringLiteral("Normal"),
                                     QStringLiteral("Retardataire"), QStringLiteral("Normal")}));
    }

    // --- Standing ----------------------------------------------------------------

    void standing_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<CheckPurpose>("purpose");
        QTest::addColumn<QVariant>("status");
        QTest::addColumn<QVariant>("penaltyEnd");
        QTest::addColumn<int>("registeredDaysAgo");  // membership 30 days
        QTest::addColumn<QString>("holds");          // "loan", "late loan", "peb", "late peb", "reserved"
        QTest::addColumn<bool>("passed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("statusAfter");
        const auto desk = CheckPurpose::Desk, quitus = CheckPurpose::Clearance, again = CheckPurpose::Reregistration;
        const QString ok = QStringLiteral("Le lecteur \"R1\" est en règle.");
        const QString late = QStringLiteral("Le lecteur \"R1\" n'est pas en règle.");
        const QString holds = QStringLiteral("Le lecteur \"R1\" a en sa possession des documents.");
        const QString pebLate = QStringLiteral("Le lecteur \"R1\" n'est pas en règle par rapport au PEB.");
        const QString penalised = QStringLiteral("Le lecteur \"R1\" est pénalisé jusqu'au : ") + ShowDate(today());
        const struct {
            const char *name;
            CheckPurpose p;
            QVariant status, end;
            int ago;
            const char *holds;
            bool passed;
            QString message;
            int after;
        } rows[] = {
            {"desk: good standing", desk, 0, none(), 5, "", true, ok, 0},
            {"desk: empty status is normal", desk, QVariant(), none(), 5, "", true, ok, 0},
            {"desk: penalty ended yesterday is cleared", desk, 1, day(-1), 5, "", true, ok, 0},
            {"desk: penalty ending today refuses", desk, 1, day(0), 5, "", false, penalised, 1},
            {"desk: suspended with its reason", desk, 2, none(), 5, "", false,
             QStringLiteral("Le lecteur \"R1\" est suspendu.\nMotif : \"Vol\""), 2},
            {"desk: both", desk, 3, day(-5), 5, "", false,
             QStringLiteral("Le lecteur \"R1\" est pénalisé et suspendu.\nMotif : \"Vol\""), 3},
            {"desk: last day of membership", desk, 0, none(), 30, "", true, ok, 0},
            {"desk: membership over", desk, 0, none(), 31, "", false,
             QStringLiteral("Le lecteur \"R1\" n'est pas réinscrit."), 0},
            {"desk: loan not due", desk, 0, none(), 5, "loan", true, ok, 0},
            {"desk: overdue loan", desk, 0, none(), 5, "late loan", false, late, 0},
            {"desk: overdue inter-library loan", desk, 0, none(), 5, "late peb", false, pebLate, 0},
            {"clearance: nothing held", quitus, 0, none(), 400, "", true, QString(), 0},
            {"clearance: a loan not yet due", quitus, 0, none(), 5, "loan", false, holds, 0},
            {"clearance: an overdue loan", quitus, 0, none(), 5, "late loan", false, late, 0},
            {"clearance: an open inter-library loan", quitus, 0, none(), 5, "peb", false, holds, 0},
            {"clearance: a reservation is not held", quitus, 0, none(), 5, "reserved", true, QString(), 0},
            {"clearance: suspended, no reason shown", quitus, 2, none(), 5, "", false,
             QStringLiteral("Le lecteur \"R1\" est suspendu."), 2},
            {"re-registration: a loan not due", again, 0, none(), 400, "loan", true, QString(), 0},
            {"re-registration: overdue loan", again, 0, none(), 400, "late loan", false, late, 0},
            {"re-registration: overdue inter-library loan beside a loan", again, 0, none(), 400, "loan+late peb",
             false, pebLate, 0},
            {"re-registration: penalised", again, 1, day(0), 400, "", false, penalised, 1},
        };
        for (const QString &engine : engines())
            for (const auto &r : rows)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(r.name)))
                    << engine << r.p << r.status << r.end << r.ago << QString::fromLatin1(r.holds) << r.passed
                    << r.message << r.after;
    }
    void standing()
    {
        QFETCH(QString, engine);
        QFETCH(CheckPurpose, purpose);
        QFETCH(QVariant, status);
        QFETCH(QVariant, penaltyEnd);
        QFETCH(int, registeredDaysAgo);
        QFETCH(QString, holds);
        QFETCH(bool, passed);
        QFETCH(QString, message);
        QFETCH(int, statusAfter);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant"), 30));
        ReaderRow r;
        r.id = QStringLiteral("R1");
        r.status = status;
        r.penaltyEnd = penaltyEnd;
        r.registered = day(-registeredDaysAgo);
        r.motif = QStringLiteral("Vol");
        QVERIFY(addReader(db, r));
        if (holds.contains(QLatin1String("loan")))
            QVERIFY(addCopy(db, 1, QStringLiteral("E1"), QStringLiteral("a"), r.id, day(holds.contains(QLatin1String("late loan")) ? -1 : 0)));
        if (holds.contains(QLatin1String("peb")))
            QVERIFY(addInterLibraryLoan(db, 1, r.id, day(holds.contains(QLatin1String("late peb")) ? -1 : 2)));
        if (holds == QLatin1String("reserved"))
            QVERIFY(addCopy(db, 2, QStringLiteral("E2"), QStringLiteral("a"), QStringLiteral("R9"), day(3), r.id));

        const ReaderCheck c = checkReader(db, QStringLiteral(" R1"), purpose, today());
        QVERIFY(c.found);
        QCOMPARE(c.passed, passed);
        QCOMPARE(c.message(), message);
        QCOMPARE(readerStatus(db, r.id), statusAfter);
    }

    void unknownReaderIsQuotedAsTyped_data() { addEngineRows(); }
    void unknownReaderIsQuotedAsTyped()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        const ReaderCheck c = checkReader(tdb.db(), QStringLiteral(" Z1 "), CheckPurpose::Desk, today());
        QVERIFY(!c.found && !c.passed);
        QCOMPARE(c.message(), QStringLiteral("Le lecteur \" Z1 \" n'existe pas."));
        session().setLanguage(QStringLiteral("AR"));
        QCOMPARE(checkReader(tdb.db(), QString(), CheckPurpose::Desk, today()).message(), QStringLiteral("القارئ غير مدخل"));
    }

    void reregistration_data() { addEngineRows(); }
    void reregistration()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant"), 30));
        for (const char *id : {"OK", "LATE"}) {
            ReaderRow r;
            r.id = QLatin1String(id);
            r.registered = day(-400);
            QVERIFY(addReader(db, r));
        }
        QVERIFY(addCopy(db, 1, QStringLiteral("E1"), QStringLiteral("a"), QStringLiteral("LATE"), day(-3)));
        const ReaderChange ok = reregisterReader(db, QStringLiteral("OK"), today());
        QVERIFY(ok.done);
        QCOMPARE(ok.message, QStringLiteral("Réinscription du lecteur effectuée avec succès"));
        QCOMPARE(readerDate(db, QStringLiteral("OK"), "LEC_DATE_ADHESION"), today());
        // The desk now lets him borrow again.
        QVERIFY(checkReader(db, QStringLiteral("OK"), CheckPurpose::Desk, today()).passed);
        const ReaderChange refused = reregisterReader(db, QStringLiteral("LATE"), today());
        QVERIFY(!refused.done);
        QCOMPARE(refused.message, QStringLiteral("Le lecteur \"LATE\" n'est pas en règle."));
        QCOMPARE(readerDate(db, QStringLiteral("LATE"), "LEC_DATE_ADHESION"), today().addDays(-400));
    }

    // --- Deletions ----------------------------------------------------------------

    void deletionRefusals_data() { addEngineRows(); }
    void deletionRefusals()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")) && addCategory(db, 2, QStringLiteral("Visiteur")));
        QVERIFY(addStructure(db, 1, QStringLiteral("Droit")) && addStructure(db, 2, QStringLiteral("Vide")));
        QVERIFY(addRule(db, 1, QStringLiteral("a")) && addRule(db, 1, QStringLiteral("b")) && addRule(db, 2, QStringLiteral("a")));
        for (const char *id : {"LOAN", "HOLD", "PEB", "FREE"}) {
            ReaderRow r;
            r.id = QLatin1String(id);
            r.str = 1;
            QVERIFY(addReader(db, r));
        }
        QVERIFY(addCopy(db, 1, QStringLiteral("E1"), QStringLiteral("a"), QStringLiteral("LOAN"), day(3)));
        QVERIFY(addCopy(db, 2, QStringLiteral("E2"), QStringLiteral("a"), none(), none(), QStringLiteral("HOLD")));
        QVERIFY(addInterLibraryLoan(db, 1, QStringLiteral("PEB"), day(3)));
        QVERIFY(addInterLibraryLoan(db, 2, QStringLiteral("FREE"), day(-3), 1));  // returned long ago

        QCOMPARE(deleteReader(db, QStringLiteral("LOAN")), circ::readerNotDeletable(QStringLiteral("LOAN"), 1, 0, 0));
        QCOMPARE(deleteReader(db, QStringLiteral("HOLD")), circ::readerNotDeletable(QStringLiteral("HOLD"), 0, 1, 0));
        QCOMPARE(deleteReader(db, QStringLiteral("PEB")), circ::readerNotDeletable(QStringLiteral("PEB"), 0, 0, 1));
        QCOMPARE(deleteReader(db, QStringLiteral("FREE")), QString());
        QVERIFY(!readerValue(db, QStringLiteral("FREE"), "LEC_ID").isValid());
        QCOMPARE(deleteReader(db, QStringLiteral("FREE")), circ::readerUnknown(QStringLiteral("FREE")));

        // Categories: the reserved one, one with readers, one without (its rules go with it).
        QCOMPARE(deleteCategory(db, 9), QStringLiteral("Suppression impossible de cette catégorie "));
        QCOMPARE(deleteCategory(db, 1), circ::categoryInUse(QStringLiteral("Etudiant"), 3));
        QCOMPARE(deleteCategory(db, 2), QString());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM REGLEMENT WHERE CAT_ID = 2")).toInt(), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CATEGORIE WHERE CAT_ID = 9")).toInt(), 1);

        QCOMPARE(deleteStructure(db, 1), circ::structureInUse(QStringLiteral("Droit"), 3));
        QCOMPARE(deleteStructure(db, 2), QString());

        // The rule of type a is what the loan and the reservation of category 1 stand on.
        QCOMPARE(deleteRule(db, 1, QStringLiteral("a")), circ::ruleInUse(2));
        QCOMPARE(deleteRule(db, 1, QStringLiteral("b")), QString());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM REGLEMENT WHERE CAT_ID = 1")).toInt(), 1);
    }

    // --- Categories and rules -------------------------------------------------------

    void rulesAndReservedCategory_data() { addEngineRows(); }
    void rulesAndReservedCategory()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Database &db = data.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant"), 365, 2, QVariant()));
        QVERIFY(addRule(db, 1, QStringLiteral("a")));

        QCOMPARE(ruleRefusal(db, 1, QVariant(), QString()), QStringLiteral("Le champ type de document est obligatoire."));
        QCOMPARE(ruleRefusal(db, 1, QStringLiteral("a"), QString()),
                 QStringLiteral("Cette catégorie a déjà un règlement pour le type de document \"Monographie\"."));
        QCOMPARE(ruleRefusal(db, 1, QStringLiteral("a"), QStringLiteral("a")), QString());  // the rule itself
        QCOMPARE(ruleRefusal(db, 1, QStringLiteral("b"), QStringLiteral("a")), QString());
        QCOMPARE(ruleRefusal(db, 9, QStringLiteral("a"), QString()), QString());

        // The proportional penalty: empty or 0 -> 1 -> 0, from the stored value.
        QVERIFY(toggleProportionalPenalty(db, 1));
        QCOMPARE(db.scalar(QStringLiteral("SELECT CAT_PENALITE_PROP FROM CATEGORIE WHERE CAT_ID = 1")).toInt(), 1);
        QVERIFY(toggleProportionalPenalty(db, 1));
        QCOMPARE(db.scalar(QStringLiteral("SELECT CAT_PENALITE_PROP FROM CATEGORIE WHERE CAT_ID = 1")).toInt(), 0);

        // The reserved category keeps its label; its durations may change.
        Dataset *q = data.QCategorie;
        q->beforePost.add([&db](Dataset &d) { return keepReservedLabel(db, d); }, this);
        QVERIFY(q->open(QStringLiteral("SELECT * FROM CATEGORIE")));
        QVERIFY(q->locate(QStringLiteral("CAT_ID"), 9));
        QVERIFY(q->edit());
        QVERIFY(q->setValue(QStringLiteral("CAT_LIBELLE"), QStringLiteral("Autre")));
        QVERIFY(!q->post());
        QCOMPARE(sink.messages.value(0), QStringLiteral("Le libellé de cette catégorie ne peut pas être modifié."));
        q->cancel();
        QVERIFY(q->edit());
        QVERIFY(q->setValue(QStringLiteral("CAT_ADHESION"), 730));
        QVERIFY(q->post());
        QCOMPARE(db.scalar(QStringLiteral("SELECT CAT_ADHESION FROM CATEGORIE WHERE CAT_ID = 9")).toInt(), 730);
        QVERIFY(q->locate(QStringLiteral("CAT_ID"), 1));
        QVERIFY(q->edit() && q->setValue(QStringLiteral("CAT_LIBELLE"), QStringLiteral("Etudiants")) && q->post());
    }

    // --- The reader row at the loan desk -------------------------------------------------

    void penaltyEnd_data()
    {
        QTest::addColumn<int>("daysLate");
        QTest::addColumn<int>("penalty");
        QTest::addColumn<QVariant>("proportional");
        QTest::addColumn<int>("until");  // days from today; -1: no penalty
        QTest::newRow("5 days late, 2 per day") << 5 << 2 << QVariant(1) << 10;
        QTest::newRow("5 days late, flat 2") << 5 << 2 << QVariant(0) << 2;
        QTest::newRow("flat when empty") << 5 << 2 << QVariant() << 2;
        QTest::newRow("returned on the due day") << 0 << 2 << QVariant(1) << -1;
        QTest::newRow("category without penalty") << 5 << 0 << QVariant(1) << -1;
    }
    void penaltyEnd()
    {
        QFETCH(int, daysLate);
        QFETCH(int, penalty);
        QFETCH(QVariant, proportional);
        QFETCH(int, until);
        const std::optional<QDate> end = folian::penaltyEnd(today(), today().addDays(-daysLate), penalty, proportional);
        QCOMPARE(end.has_value(), until >= 0);
        if (end)
            QCOMPARE(*end, today().addDays(until));
    }

    void readerRowAtTheDesk_data() { addEngineRows(); }
    void readerRowAtTheDesk()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")));
        const QList<QPair<QVariant, int>> lateReturns = {{0, 1}, {1, 1}, {2, 3}, {3, 3}, {QVariant(), 1}};
        int n = 0;
        for (const auto &lr : lateReturns) {
            ReaderRow r;
            r.id = QStringLiteral("P%1").arg(++n);
            r.status = lr.first;
            QVERIFY(addReader(db, r));
            QVERIFY(penaliseReader(db, r.id, today().addDays(4)));
            QCOMPARE(readerStatus(db, r.id), lr.second);
            QCOMPARE(readerDate(db, r.id, "LEC_FIN_PENALITE"), today().addDays(4));
        }
        QVERIFY(db.exec(QStringLiteral("UPDATE LECTEUR SET LEC_STAT_PRET = NULL WHERE LEC_ID = 'P1'")));
        QVERIFY(countReaderLoan(db, QStringLiteral("P1")) && countReaderLoan(db, QStringLiteral("P1")));
        QCOMPARE(readerValue(db, QStringLiteral("P1"), "LEC_STAT_PRET").toInt(), 2);
        QVERIFY(!countReaderLoan(db, QStringLiteral("NOBODY")));
    }

    // --- Pages ---------------------------------------------------------------------------

    void clearancePage_data() { addEngineRows(); }
    void clearancePage()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addCategory(db, 1, QStringLiteral("Etudiant")) && addStructure(db, 3, QStringLiteral("Lettres & langues")));
        ReaderRow r;
        r.id = QStringLiteral("Q1");
        r.nom = QStringLiteral("d'Alembert <Jean>");
        r.prenom = QStringLiteral("Ève");
        r.str = 3;
        QVERIFY(addReader(db, r));
        QVERIFY(db.exec(QStringLiteral("UPDATE PARAMETRE SET QUITUS = ?"), {QStringLiteral("Le lecteur ne doit rien.\nFait pour servir.")}));

        const ReportResult page = writeClearance(db, r.id);
        QVERIFY2(page.written(), qPrintable(page.message));
        QVERIFY(page.path.endsWith(QLatin1String("quitus.html")));
        QString html;
        QVERIFY(readHtmlPage(page.path, &html));
        QVERIFY(html.contains(QLatin1String("charset=windows-1256")));
        QVERIFY(!html.contains(QLatin1String("dir=\"rtl\"")));
        for (const char *piece : {"Quitus", "N&#176; lecteur : ", "Pr&#233;nom : ", "Cat&#233;gorie : ",
                                  "d&#39;Alembert &lt;Jean&gt;", "Lettres &amp; langues", "Etudiant",
                                  "Le lecteur ne doit rien.<br>Fait pour servir.", "Signature et cachet de la biblioth&#232;que :"})
            QVERIFY2(html.contains(QLatin1String(piece)), piece);
        QVERIFY(html.contains(QLatin1String("&#200;ve")));  // a letter the code page lacks

        session().setLanguage(QStringLiteral("AR"));
        QVERIFY(writeClearance(db, r.id).written());
        QVERIFY(readHtmlPage(page.path, &html));
        QVERIFY(html.contains(QLatin1String("dir=\"rtl\"")));
        QVERIFY(html.contains(QStringLiteral("براءة الذمة")));
        QVERIFY(html.contains(QStringLiteral("رقم القارئ : ")));
        QVERIFY(!writeClearance(db, QStringLiteral("NOBODY")).written());
    }
};

QTEST_GUILESS_MAIN(TstCirculationCore)
#include "tst_circulationcore.moc"
