// Logon, users and the loan-counter reset, on both engines.

#include "admin/core/administration.h"
#include "admin/core/logon.h"
#include "admin/core/passwords.h"
#include "admin/core/users.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "support/session.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

// Inserts a user; `password` is stored as given (a hash, a scrambled text or NULL).
void addUser(Database &db, int id, const QString &login, int role, const QVariant &password,
             const QMap<QString, QVariant> &rights = {})
{
    QVERIFY(db.exec(QStringLiteral("INSERT INTO UTILISATEUR (UTL_ID, UTL_LOGIN, UTL_NOM, UTL_PRENOM, UTL_ROLE, UTL_PASSWORD) "
                                   "VALUES (?, ?, 'Nom', 'Prénom', ?, ?)"),
                    {id, login, role, password}));
    for (auto it = rights.begin(); it != rights.end(); ++it)
        QVERIFY(db.exec(QStringLiteral("UPDATE UTILISATEUR SET %1 = ? WHERE UTL_ID = ?").arg(it.key()), {it.value(), id}));
}

UserSheet sheet(const QString &login, int role)
{
    UserSheet u;
    u.login = login;
    u.nom = QStringLiteral("Benali");
    u.prenom = QStringLiteral("Amina");
    u.role = role;
    u.password = u.confirmation = QStringLiteral("secret");
    return u;
}

} // namespace

