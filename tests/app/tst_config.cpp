// Folian.ini: reading with defaults, writing back only what the session
// owns, and the start-up that fails without touching the file.

#include "base/config.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "base/session.h"
#include "data/core/shareddata.h"
#include "support/testdb.h"

#include <QFile>
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
