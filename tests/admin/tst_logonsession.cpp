// The logon as the accounts stand at that moment, and a session that
// outlives its connection: the user's row read again at each logon, a lost
// connection told as such and made again once.

#include "admin/core/logon.h"
#include "admin/core/passwords.h"
#include "base/messages.h"
#include "base/rights.h"
#include "data/core/connectiontexts.h"
#include "support/session.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

void addUser(Database &db, int id, const QString &login, int role, const QString &password)
{
    QVERIFY(db.exec(QStringLiteral("INSERT INTO UTILISATEUR (UTL_ID, UTL_LOGIN, UTL_NOM, UTL_PRENOM, UTL_ROLE, UTL_PASSWORD) "
                                   "VALUES (?, ?, 'Nom', 'Prénom', ?, ?)"),
                    {id, login, role, HashPassword(password)}));
}

// The workstation's connection cut by the server, as a restart or a network
// failure cuts it.
bool cutConnection(Database &server, Database &workstation)
{
    const QVariant pid = workstation.scalar(QStringLiteral("SELECT pg_backend_pid()"));
    return pid.isValid() && server.scalar(QStringLiteral("SELECT pg_terminate_backend(?, 10000)"), {pid}).toBool();
}

// A workstation connected as `role` (granted the tables) rather than as the server's superuser.
bool connectAs(TFrmData &data, const TestDatabase &tdb, const TestRole &role)
{
    return connectTo(data, role.as(tdb.params()));
}

} // namespace

