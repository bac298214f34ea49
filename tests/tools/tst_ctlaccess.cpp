// folianctl acts for a user of the database, with his rights: a command
// naming nobody, or somebody without the right, is refused and writes
// nothing. A new database's administrator gets a password nobody guesses;
// an upgraded database keeps no password in a reversible form.

#include "admin/core/logon.h"
#include "admin/core/passwords.h"
#include "base/messages.h"
#include "circulation/deskfixture.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "support/folianctl.h"
#include "support/testdb.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

void addUser(Database &db, int id, const QString &login, int role, const QVariant &password = QVariant())
{
    QVERIFY(db.exec(QStringLiteral("INSERT INTO UTILISATEUR (UTL_ID, UTL_LOGIN, UTL_NOM, UTL_PRENOM, UTL_ROLE, UTL_PASSWORD) "
                                   "VALUES (?, ?, 'Nom', 'Prénom', ?, ?)"),
                    {id, login, role, password}));
}

QString storedPassword(Database &db, const char *table, const char *key, const QVariant &id)
{
    const QString column = QLatin1String(table) == QLatin1String("UTILISATEUR") ? QStringLiteral("UTL_PASSWORD")
                                                                               : QStringLiteral("LEC_PASSWORD");
    return db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(column, QLatin1String(table), QLatin1String(key)),
                     {id})
        .toString();
}

} // namespace

