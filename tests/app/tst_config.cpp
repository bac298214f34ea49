// Folian.ini: reading with defaults, writing back only what the session
// owns, and the start-up that fails without touching the file.

#include "base/config.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "base/session.h"
#include "data/core/connectiontexts.h"
#include "data/core/shareddata.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
// A database of another program: an SQLite file with a table of its own,
// in the engine's default journal.
void writeOtherProgramsDatabase(const QString &path)
{
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other-program"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE AGENDA (JOUR TEXT, NOTE TEXT)")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO AGENDA VALUES ('lundi', 'réunion')")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other-program"));
}

// The files of a directory with their bytes.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> out;
    for (const QString &name : QDir(dir).entryList(QDir::Files))
        out.insert(name, readAll(QDir(dir).filePath(name)));
    return out;
}
} // namespace

class TstConfig : public QObject
{
    Q_OBJECT
private slots:
    void init() { session() = Session(); }

    void defaultsWhenMissing()
    {
        QTemporaryDir dir;
        Session s;
        QVERIFY(!readConfig(dir.filePath(QStringLiteral("Folian.ini")), s));
        QCOMPARE(s.DbEngine, QStringLiteral("ACCESS"));
        QCOMPARE(s.CurrentLanguage, QStringLiteral("FR"));
        QCOMPARE(s.CurrentUserId, 0);
        QVERIFY(s.DbCatalog.isEmpty());
        QVERIFY(s.AppDir.endsWith(u'/'));
    }

    void readsKeysIgnoringMalformedLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Folian.ini"));
        writeAll(path, "; a comment\r\n[application]\r\nengine=postgresql\r\nthis line is garbage\r\n"
                       "Server = db.local:5433\r\nCatalog=biblio\r\nLogin=abc\r\nLanguage=ar\r\nMode=1\r\n"
                       "[OPAC]\r\nDirectory=/srv/opac\r\n");
        Session s;
        QVERIFY(readConfig(path, s));
        QCOMPARE(s.DbEngine, QStringLiteral("POSTGRESQL"));
        QCOMPARE(s.DbServer, QStringLiteral("db.local:5433"));
        QCOMPARE(s.DbCatalog, QStringLiteral("biblio"));
        QCOMPARE(s.CurrentUserId, 0);  // not a number: the default
        QCOMPARE(s.CurrentLanguage, QStringLiteral("AR"));
        QVERIFY(s.ArabicMode);
        QCOMPARE(s.LanguageSuffix, QStringLiteral("_AR"));
        QCOMPARE(s.SilentMode, 1);
        QCOMPARE(s.OpacDirectory, QStringLiteral("/srv/opac"));
    }

    void writeBackKeepsOtherLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Folian.ini"));
        writeAll(path, "[Application]\r\nEngine=access\r\n; keep me\r\nMode=1\r\nCatalog=Folian.db\r\n"
                       "[OPAC]\r\nDirectory=C:\\opac\r\nOther=x\r\n");
        Session s;
        readConfig(path, s);
        s.CurrentUserId = 7;
        s.setLanguage(QStringLiteral("AR"));
        QVERIFY(writeConfig(s));
        IniFile ini;
        QVERIFY(ini.load(path));
        QCOMPARE(ini.value(QStringLiteral("Application"), QStringLiteral("Login")), QStringLiteral("7"));
        QCOMPARE(ini.value(QStringLiteral("Application"), QStringLiteral("Language")), QStringLiteral("AR"));
        QCOMPARE(ini.value(QStringLiteral("Application"), QStringLiteral("Engine")), QStringLiteral("ACCESS"));
        QCOMPARE(ini.value(QStringLiteral("Application"), QStringLiteral("Mode")), QStringLiteral("1"));
        QCOMPARE(ini.value(QStringLiteral("OPAC"), QStringLiteral("Directory")), QStringLiteral("C:\\opac"));
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.contains("; keep me\r\n"));
        QVERIFY(bytes.contains("Other=x\r\n"));
        // Keys missing from the file are added to their section, not elsewhere.
        QVERIFY(bytes.indexOf("Login=7") < bytes.indexOf("[OPAC]"));
    }

    // A file that is not UTF-8 (written by an older tool in a Windows code
    // page) keeps its bytes where nothing was changed; line ends are kept.
    void writeBackKeepsEncodingAndLineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("latin-1, CRLF") << QByteArray("[OPAC]\r\nDirectory=C:\\Biblioth\xE8que\r\n[Application]\r\nLogin=2\r\n");
        QTest::newRow("utf-8 with BOM, LF") << QByteArray("\xEF\xBB\xBF[OPAC]\nDirectory=/srv/biblioth\xC3\xA8que\n[Application]\nLogin=2\n");
        QTest::newRow("no Application section") << QByteArray("[OPAC]\nDirectory=x\n");
    }
    void writeBackKeepsEncodingAndLineEnds()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Folian.ini"));
        writeAll(path, bytes);
        Session s;
        readConfig(path, s);
        const QString opac = s.OpacDirectory;
        s.CurrentUserId = 9;
        QVERIFY(writeConfig(s));
        const QByteArray after = readAll(path);
        const QByteArray eol = bytes.contains("\r\n") ? "\r\n" : "\n";
        const QByteArray opacLine = bytes.mid(bytes.indexOf("Directory="));
        QVERIFY(after.contains(opacLine.left(opacLine.indexOf('\n') + 1)));
        QVERIFY(after.contains(QByteArray(QByteArray("Login=9") + eol)));
        QVERIFY(!after.contains("Login=2"));
        Session again;
        readConfig(path, again);
        QCOMPARE(again.OpacDirectory, opac);
        QCOMPARE(again.CurrentUserId, 9);
    }

    // Every way the start can fail shows the message, ends, and leaves the INI as it was.
    void failedStartLeavesIniUntouched_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("dropTable");
        QTest::newRow("unknown engine") << QStringLiteral("SQLITE") << QByteArray("[Application]\nEngine=ORACLE\nCatalog=Folian.db\n") << QString();
        QTest::newRow("sql server not supported") << QStringLiteral("SQLITE") << QByteArray("[Application]\nEngine=SQLSERVER\nCatalog=Folian.db\n") << QString();
        QTest::newRow("missing file") << QStringLiteral("SQLITE") << QByteArray("[Application]\nEngine=ACCESS\nCatalog=Absent.db\nLogin=3\n") << QString();
        QTest::newRow("no catalog") << QStringLiteral("SQLITE") << QByteArray("[Application]\nLanguage=AR\n") << QString();
        QTest::newRow("sqlite without PARAMETRE") << QStringLiteral("SQLITE") << QByteArray() << QStringLiteral("PARAMETRE");
        QTest::newRow("sqlite without UTILISATEUR") << QStringLiteral("SQLITE") << QByteArray() << QStringLiteral("UTILISATEUR");
        QTest::newRow("sqlite without TYPE_DOCUMENT") << QStringLiteral("SQLITE") << QByteArray() << QStringLiteral("TYPE_DOCUMENT");
        QTest::newRow("pg without PARAMETRE") << QStringLiteral("POSTGRESQL") << QByteArray() << QStringLiteral("PARAMETRE");
        QTest::newRow("pg wrong password") << QStringLiteral("POSTGRESQL") << QByteArray("password") << QString();
        QTest::newRow("pg unreachable") << QStringLiteral("POSTGRESQL") << QByteArray("unreachable") << QString();
        QTest::newRow("pg missing database") << QStringLiteral("POSTGRESQL") << QByteArray("database") << QString();
    }
    void failedStartLeavesIniUntouched()
    {
        QFETCH(QString, engine);
        QFETCH(QByteArray, ini);
        QFETCH(QString, dropTable);
        FOLIAN_TEST_DB(tdb, engine);
        if (!dropTable.isEmpty())
            QVERIFY(tdb.db().exec(QStringLiteral("DROP TABLE ") + dropTable));
        QString path = tdb.writeIni(QStringLiteral("Mode=0\n[OPAC]\nDirectory=x\n"));
        if (ini == "password" || ini == "unreachable" || ini == "database") {
            QByteArray bytes = readAll(path);
            if (ini == "password")
                bytes.replace("Password=", "Password=wrong");
            else if (ini == "unreachable")
                bytes.replace(QByteArray("Server=" + tdb.params().server.toUtf8()), QByteArray("Server=127.0.0.1:1"));  // nobody listens there
            else
                bytes.replace("Catalog=", "Catalog=absent_");
            writeAll(path, bytes);
        } else if (!ini.isEmpty()) {
            writeAll(path, ini);
        }
        const QByteArray before = readAll(path);
        {
            TFrmData data;
            QVERIFY(!OpenSession(data, path));
            QVERIFY(!data.connectionError().isEmpty());
            QVERIFY(!data.isConnected());
            CloseSession(data);
        }
        QCOMPARE(readAll(path), before);
    }

    // A start that cannot connect says what it looked for and why, in the
    // interface's language: the file's name, not English words.
    void connectionMessages_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("catalog");  // what Catalog names; empty: no Folian.ini at all
        QTest::addColumn<QByteArray>("content");
        for (const char *language : {"FR", "AR"}) {
            const QString l = QLatin1String(language);
            if (l == QLatin1String("FR"))  // without the file, the language is the default one
                QTest::newRow(qPrintable(l + QStringLiteral(": no Folian.ini"))) << l << QString() << QByteArray();
            QTest::newRow(qPrintable(l + QStringLiteral(": no catalog"))) << l << QStringLiteral("-") << QByteArray();
            QTest::newRow(qPrintable(l + QStringLiteral(": missing file"))) << l << QStringLiteral("absent.db") << QByteArray();
            QTest::newRow(qPrintable(l + QStringLiteral(": a text file"))) << l << QStringLiteral("notes.txt")
                                                                          << QByteArray("Liste des achats\n");
            QTest::newRow(qPrintable(l + QStringLiteral(": another program's database"))) << l << QStringLiteral("agenda.db")
                                                                                       << QByteArray("sqlite");
            QTest::newRow(qPrintable(l + QStringLiteral(": unknown engine"))) << l << QStringLiteral("oracle") << QByteArray();
        }
    }
    void connectionMessages()
    {
        QFETCH(QString, language);
        QFETCH(QString, catalog);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Folian.ini"));
        QString named;  // the file the message must name
        if (catalog.isEmpty()) {
            named = ini;
        } else {
            const QString engine = catalog == QLatin1String("oracle") ? QStringLiteral("ORACLE") : QStringLiteral("SQLITE");
            writeAll(ini, QStringLiteral("[Application]\nEngine=%1\nCatalog=%2\nLanguage=%3\n")
                              .arg(engine, catalog == QLatin1String("-") ? QString() : catalog, language)
                              .toUtf8());
            named = catalog == QLatin1String("-") || catalog == QLatin1String("oracle") ? ini : dir.filePath(catalog);
            if (content == "sqlite")
                writeOtherProgramsDatabase(named);
            else if (!content.isEmpty())
                writeAll(named, content);
        }
        session().setLanguage(language);
        TFrmData data;
        QVERIFY(!OpenSession(data, ini));
        QVERIFY(!data.isConnected());
        const QString error = data.connectionError();
        QVERIFY2(error.contains(named), qPrintable(error));
        // Beyond the file's name and the engine's, nothing but the interface's language.
        QString rest = error;
        rest.remove(named).remove(QStringLiteral("ORACLE")).remove(QStringLiteral("SQLITE")).remove(QStringLiteral("POSTGRESQL"))
            .remove(QStringLiteral("Catalog")).remove(QStringLiteral("Engine")).remove(QStringLiteral("Folian"));
        const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{3,}"));
        if (language == QLatin1String("AR"))
            QVERIFY2(!rest.contains(latinWord), qPrintable(error));
        else
            QVERIFY2(!rest.contains(QRegularExpression(QStringLiteral("\\b(not|found|no|file|named|database|unknown)\\b"))),
                     qPrintable(error));
    }

    // A Catalog that names another program's file (or an empty one) is
    // refused before anything is written to it: its bytes, its journal mode
    // and its directory stay as they were, whether a session or init-db
    // opens it.
    void foreignFileLeftUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("create");
        for (bool create : {false, true}) {
            const QString how = create ? QStringLiteral("init-db, ") : QStringLiteral("session, ");
            QTest::newRow(qPrintable(how + QStringLiteral("another program's database"))) << QByteArray("sqlite") << create;
            QTest::newRow(qPrintable(how + QStringLiteral("a text file"))) << QByteArray("Liste des achats\n") << create;
        }
        QTest::newRow("session, an empty file") << QByteArray() << false;
    }
    void foreignFileLeftUntouched()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, create);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Autre.db"));
        if (content == "sqlite")
            writeOtherProgramsDatabase(file);
        else
            writeAll(file, content);
        const QString ini = dir.filePath(QStringLiteral("Folian.ini"));
        writeAll(ini, "[Application]\nEngine=SQLITE\nCatalog=Autre.db\n");
        const QMap<QString, QByteArray> before = snapshot(dir.path());
        QString why;
        if (create) {
            Database db;
            QVERIFY(!db.open(ConnectionParams{QStringLiteral("SQLITE"), {}, QStringLiteral("Autre.db"), {}, {}, dir.path() + u'/'},
                             true, &why));
        } else {
            TFrmData data;
            QVERIFY(!OpenSession(data, ini));
            why = data.connectionError();
            CloseSession(data);
        }
        QVERIFY2(why.contains(file), qPrintable(why));
        QCOMPARE(snapshot(dir.path()), before);
    }

    // A Folian database is still opened, whatever journal it was left in.
    void folianDatabaseOpens()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        tdb.db().close();
        TFrmData data;
        QVERIFY2(OpenSession(data, tdb.writeIni()), qPrintable(data.connectionError()));
        CloseSession(data);
    }

    // SSLMode reaches the server's library: a server without TLS refuses
    // "require" (the test server has none), accepts "disable"; a value the
    // library does not know is refused before connecting.
    void sslModeReachesTheServer_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("connects");
        QTest::newRow("disable") << QStringLiteral("disable") << true;
        QTest::newRow("prefer") << QStringLiteral("prefer") << true;
        QTest::newRow("require") << QStringLiteral("require") << false;
        QTest::newRow("verify-full") << QStringLiteral("verify-full") << false;
        QTest::newRow("unknown") << QStringLiteral("always") << false;
    }
    void sslModeReachesTheServer()
    {
        QFETCH(QString, mode);
        QFETCH(bool, connects);
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        TFrmData data;
        const bool opened = OpenSession(data, tdb.writeIni(QStringLiteral("SSLMode=%1\n").arg(mode)));
        QVERIFY2(opened == connects, qPrintable(data.connectionError()));
        if (mode == QLatin1String("always"))
            QCOMPARE(data.connectionError(), badSslModeMessage(mode));
        else if (!connects)
            QVERIFY2(data.connectionError().contains(QLatin1String("SSL"), Qt::CaseInsensitive), qPrintable(data.connectionError()));
        CloseSession(data);
    }

    // Server=host[:port], with an IPv6 address between brackets.
    void serverAddress_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("name") << QStringLiteral("biblio-srv.local") << QStringLiteral("biblio-srv.local") << 5432;
        QTest::newRow("name and port") << QStringLiteral("biblio-srv.local:5433") << QStringLiteral("biblio-srv.local") << 5433;
        QTest::newRow("IPv4 and port") << QStringLiteral("10.0.0.7:6000") << QStringLiteral("10.0.0.7") << 6000;
        QTest::newRow("IPv6 and port") << QStringLiteral("[::1]:5432") << QStringLiteral("::1") << 5432;
        QTest::newRow("IPv6 alone") << QStringLiteral("[2001:db8::7]") << QStringLiteral("2001:db8::7") << 5432;
        QTest::newRow("IPv6 without brackets") << QStringLiteral("2001:db8::7") << QStringLiteral("2001:db8::7") << 5432;
        QTest::newRow("empty") << QString() << QStringLiteral("localhost") << 5432;
    }
    void serverAddress()
    {
        QFETCH(QString, server);
        QFETCH(QString, host);
        QFETCH(int, port);
        const std::unique_ptr<Dialect> pg = Dialect::forEngine(QStringLiteral("POSTGRESQL"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("address-test"));
        QString why;
        QVERIFY(pg->configure(db, ConnectionParams{QStringLiteral("POSTGRESQL"), server, QStringLiteral("folian"), {}, {}, {}},
                              false, &why));
        QCOMPARE(db.hostName(), host);
        QCOMPARE(db.port(), port);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("address-test"));
    }

    void successfulSessionWritesBack_data() { addEngineRows(); }
    void successfulSessionWritesBack()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE PARAMETRE SET CLASSIFICATION = NULL")));
        const QString path = tdb.writeIni(QStringLiteral("Engine=%1\nMode=0\n[OPAC]\nDirectory=/srv/opac\n").arg(engine.toLower()));
        TFrmData data;
        QVERIFY2(OpenSession(data, path), qPrintable(data.connectionError()));
        QCOMPARE(session().ClassificationScheme, 0);
        QCOMPARE(session().AllDocumentTypes.size(), 24);
        QVERIFY(session().AllDocumentTypes.startsWith(QStringLiteral("abcd")));
        session().CurrentUserId = 7;
        session().setLanguage(QStringLiteral("AR"));
        CloseSession(data);
        IniFile ini;
        QVERIFY(ini.load(path));
        QCOMPARE(ini.value(QStringLiteral("Application"), QStringLiteral("Login")), QStringLiteral("7"));
        QCOMPARE(ini.value(QStringLiteral("Application"), QStringLiteral("Language")), QStringLiteral("AR"));
        QCOMPARE(ini.value(QStringLiteral("Application"), QStringLiteral("Engine")), engine);
        QCOMPARE(ini.value(QStringLiteral("Application"), QStringLiteral("Mode")), QStringLiteral("0"));
        QCOMPARE(ini.value(QStringLiteral("OPAC"), QStringLiteral("Directory")), QStringLiteral("/srv/opac"));
    }
};

QTEST_GUILESS_MAIN(TstConfig)
#include "tst_config.moc"