class TstAdminCore : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserRole = 1;  // the administrator at work, unless a test logs somebody on
        sink.clear();
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    void passwords()
    {
        const QString h = HashPassword(QStringLiteral("clé"));
        QVERIFY(IsPasswordHash(h));
        QVERIFY(h != HashPassword(QStringLiteral("clé")));  // salted
        QCOMPARE(CheckPassword(QStringLiteral("clé"), h), PasswordCheck::Right);
        QCOMPARE(CheckPassword(QStringLiteral("Clé"), h), PasswordCheck::Wrong);
        const QString old = ScrambleText(QStringLiteral("abc"), PasswordKey);
        QCOMPARE(CheckPassword(QStringLiteral("abc"), old), PasswordCheck::RightButOldForm);
        QCOMPARE(CheckPassword(QStringLiteral("abd"), old), PasswordCheck::Wrong);
        QCOMPARE(CheckPassword(QString(), QString(), true), PasswordCheck::RightButOldForm);
        QCOMPARE(CheckPassword(QStringLiteral("x"), QString(), true), PasswordCheck::Wrong);
    }

    void logon_data() { addEngineRows(); }
    void logon()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        addUser(db, 2, QStringLiteral("hash"), 6, HashPassword(QStringLiteral("pw")),
                {{QStringLiteral("UTL_CAT_NOTICE"), 1}, {QStringLiteral("UTL_CAT_IMPORT"), 2}, {QStringLiteral("UTL_CAT_ADMIN"), QVariant()}});
        addUser(db, 3, QStringLiteral("ancien"), 3, ScrambleText(QStringLiteral("vieux"), PasswordKey));
        addUser(db, 4, QStringLiteral("vide"), 0, QVariant());
        QVERIFY(db.exec(QStringLiteral("INSERT INTO CATALOGAGE (UTL_ID, TYP_ID) VALUES (2, 'c'), (2, 'b')")));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().DefaultDocumentType = QStringLiteral("z");

        QCOMPARE(CheckLogon(data, 0, QString()), LogonResult::NoUser);
        QCOMPARE(CheckLogon(data, 99, QString()), LogonResult::UserGone);
        QCOMPARE(CheckLogon(data, 2, QStringLiteral("PW")), LogonResult::WrongPassword);
        QCOMPARE(session().CurrentUserId, 0);  // a failed attempt changes nothing
        QCOMPARE(CheckLogon(data, 4, QStringLiteral("x")), LogonResult::WrongPassword);
        QCOMPARE(LogonMessage(LogonResult::WrongPassword), QStringLiteral("Mot de passe incorrect."));

        QCOMPARE(CheckLogon(data, 2, QStringLiteral("pw")), LogonResult::Ok);
        QCOMPARE(session().CurrentUserLogin, QStringLiteral("hash"));
        QCOMPARE(session().CurrentUserRole, 6);
        QVERIFY(session().right(Right::CatNotice));
        QVERIFY(!session().right(Right::CatImport));  // 2 is not 1
        QVERIFY(!session().right(Right::CatAdmin));   // NULL
        // Role 6 catalogues only its own types; the first becomes the default.
        QCOMPARE(data.QTypeDocument->recordCount(), 2);
        QCOMPARE(session().DefaultDocumentType, QStringLiteral("b"));
    }

    void oldPasswordIsRehashedOnce_data() { addEngineRows(); }
    void oldPasswordIsRehashedOnce()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        addUser(db, 3, QStringLiteral("ancien"), 3, ScrambleText(QStringLiteral("vieux"), PasswordKey));
        addUser(db, 4, QStringLiteral("vide"), 6, QVariant());
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().DefaultDocumentType = QStringLiteral("z");
        QCOMPARE(CheckLogon(data, 3, QStringLiteral("vieux")), LogonResult::Ok);
        const QString stored = db.scalar(QStringLiteral("SELECT UTL_PASSWORD FROM UTILISATEUR WHERE UTL_ID = 3")).toString();
        QVERIFY(IsPasswordHash(stored));
        QCOMPARE(CheckPassword(QStringLiteral("vieux"), stored), PasswordCheck::Right);
        // Role 3 sees every type even without CATALOGAGE rows.
        QCOMPARE(data.QTypeDocument->recordCount(), 24);
        // NULL password: only the empty entry; role 6 without rows keeps the previous default.
        session().DefaultDocumentType = QStringLiteral("z");
        QCOMPARE(CheckLogon(data, 4, QString()), LogonResult::Ok);
        QCOMPARE(data.QTypeDocument->recordCount(), 0);
        QCOMPARE(session().DefaultDocumentType, QStringLiteral("z"));
    }

    // On the shared server a user may hold one session per database at a time.
    void oneSessionPerUser()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        for (int id : {1, 11})
            addUser(tdb.db(), id, QStringLiteral("u%1").arg(id), 1, HashPassword(QStringLiteral("p")));
        auto first = std::make_unique<TFrmData>();
        QVERIFY(connectTo(*first, tdb));
        QCOMPARE(CheckLogon(*first, 1, QStringLiteral("p")), LogonResult::Ok);
        TFrmData second;
        QVERIFY(connectTo(second, tdb));
        QCOMPARE(CheckLogon(second, 1, QStringLiteral("p")), LogonResult::AlreadyConnected);
        QCOMPARE(LogonMessage(LogonResult::AlreadyConnected), QStringLiteral("Utilisateur déja connecté."));
        QCOMPARE(CheckLogon(second, 11, QStringLiteral("p")), LogonResult::Ok);  // 11 is not 1
        // The marker goes with the connection, however it ends.
        first->DataModuleDestroy();
        first.reset();
        QTRY_COMPARE_WITH_TIMEOUT(CheckLogon(second, 1, QStringLiteral("p")), LogonResult::Ok, 5000);
    }

    void savingUsers_data() { addEngineRows(); }
    void savingUsers()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        addUser(db, 1, QStringLiteral("admin"), 1, HashPassword(QStringLiteral("a")));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(data.QUtilisateur->open(QStringLiteral("SELECT * FROM UTILISATEUR")));

        UserSheet u = sheet(QStringLiteral("  amina "), 6);
        u.rights[static_cast<size_t>(Right::CatNotice)] = true;
        u.documentTypes = {QStringLiteral("a"), QStringLiteral("d")};
        int id = 0;
        QCOMPARE(saveUser(data, u, &id).message, QString());
        QCOMPARE(id, 2);
        SqlRows q = db.query(QStringLiteral("SELECT UTL_LOGIN, UTL_PASSWORD, UTL_CAT_NOTICE, UTL_ACQ_ACCES FROM UTILISATEUR WHERE UTL_ID = 2"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("amina"));
        const QString hash = q.value(1).toString();
        QCOMPARE(CheckPassword(QStringLiteral("secret"), hash), PasswordCheck::Right);
        QCOMPARE(q.value(2).toInt(), 1);
        QCOMPARE(q.value(3).toInt(), 0);
        q.finish();
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CATALOGAGE WHERE UTL_ID = 2")).toInt(), 2);

        // Editing without a new password keeps the stored hash; types follow the codes.
        UserSheet e = loadUser(data, 2);
        QVERIFY(e.keepPassword);
        QVERIFY(e.password.isEmpty());
        QCOMPARE(e.documentTypes, (QSet<QString>{QStringLiteral("a"), QStringLiteral("d")}));
        e.documentTypes = {QStringLiteral("d"), QStringLiteral("x")};
        e.role = 3;  // locks and grants the cataloguing rights
        QCOMPARE(saveUser(data, e).message, QString());
        QCOMPARE(db.scalar(QStringLiteral("SELECT UTL_PASSWORD FROM UTILISATEUR WHERE UTL_ID = 2")).toString(), hash);
        QCOMPARE(db.scalar(QStringLiteral("SELECT UTL_CAT_IMPORT FROM UTILISATEUR WHERE UTL_ID = 2")).toInt(), 1);
        SqlRows t = db.query(QStringLiteral("SELECT TYP_ID FROM CATALOGAGE WHERE UTL_ID = 2 ORDER BY TYP_ID"));
        QStringList codes;
        while (t.next())
            codes << t.value(0).toString();
        t.finish();
        QCOMPARE(codes, (QStringList{QStringLiteral("d"), QStringLiteral("x")}));
    }

    void sheetRefusals_data() { addEngineRows(); }
    void sheetRefusals()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        addUser(db, 1, QStringLiteral("admin"), 1, HashPassword(QStringLiteral("a")));
        addUser(db, 2, QStringLiteral("karim"), 7, HashPassword(QStringLiteral("k")));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(data.QUtilisateur->open(QStringLiteral("SELECT * FROM UTILISATEUR")));
        session().CurrentUserId = 1;

        UserSheet u = sheet(QStringLiteral("x"), 0);
        u.nom.clear();
        QCOMPARE(saveUser(data, u).message, QStringLiteral("Complétez votre inscription"));
        QCOMPARE(saveUser(data, u).field, UserField::Required);
        u = sheet(QStringLiteral("x"), 0);
        u.confirmation.clear();
        QVERIFY(saveUser(data, u).message.startsWith(QStringLiteral("Attention le mot de passe")));
        QCOMPARE(saveUser(data, u).field, UserField::Confirmation);
        // A password is mandatory: a new user, or a new password typed for another.
        u = sheet(QStringLiteral("x"), 0);
        u.password.clear();
        u.confirmation.clear();
        QCOMPARE(saveUser(data, u).message, QStringLiteral("Le mot de passe est obligatoire."));
        QCOMPARE(saveUser(data, u).field, UserField::Password);
        UserSheet blank = loadUser(data, 2);
        blank.keepPassword = false;
        QCOMPARE(saveUser(data, blank).field, UserField::Password);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR WHERE UTL_LOGIN = 'x'")).toInt(), 0);
        u = sheet(QStringLiteral("karim"), 0);
        QCOMPARE(saveUser(data, u).message, QStringLiteral("Ce Login existe déja"));
        QCOMPARE(saveUser(data, u).field, UserField::Login);
        // Keeping one's own login is fine.
        UserSheet k = loadUser(data, 2);
        k.tel = QStringLiteral("021 00 00 00");
        QCOMPARE(saveUser(data, k).message, QString());
        // The last administrator keeps his role and cannot be deleted; nobody deletes himself.
        UserSheet a = loadUser(data, 1);
        a.role = 4;
        QCOMPARE(saveUser(data, a).field, UserField::Role);
        QCOMPARE(deleteUserRefusal(data, 1), QStringLiteral("Impossible de supprimer cet utilisateur."));
        QCOMPARE(db.scalar(QStringLiteral("SELECT UTL_ROLE FROM UTILISATEUR WHERE UTL_ID = 1")).toInt(), 1);
        QCOMPARE(deleteUser(data, 1), QStringLiteral("Impossible de supprimer cet utilisateur."));
        session().CurrentUserId = 2;
        QVERIFY(!deleteUser(data, 1).isEmpty());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR")).toInt(), 2);
        // With a second administrator the first may go, with his document types.
        QVERIFY(db.exec(QStringLiteral("UPDATE UTILISATEUR SET UTL_ROLE = 1 WHERE UTL_ID = 2")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO CATALOGAGE (UTL_ID, TYP_ID) VALUES (1, 'a')")));
        QCOMPARE(deleteUser(data, 1), QString());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CATALOGAGE")).toInt(), 0);
        QVERIFY(sink.messages.isEmpty());
    }

    void rolePresets_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("locked");  // acquisition, cataloguing, circulation, type list enabled
        QTest::newRow("administrateur") << 1 << QStringLiteral("1110");
        QTest::newRow("resp. acquisition") << 2 << QStringLiteral("1001");
        QTest::newRow("resp. catalogage") << 3 << QStringLiteral("0100");
        QTest::newRow("resp. pret") << 4 << QStringLiteral("0011");
        for (int r : {0, 5, 6, 7})
            QTest::newRow(qPrintable(QStringLiteral("agent %1").arg(r))) << r << QStringLiteral("0001");
    }
    void rolePresets()
    {
        QFETCH(int, role);
        QFETCH(QString, locked);
        const RolePreset p = rolePreset(role);
        const QString got = QString::number(p.acqLocked) + QString::number(p.catLocked)
            + QString::number(p.circLocked) + QString::number(p.typesEnabled);
        QCOMPARE(got, locked);
        QCOMPARE(lockedByRole(role, Right::CatNotice), p.catLocked);
        QCOMPARE(lockedByRole(role, Right::CirculPeb), p.circLocked);
    }

    // A role change: the rights the old role locked go back to the new role's preset.
    void rightsOnRoleChange_data()
    {
        QTest::addColumn<int>("storedRole");
        QTest::addColumn<QString>("stored");   // the 17 stored rights, 0/1
        QTest::addColumn<int>("newRole");
        QTest::addColumn<QString>("shown");
        const QString all(17, u'1'), none(17, u'0');
        //                                 acq   cat    circ
        QTest::newRow("admin demoted to agent") << 1 << all << 6 << none;
        QTest::newRow("admin to cataloguing manager") << 1 << all << 3 << QStringLiteral("00000111111000000");
        QTest::newRow("admin stays admin") << 1 << all << 1 << all;
        QTest::newRow("agent keeps his chosen right") << 6 << QStringLiteral("00000001000000000") << 6
                                                      << QStringLiteral("00000001000000000");
        QTest::newRow("circulation manager to agent keeps chosen") << 4 << QStringLiteral("00000001000111111") << 6
                                                                   << QStringLiteral("00000001000000000");
        QTest::newRow("agent promoted") << 0 << QStringLiteral("10000000000000000") << 4
                                        << QStringLiteral("10000000000111111");
    }
    void rightsOnRoleChange()
    {
        QFETCH(int, storedRole);
        QFETCH(QString, stored);
        QFETCH(int, newRole);
        QFETCH(QString, shown);
        Rights in{};
        for (int i = 0; i < RightCount; ++i)
            in[size_t(i)] = stored.at(i) == u'1';
        const Rights out = sheetRights(newRole, chosenRights(storedRole, in));
        QString got;
        for (bool b : out)
            got += b ? u'1' : u'0';
        QCOMPARE(got, shown);
    }

    // A demoted administrator saved through the sheet keeps no right of his old role.
    void demotedAdministratorLosesHisRights_data() { addEngineRows(); }
    void demotedAdministratorLosesHisRights()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        addUser(tdb.db(), 1, QStringLiteral("chef"), 1, HashPassword(QStringLiteral("p")));
        int id = 0;
        QVERIFY(saveUser(data, sheet(QStringLiteral("second"), 1), &id).ok());
        UserSheet u = loadUser(data, id);
        QVERIFY(std::all_of(u.rights.cbegin(), u.rights.cend(), [](bool b) { return b; }));
        u.rights = sheetRights(6, chosenRights(u.role, u.rights));
        u.role = 6;
        QVERIFY(saveUser(data, u).ok());
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT UTL_CAT_NOTICE + UTL_ACQ_ACCES + UTL_CIRCUL_PEB FROM UTILISATEUR "
                                                "WHERE UTL_ID = ?"), {id}).toInt(), 0);
    }

    // Creating a database is all or nothing: a failure leaves it empty, ready to try again.
    void initialisingIsAllOrNothing_data() { addEngineRows(); }
    void initialisingIsAllOrNothing()
    {
        QFETCH(QString, engine);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        TestDatabase tdb(engine, false);
        QVERIFY2(tdb.isValid(), qPrintable(tdb.error()));
        QString why;
        QVERIFY(!InitialiseDatabase(tdb.db(), QString(60, u'x'), QStringLiteral("p"), &why));  // login too long
        QVERIFY2(why.contains(QLatin1String("UTL_LOGIN")), qPrintable(why));
        QVERIFY(tdb.db().dialect().tables(tdb.db().connection()).isEmpty());
        QVERIFY2(InitialiseDatabase(tdb.db(), QStringLiteral("admin"), QStringLiteral("p"), &why), qPrintable(why));
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR WHERE UTL_ROLE = 1")).toInt(), 1);
        QVERIFY(!InitialiseDatabase(tdb.db(), QStringLiteral("admin"), QStringLiteral("p"), &why));
    }

    void resetLoanStatistics_data() { addEngineRows(); }
    void resetLoanStatistics()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_PRET_INTERNE, DOC_PRET_EXTERNE) VALUES (1, 3, 4)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_STAT_PRET) VALUES ('L1', 9)")));
        QVERIFY(ResetLoanStatistics(db));
        QCOMPARE(db.scalar(QStringLiteral("SELECT DOC_PRET_INTERNE + DOC_PRET_EXTERNE FROM NOTICE")).toInt(), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT LEC_STAT_PRET FROM LECTEUR")).toInt(), 0);
        // A failure of the second statement keeps the first undone.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET DOC_PRET_EXTERNE = 5")));
        QVERIFY(db.exec(QStringLiteral("DROP TABLE LECTEUR")));
        QString why;
        QVERIFY(!ResetLoanStatistics(db, &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(db.scalar(QStringLiteral("SELECT DOC_PRET_EXTERNE FROM NOTICE")).toInt(), 5);
    }
};

QTEST_GUILESS_MAIN(TstAdminCore)
#include "tst_admincore.moc"