class TstLogonSession : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init() { freshSession(sink); }
    void cleanup() { setMessageSink(nullptr); }

    // Another workstation (the administrator's) changes the account while
    // this one waits at the logon with the list it read at start.
    void logonReadsTheAccountAgain_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("mayCatalogue");
        struct Case {
            const char *name, *change, *typed;
            bool ok;
            int role;
            bool mayCatalogue;
        };
        const Case cases[] = {
            {"unchanged", "", "cat", true, 3, true},
            {"deleted", "DELETE FROM UTILISATEUR WHERE UTL_ID = 2", "cat", false, 0, false},
            {"new password, old typed", "UPDATE UTILISATEUR SET UTL_PASSWORD = ? WHERE UTL_ID = 2", "cat", false, 0, false},
            {"new password typed", "UPDATE UTILISATEUR SET UTL_PASSWORD = ? WHERE UTL_ID = 2", "neuf", true, 3, true},
            {"role lowered", "UPDATE UTILISATEUR SET UTL_ROLE = 6, UTL_CAT_NOTICE = 0 WHERE UTL_ID = 2", "cat", true, 6, false},
            {"right withdrawn", "UPDATE UTILISATEUR SET UTL_ROLE = 0, UTL_CAT_NOTICE = 0 WHERE UTL_ID = 2", "cat", true, 0, false},
        };
        for (const QString &engine : engines())
            for (const Case &c : cases)
                QTest::newRow(qPrintable(engine + QStringLiteral(": ") + QLatin1String(c.name)))
                    << engine << QString::fromUtf8(c.change) << QString::fromUtf8(c.typed) << c.ok << c.role << c.mayCatalogue;
    }
    void logonReadsTheAccountAgain()
    {
        QFETCH(QString, engine);
        QFETCH(QString, change);
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(int, role);
        QFETCH(bool, mayCatalogue);
        FOLIAN_TEST_DB(tdb, engine);
        addUser(tdb.db(), 1, QStringLiteral("admin"), 1, QStringLiteral("a"));
        addUser(tdb.db(), 2, QStringLiteral("resp.cat"), 3, QStringLiteral("cat"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));  // the logon list is read here, in the morning
        if (!change.isEmpty()) {
            const QVariantList binds = change.contains(u'?') ? QVariantList{HashPassword(QStringLiteral("neuf"))} : QVariantList{};
            QVERIFY(tdb.db().exec(change, binds));
        }
        const LogonResult r = CheckLogon(data, 2, typed);
        QCOMPARE(r == LogonResult::Ok, ok);
        if (!ok) {
            QVERIFY(!LogonMessage(r).isEmpty());
            QCOMPARE(session().CurrentUserId, 0);
            return;
        }
        QCOMPARE(session().CurrentUserRole, role);
        QCOMPARE(allowed(Right::CatNotice, session()), mayCatalogue);
    }

    // The account gone since the list was read: said so, not taken for a wrong password.
    void deletedAccountIsToldApart_data() { addEngineRows(); }
    void deletedAccountIsToldApart()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addUser(tdb.db(), 2, QStringLiteral("resp.cat"), 3, QStringLiteral("cat"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(tdb.db().exec(QStringLiteral("DELETE FROM UTILISATEUR WHERE UTL_ID = 2")));
        QCOMPARE(CheckLogon(data, 2, QStringLiteral("cat")), LogonResult::UserGone);
        QVERIFY(!LogonMessage(LogonResult::UserGone).isEmpty());
        QVERIFY(LogonMessage(LogonResult::UserGone) != LogonMessage(LogonResult::WrongPassword));
    }

    // A connection lost before the logon is not "already connected": the
    // operator learns that the server cannot be reached, and why.
    void lostConnectionAtLogon()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        TestRole role(tdb.db());
        QVERIFY(role.isValid());
        QVERIFY(tdb.db().exec(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO ")
                              + role.name()));
        addUser(tdb.db(), 1, QStringLiteral("admin"), 1, QStringLiteral("a"));
        TFrmData data;
        QVERIFY2(connectAs(data, tdb, role), qPrintable(data.connectionError()));
        // The server is back but refuses this workstation's login now.
        QVERIFY(tdb.db().exec(QStringLiteral("ALTER ROLE ") + role.name() + QStringLiteral(" NOLOGIN")));
        QVERIFY(cutConnection(tdb.db(), data.db()));
        QString why;
        const LogonResult r = CheckLogon(data, 1, QStringLiteral("a"), &why);
        QVERIFY(r != LogonResult::AlreadyConnected);
        QCOMPARE(r, LogonResult::ServerUnreachable);
        const QString message = LogonMessage(r, why);
        QVERIFY2(message.startsWith(serverUnreachableMessage(QString())), qPrintable(message));
        QVERIFY2(message.contains(role.name()), qPrintable(message));  // the server's reason
        QCOMPARE(session().CurrentUserId, 0);
    }

    // The account read, the logon marker refused by the server: that is the
    // server's word, not another workstation holding the marker.
    void refusedMarkerIsNotAlreadyConnected()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        TestRole role(tdb.db());
        QVERIFY(role.isValid());
        QVERIFY(tdb.db().exec(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO ")
                              + role.name()));
        // In this database only: the marker's function is refused to everyone but its owner.
        QVERIFY(tdb.db().exec(QStringLiteral("REVOKE EXECUTE ON FUNCTION pg_try_advisory_lock(integer, integer) FROM PUBLIC")));
        addUser(tdb.db(), 1, QStringLiteral("admin"), 1, QStringLiteral("a"));
        TFrmData data;
        QVERIFY2(connectAs(data, tdb, role), qPrintable(data.connectionError()));
        QString why;
        const LogonResult r = CheckLogon(data, 1, QStringLiteral("a"), &why);
        QCOMPARE(r, LogonResult::ServerUnreachable);
        QVERIFY2(why.contains(QStringLiteral("pg_try_advisory_lock")), qPrintable(why));
        QCOMPARE(session().CurrentUserId, 0);
    }

    // A connection dropped during the day is made again once, and the
    // logon marker with it: the user is still connected only here.
    void lostConnectionIsMadeAgain()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        addUser(tdb.db(), 1, QStringLiteral("admin"), 1, QStringLiteral("a"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QCOMPARE(CheckLogon(data, 1, QStringLiteral("a")), LogonResult::Ok);
        QVERIFY(cutConnection(tdb.db(), data.db()));

        QVERIFY2(data.QUtilisateur->open(QStringLiteral("SELECT * FROM UTILISATEUR")), qPrintable(data.QUtilisateur->lastError()));
        QCOMPARE(data.QUtilisateur->rowCount(), 1);
        // A change right after the cut is one transaction on the new connection.
        QVERIFY(cutConnection(tdb.db(), data.db()));
        {
            Transaction tx(data.db());
            QVERIFY(tx.isActive());
            QVERIFY(data.db().exec(QStringLiteral("UPDATE UTILISATEUR SET UTL_TEL = '1' WHERE UTL_ID = 1")));
            QVERIFY(tx.commit());
        }
        QVERIFY(sink.messages.isEmpty());
        TFrmData other;
        QVERIFY(connectTo(other, tdb));
        QCOMPARE(CheckLogon(other, 1, QStringLiteral("a")), LogonResult::AlreadyConnected);
    }

    // When the connection cannot be made again, every read says why.
    void lostConnectionIsTold()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        TestRole role(tdb.db());
        QVERIFY(role.isValid());
        QVERIFY(tdb.db().exec(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO ")
                              + role.name()));
        TFrmData data;
        QVERIFY2(connectAs(data, tdb, role), qPrintable(data.connectionError()));
        QVERIFY(tdb.db().exec(QStringLiteral("ALTER ROLE ") + role.name() + QStringLiteral(" NOLOGIN")));
        QVERIFY(cutConnection(tdb.db(), data.db()));
        QVERIFY(!data.QUtilisateur->open(QStringLiteral("SELECT * FROM UTILISATEUR")));
        const QString error = data.QUtilisateur->lastError();
        QVERIFY2(error.contains(role.name()), qPrintable(error));
        QVERIFY2(!sink.messages.isEmpty() && sink.messages.join(u'\n').contains(role.name()), qPrintable(sink.messages.join(u'\n')));
        // Told once, not at every read that follows.
        const qsizetype told = sink.messages.size();
        QVERIFY(!data.db().exec(QStringLiteral("SELECT 1")));
        QCOMPARE(sink.messages.size(), told);
        // Once the server lets the workstation in again, a read a few seconds on works.
        QVERIFY(tdb.db().exec(QStringLiteral("ALTER ROLE ") + role.name() + QStringLiteral(" LOGIN")));
        QTRY_VERIFY_WITH_TIMEOUT(data.db().exec(QStringLiteral("SELECT 1")), 15000);
        QVERIFY(!data.db().connectionLost());
    }
};

QTEST_GUILESS_MAIN(TstLogonSession)
#include "tst_logonsession.moc"