class TstCtlAccess : public QObject
{
    Q_OBJECT
private slots:
    // Who a command acts for: --user / --login names a user of the
    // database (the administrator of init-db by default), whose rights
    // are those of the screens.
    void commandsActForAUser_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("count");  // what the command changes
        struct Row {
            const char *name;
            std::vector<const char *> args;
            bool done;
            const char *count;
        };
        const char *lent = "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LEC_ID IS NOT NULL";
        const char *journal = "SELECT COUNT(*) FROM HISTORIQUE_PRET";
        const char *records = "SELECT COUNT(*) FROM NOTICE";
        const Row rows[] = {
            {"loan for nobody known", {"loan", "A", "E1", "--user", "nosuchuser"}, false, journal},
            {"loan by a cataloguing agent", {"loan", "A", "E1", "--user", "agent.cat"}, false, lent},
            {"loan by a loan agent with the right", {"loan", "A", "E1", "--user", "agent.pret"}, true, lent},
            {"loan by the administrator, by default", {"loan", "A", "E1"}, true, journal},
            {"record deleted by the data-entry agent", {"delete-record", "5", "--login", "saisie"}, false, records},
            {"record deleted by the cataloguing manager", {"delete-record", "5", "--login", "resp.cat"}, true, records},
            {"record deleted for nobody known", {"delete-record", "5", "--login", "personne"}, false, records},
            {"readers imported by a loan agent", {"import-readers", "lecteurs.txt", "--category", "1", "--user", "agent.pret"},
             false, "SELECT COUNT(*) FROM LECTEUR"},
        };
        for (const QString &engine : engines())
            for (const Row &r : rows) {
                QStringList args;
                for (const char *a : r.args)
                    args << QString::fromLatin1(a);
                QTest::newRow(qPrintable(engine + QStringLiteral(": ") + QLatin1String(r.name)))
                    << engine << args << r.done << QString::fromLatin1(r.count);
            }
    }
    void commandsActForAUser()
    {
        QFETCH(QString, engine);
        QFETCH(QStringList, args);
        QFETCH(bool, done);
        QFETCH(QString, count);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(deskSetUp(db));
        QVERIFY(addCopy(db, 5, QStringLiteral("E1"), QStringLiteral("a"), QVariant(), QVariant()));
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE SET CREATE_USER = 'agent.cat'")));
        addUser(db, 1, QStringLiteral("admin"), 1);
        addUser(db, 2, QStringLiteral("agent.cat"), 6);
        addUser(db, 3, QStringLiteral("agent.pret"), 7);
        QVERIFY(db.exec(QStringLiteral("UPDATE UTILISATEUR SET UTL_CIRCUL_TRANSACT = 1 WHERE UTL_ID = 3")));
        addUser(db, 4, QStringLiteral("saisie"), 0);
        QVERIFY(db.exec(QStringLiteral("UPDATE UTILISATEUR SET UTL_CAT_NOTICE = 1 WHERE UTL_ID = 4")));
        addUser(db, 5, QStringLiteral("resp.cat"), 3);
        QFile readers(tdb.dir() + QStringLiteral("lecteurs.txt"));
        QVERIFY(readers.open(QIODevice::WriteOnly));
        readers.write("R1; Amrani; Sara; 01/02/2001; Alger\n");
        readers.close();
        for (QString &a : args)
            if (a == QLatin1String("lecteurs.txt"))
                a = readers.fileName();

        const int before = db.scalar(count).toInt();
        const CtlRun r = runFolianctl(tdb.writeIni(), args);
        QVERIFY2((r.code == 0) == done, qPrintable(r.out));
        QCOMPARE(db.scalar(count).toInt() != before, done);
        if (!done)
            QVERIFY(!r.out.trimmed().isEmpty());
        // The journal names the user who did it, a user of the database.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM HISTORIQUE_PRET WHERE HIS_USER NOT IN "
                                          "(SELECT UTL_LOGIN FROM UTILISATEUR)")).toInt(), 0);
    }

    // Without a password given, init-db makes one and prints it once (the
    // old default "admin" opens nothing); given on standard input, it is
    // the one; an empty one is refused and writes nothing.
    void initDbAdministratorsPassword_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("how");
        for (const QString &engine : engines())
            for (const char *how : {"made", "stdin", "empty stdin"})
                QTest::newRow(qPrintable(engine + QStringLiteral(": ") + QLatin1String(how))) << engine << QString::fromLatin1(how);
    }
    void initDbAdministratorsPassword()
    {
        QFETCH(QString, engine);
        QFETCH(QString, how);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        TestDatabase tdb(engine, false);
        QVERIFY2(tdb.isValid(), qPrintable(tdb.error()));
        const QString ini = tdb.writeIni();
        if (how == QLatin1String("empty stdin")) {
            const CtlRun r = runFolianctl(ini, {QStringLiteral("init-db"), QStringLiteral("--admin-password-stdin")}, "\n");
            QVERIFY2(r.code != 0, qPrintable(r.out));
            QVERIFY(tdb.db().dialect().tables(tdb.db().connection()).isEmpty());
            return;
        }
        const bool made = how == QLatin1String("made");
        const CtlRun r = made ? runFolianctl(ini, {QStringLiteral("init-db")})
                              : runFolianctl(ini, {QStringLiteral("init-db"), QStringLiteral("--admin-password-stdin")},
                                             QStringLiteral("Oran 1509 !\n").toUtf8());
        QVERIFY2(r.code == 0, qPrintable(r.out));
        const QString stored = storedPassword(tdb.db(), "UTILISATEUR", "UTL_ID", 1);
        QCOMPARE(CheckPassword(QStringLiteral("admin"), stored), PasswordCheck::Wrong);
        if (!made) {
            QCOMPARE(CheckPassword(QStringLiteral("Oran 1509 !"), stored), PasswordCheck::Right);
            QVERIFY(!r.out.contains(QStringLiteral("Oran")));
            return;
        }
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(":\\s*(\\S{12,})\\s*$"),
                                                             QRegularExpression::MultilineOption)
                                              .match(r.out);
        QVERIFY2(m.hasMatch(), qPrintable(r.out));
        QCOMPARE(CheckPassword(m.captured(1), stored), PasswordCheck::Right);
    }

    // upgrade-db stores every password still kept the old way as a hash:
    // the operators' and the correspondents' alike, each still opening.
    void upgradeRehashesOldPasswords_data() { addEngineRows(); }
    void upgradeRehashesOldPasswords()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        addUser(db, 1, QStringLiteral("admin"), 1, ScrambleText(QStringLiteral("Tlemcen 1962"), PasswordKey));
        addUser(db, 2, QStringLiteral("vide"), 7, QVariant());
        addUser(db, 3, QStringLiteral("neuf"), 6, HashPassword(QStringLiteral("déjà")));
        const QString kept = storedPassword(db, "UTILISATEUR", "UTL_ID", 3);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_NOM, CAT_ID, BIB_ID, LEC_PASSWORD) VALUES "
                                       "('C1', 'Correspondant', 9, 1, ?), ('L1', 'Lecteur', 1, 0, NULL)"),
                        {ScrambleText(QStringLiteral("مكتبة"), PasswordKey)}));
        const CtlRun r = runFolianctl(tdb.writeIni(), {QStringLiteral("upgrade-db")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        const QString admin = storedPassword(db, "UTILISATEUR", "UTL_ID", 1);
        const QString correspondent = storedPassword(db, "LECTEUR", "LEC_ID", QStringLiteral("C1"));
        QVERIFY2(IsPasswordHash(admin), qPrintable(admin));
        QVERIFY2(IsPasswordHash(correspondent), qPrintable(correspondent));
        QCOMPARE(CheckPassword(QStringLiteral("Tlemcen 1962"), admin), PasswordCheck::Right);
        QCOMPARE(CheckPassword(QStringLiteral("مكتبة"), correspondent), PasswordCheck::Right);
        QCOMPARE(storedPassword(db, "UTILISATEUR", "UTL_ID", 3), kept);  // a hash stays as it was
        QVERIFY(db.scalar(QStringLiteral("SELECT UTL_PASSWORD FROM UTILISATEUR WHERE UTL_ID = 2")).isNull());
    }

    // The workstations' role on the shared server: rows read and written,
    // the schema out of its reach; the program works through it, and so do
    // the tables an upgrade adds later.
    void runtimeRole()
    {
        if (!postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        Database &owner = tdb.db();
        QVERIFY(deskSetUp(owner));
        QVERIFY(addCopy(owner, 5, QStringLiteral("E1"), QStringLiteral("a"), QVariant(), QVariant()));
        addUser(owner, 1, QStringLiteral("admin"), 1, HashPassword(QStringLiteral("a")));
        const QString role = QStringLiteral("folian_rt_%1").arg(QDateTime::currentMSecsSinceEpoch());
        const QString password = QStringLiteral("it's \"secret\" 1");
        struct Drop {
            Database &db;
            QString role;
            ~Drop()
            {
                db.exec(QStringLiteral("DROP OWNED BY ") + role);
                db.exec(QStringLiteral("DROP ROLE IF EXISTS ") + role);
            }
        } drop{owner, role};
        CtlRun r = runFolianctl(tdb.writeIni(), {QStringLiteral("runtime-role"), role, QStringLiteral("--password-stdin")},
                                password.toUtf8() + '\n');
        QVERIFY2(r.code == 0, qPrintable(r.out));
        // Granted again, its password kept.
        r = runFolianctl(tdb.writeIni(), {QStringLiteral("runtime-role"), role});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY(!r.out.contains(QStringLiteral("shown this once")));

        Database rt;
        QString why;
        QVERIFY2(rt.open(ConnectionParams{QStringLiteral("POSTGRESQL"), tdb.params().server, tdb.params().catalog, role, password,
                                          tdb.dir()},
                         false, &why),
                 qPrintable(why));
        for (const char *allowed : {"SELECT COUNT(*) FROM UTILISATEUR",
                                    "INSERT INTO LANGUE (LAN_ID, LAN_LIBELLE) VALUES ('zzz', 'Essai')",
                                    "UPDATE LANGUE SET LAN_LIBELLE = 'Essai 2' WHERE LAN_ID = 'zzz'",
                                    "DELETE FROM LANGUE WHERE LAN_ID = 'zzz'"})
            QVERIFY2(rt.exec(QLatin1String(allowed)), qPrintable(rt.lastError().text()));
        for (const char *refused : {"CREATE TABLE INTRUS (A INTEGER)", "ALTER TABLE UTILISATEUR ADD COLUMN Z INTEGER",
                                    "DROP TABLE HISTORIQUE_PRET", "TRUNCATE NOTICE", "CREATE INDEX IX_INTRUS ON NOTICE (DOC_ANNEE)",
                                    "ALTER TABLE NOTICE DISABLE TRIGGER ALL", "CREATE SCHEMA INTRUS",
                                    "CREATE FUNCTION INTRUS() RETURNS INTEGER AS 'SELECT 1' LANGUAGE SQL"})
            QVERIFY2(!rt.exec(QLatin1String(refused)), refused);
        // A table an upgrade adds later, made by the owner, is the role's to use.
        QVERIFY(owner.exec(QStringLiteral("CREATE TABLE PLUS_TARD (A INTEGER)")));
        QVERIFY2(rt.exec(QStringLiteral("INSERT INTO PLUS_TARD (A) VALUES (1)")), qPrintable(rt.lastError().text()));
        rt.close();

        // The program through the role: a loan from the command line, a logon.
        QFile ini(tdb.dir() + QStringLiteral("poste.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Application]\nEngine=POSTGRESQL\nServer=%1\nCatalog=%2\nUsername=%3\nPassword=%4\n")
                      .arg(tdb.params().server, tdb.params().catalog, role, password)
                      .toUtf8());
        ini.close();
        r = runFolianctl(ini.fileName(), {QStringLiteral("loan"), QStringLiteral("A"), QStringLiteral("E1")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(owner.scalar(QStringLiteral("SELECT LEC_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'E1'")).toString(),
                 QStringLiteral("A"));
        r = runFolianctl(ini.fileName(), {QStringLiteral("upgrade-db")});
        QVERIFY(r.code != 0);  // the schema is the owner's
        RecordingSink sink;
        setMessageSink(&sink);
        TFrmData data;
        QVERIFY2(OpenSession(data, ini.fileName()), qPrintable(data.connectionError()));
        QCOMPARE(CheckLogon(data, 1, QStringLiteral("a")), LogonResult::Ok);
        CloseSession(data);
        setMessageSink(nullptr);
    }

    // On the embedded engine there is no role to make.
    void runtimeRoleNeedsAServer()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        const CtlRun r = runFolianctl(tdb.writeIni(), {QStringLiteral("runtime-role"), QStringLiteral("poste")});
        QVERIFY(r.code != 0);
        QVERIFY2(r.out.contains(QStringLiteral("no roles")), qPrintable(r.out));
    }
};

QTEST_GUILESS_MAIN(TstCtlAccess)
#include "tst_ctlaccess.moc"
