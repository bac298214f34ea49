// folianctl builds a working database on both engines and says no clearly.

#include "data/core/database.h"
#include "data/core/searchcolumns.h"
#include "support/folianctl.h"
#include "support/testdb.h"

#include <QProcessEnvironment>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {
struct Run {
    int code;
    QString out;
};
Run folianctl(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(FOLIANCTL_PATH), args);
    if (!p.waitForFinished(120000))
        return {-1, QStringLiteral("timeout")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
}
} // namespace

class TstFolianctl : public QObject
{
    Q_OBJECT
private slots:
    void initAndDemo_data() { addEngineRows(); }
    void initAndDemo()
    {
        QFETCH(QString, engine);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        TestDatabase tdb(engine, false);  // empty
        QVERIFY2(tdb.isValid(), qPrintable(tdb.error()));
        const QString ini = tdb.writeIni();
        Run r = folianctl({QStringLiteral("--ini"), ini, QStringLiteral("init-db"), QStringLiteral("--admin-password"), QStringLiteral("s3cret")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        r = folianctl({QStringLiteral("--ini"), ini, QStringLiteral("demo-db")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        Database &db = tdb.db();
        QCOMPARE(db.scalar(QStringLiteral("SELECT UTL_LOGIN FROM UTILISATEUR WHERE UTL_ID = 1")).toString(), QStringLiteral("admin"));
        QVERIFY(db.scalar(QStringLiteral("SELECT UTL_PASSWORD FROM UTILISATEUR WHERE UTL_ID = 1")).toString().startsWith(QStringLiteral("$argon2")));
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(DISTINCT UTL_ROLE) FROM UTILISATEUR")).toInt() == 8);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE")).toInt() >= 25);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE LAN_ID = 'ara'")).toInt() >= 10);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE")).toInt() >= 30);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM LECTEUR")).toInt() >= 5);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM REGLEMENT")).toInt() >= 3);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FOURNISSEUR")).toInt() >= 2);
        // Every copy belongs to a record, every author row to a heading.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE E WHERE NOT EXISTS (SELECT 1 FROM NOTICE N WHERE N.DOC_ID = E.DOC_ID)")).toInt(), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_AUTEUR A WHERE NOT EXISTS (SELECT 1 FROM VEDETTE V WHERE V.VED_ID = A.VED_ID)")).toInt(), 0);
        // Doing either again is refused, with a message and a failure status, and changes nothing.
        const int users = db.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR")).toInt();
        r = folianctl({QStringLiteral("--ini"), ini, QStringLiteral("demo-db")});
        QVERIFY(r.code != 0);
        QVERIFY(!r.out.trimmed().isEmpty());
        r = folianctl({QStringLiteral("--ini"), ini, QStringLiteral("init-db")});
        QVERIFY(r.code != 0);
        QVERIFY(r.out.contains(QStringLiteral("already holds tables")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR")).toInt(), users);
        r = folianctl({QStringLiteral("--ini"), ini, QStringLiteral("upgrade-db")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
    }

    // Headings and reference rows from the command line: the same rules as the screens.
    void authorities_data() { addEngineRows(); }
    void authorities()
    {
        QFETCH(QString, engine);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        TestDatabase tdb(engine);
        QVERIFY2(tdb.isValid(), qPrintable(tdb.error()));
        Database &db = tdb.db();
        for (int id : {1, 2, 3})
            QVERIFY(db.exec(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (?, 1, ?, ?)"),
                            {id, QStringLiteral("Nom %1").arg(id), id == 3 ? 1 : id}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, LAN_ID) VALUES (1, 'T', 'fre')")));
        QString why;
        QVERIFY2(refreshSearchColumns(db, nullptr, &why), qPrintable(why));
        QVERIFY(addCommandAdministrator(db));
        const QString ini = tdb.writeIni();
        const auto ctl = [&ini](QStringList args) { return folianctl(QStringList{QStringLiteral("--ini"), ini} + args); };
        Run r = ctl({QStringLiteral("headings"), QStringLiteral("nom*")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("3 heading(s)")));
        // 1 becomes a rejected form of 2: its rejected form 3 follows it.
        r = ctl({QStringLiteral("accepted-form"), QStringLiteral("1"), QStringLiteral("2")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(db.scalar(QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = 3")).toInt(), 2);
        r = ctl({QStringLiteral("accepted-form"), QStringLiteral("2"), QStringLiteral("3")});
        QVERIFY(r.code != 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = 2")).toInt(), 2);
        r = ctl({QStringLiteral("delete-reference"), QStringLiteral("VEDETTE"), QStringLiteral("2")});
        QVERIFY(r.code != 0);
        QVERIFY(r.out.contains(QStringLiteral("VEDETTE")));
        r = ctl({QStringLiteral("delete-reference"), QStringLiteral("langue"), QStringLiteral("fre")});
        QVERIFY(r.code != 0);
        QVERIFY(r.out.contains(QStringLiteral("NOTICE")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM LANGUE WHERE LAN_ID = 'fre'")).toInt(), 1);
        r = ctl({QStringLiteral("accepted-form"), QStringLiteral("3"), QStringLiteral("none")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        r = ctl({QStringLiteral("delete-reference"), QStringLiteral("VEDETTE"), QStringLiteral("3")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM VEDETTE")).toInt(), 2);
    }

    // The record search: one line per record and the count, the count
    // alone, a year that is not a number refused.
    void search_data() { addEngineRows(); }
    void search()
    {
        QFETCH(QString, engine);
        if (engine == QLatin1String("POSTGRESQL") && !postgresAvailable())
            QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");
        TestDatabase tdb(engine);
        QVERIFY2(tdb.isValid(), qPrintable(tdb.error()));
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, DOC_KEYWORDS, DOC_ISBN, DOC_ANNEE) "
                                       "VALUES (1, 'Le petit prince', '/le/petit/prince/', '207036822X', '1946'), "
                                       "(2, ?, ?, NULL, '2005')"),
                        {QStringLiteral("مكتبة أحمد"), QStringLiteral("/مكتبة/أحمد/")}));
        QString why;
        QVERIFY2(refreshSearchColumns(db, nullptr, &why), qPrintable(why));
        const QString ini = tdb.writeIni();
        const auto ctl = [&ini](QStringList args) { return folianctl(QStringList{QStringLiteral("--ini"), ini} + args); };
        Run r = ctl({QStringLiteral("search"), QStringLiteral("--number"), QStringLiteral("2-07-036822-X")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("1\tLe petit prince\n")));
        QVERIFY(r.out.contains(QStringLiteral("1 record(s)")));
        r = ctl({QStringLiteral("search"), QStringLiteral("--keywords"), QStringLiteral("احمد"), QStringLiteral("--count")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(r.out.trimmed(), QStringLiteral("1"));
        r = ctl({QStringLiteral("search"), QStringLiteral("--year"), QStringLiteral(">=1900"), QStringLiteral("--count")});
        QCOMPARE(r.out.trimmed(), QStringLiteral("2"));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("result.mrc"));
        r = ctl({QStringLiteral("search"), QStringLiteral("--keywords"), QStringLiteral("PETIT"), QStringLiteral("--export"), file});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QFile exported(file);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray records = exported.readAll();
        QCOMPARE(records.count('\x1d'), 1);  // one record, ended by its terminator
        QVERIFY(records.contains("207036822X"));
        r = ctl({QStringLiteral("search"), QStringLiteral("--year"), QStringLiteral("19x")});
        QVERIFY(r.code != 0);
        r = ctl({QStringLiteral("search")});
        QVERIFY(r.code != 0);

        // The copy list of the shelf-mark and copy-number criteria.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, EXP_COTE) VALUES "
                                       "('E2', 1, '843 FER'), ('E1', 2, '900 ROB')")));
        r = ctl({QStringLiteral("copies"), QStringLiteral("--shelfmark"), QStringLiteral("843*")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QCOMPARE(r.out, QStringLiteral("E2\t843 FER\t1\n1 copy(ies)\n"));
        r = ctl({QStringLiteral("copies")});
        QVERIFY(r.out.startsWith(QStringLiteral("E2\t843 FER\t1\nE1\t900 ROB\t2\n")));
        r = ctl({QStringLiteral("copies"), QStringLiteral("--copy"), QStringLiteral("e1")});
        QVERIFY(r.out.startsWith(QStringLiteral("E1\t")));
        r = ctl({QStringLiteral("copies"), QStringLiteral("--copy"), QStringLiteral("E1"), QStringLiteral("--shelfmark"),
                 QStringLiteral("x")});
        QVERIFY(r.code != 0);
        // Without the search indexes the same records are found; the command makes them again.
        r = ctl({QStringLiteral("search-indexes"), QStringLiteral("--drop")});
        QVERIFY2(r.code == 0, qPrintable(r.out));
        r = ctl({QStringLiteral("search-indexes"), QStringLiteral("--status")});
        QVERIFY2(r.out.contains(QStringLiteral("Search indexes present: none.")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("Search indexes missing: NOTICE_MOTS")));
        r = ctl({QStringLiteral("search"), QStringLiteral("--keywords"), QStringLiteral("احمد"), QStringLiteral("--count")});
        QCOMPARE(r.out.trimmed(), QStringLiteral("1"));
        r = ctl({QStringLiteral("search-indexes")});
        QVERIFY2(r.code == 0 && !r.out.contains(QStringLiteral("missing")), qPrintable(r.out));
        r = ctl({QStringLiteral("search"), QStringLiteral("--keywords"), QStringLiteral("احمد"), QStringLiteral("--count")});
        QCOMPARE(r.out.trimmed(), QStringLiteral("1"));
        r = ctl({QStringLiteral("search"), QStringLiteral("--number"), QStringLiteral("2-07-036822-x"), QStringLiteral("--count")});
        QCOMPARE(r.out.trimmed(), QStringLiteral("1"));
    }

    // A page of any query among the user's pages, in the configured
    // language; a failing query says why; the scratch report database.
    void pages_data() { addEngineRows(); }
    void pages()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        const QString ini = tdb.writeIni(QStringLiteral("Language=AR\n"));
        const QString sql = QStringLiteral("SELECT TYP_ID, TYP_LIBELLE_AR FROM TYPE_DOCUMENT WHERE TYP_ID = 'a'");
        Run r = folianctl({QStringLiteral("--ini"), ini, QStringLiteral("report"), QStringLiteral("types.html"),
                           QStringLiteral("--title"), QStringLiteral("Types"), QStringLiteral("--sql"), sql},
                          env);
        QVERIFY2(r.code == 0, qPrintable(r.out));
        const QString page = home.path() + QStringLiteral("/Folian/pages/types.html");
        QVERIFY2(r.out.contains(QStringLiteral("1 rows written to ") + page), qPrintable(r.out));
        QFile f(page);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("<html dir=\"rtl\">"));
        QVERIFY(bytes.contains("<td valign=\"top\">a</td><td valign=\"top\">\xDF\xCA\xC7\xC8</td>"));  // كتاب

        r = folianctl({QStringLiteral("--ini"), ini, QStringLiteral("report"), QStringLiteral("types.html"),
                       QStringLiteral("--title"), QStringLiteral("Types"), QStringLiteral("--sql"),
                       QStringLiteral("SELECT * FROM NO_SUCH_TABLE")},
                      env);
        QVERIFY(r.code > 0);
        QVERIFY2(r.out.contains(QStringLiteral("فشل استعلام التقرير")), qPrintable(r.out));

        r = folianctl({QStringLiteral("scratch-db")}, env);
        QVERIFY2(r.code == 0, qPrintable(r.out));
        QVERIFY(QFile::exists(home.path() + QStringLiteral("/Folian/Folian.tmp")));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("ini");
        QTest::newRow("no command") << QStringList() << QString();
        QTest::newRow("unknown command") << QStringList{QStringLiteral("drop-all")} << QString();
        QTest::newRow("missing ini") << QStringList{QStringLiteral("init-db")} << QStringLiteral("/nonexistent/Folian.ini");
        QTest::newRow("unknown engine") << QStringList{QStringLiteral("init-db")} << QStringLiteral("[Application]\nEngine=ORACLE\nCatalog=x.db\n");
        QTest::newRow("demo without schema") << QStringList{QStringLiteral("demo-db")} << QStringLiteral("[Application]\nEngine=SQLITE\nCatalog=x.db\n");
        QTest::newRow("server unreachable") << QStringList{QStringLiteral("init-db")} << QStringLiteral("[Application]\nEngine=POSTGRESQL\nServer=127.0.0.1:1\nCatalog=x\n");
    }
    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, ini);
        QTemporaryDir dir;
        QString path = ini;
        if (ini.startsWith(u'[')) {
            path = dir.filePath(QStringLiteral("Folian.ini"));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ini.toUtf8());
            f.close();
            if (args.first() == QLatin1String("demo-db")) {
                QFile db(dir.filePath(QStringLiteral("x.db")));
                QVERIFY(db.open(QIODevice::WriteOnly));
            }
        }
        if (!path.isEmpty())
            args = QStringList{QStringLiteral("--ini"), path} + args;
        const Run r = folianctl(args);
        QVERIFY2(r.code > 0, qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("folianctl")));
    }
};

QTEST_GUILESS_MAIN(TstFolianctl)
#include "tst_folianctl.moc"
