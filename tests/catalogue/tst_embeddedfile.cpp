// The embedded file written by tools that know nothing of the program: a
// plain connection that registers no function and the sqlite3 shell insert,
// update and delete records, headings and publishers; the schema calls
// nothing of the program's. What they write without its folded words and
// collation keys is found by a scan, and through the indexes, in its
// alphabetical place, once folianctl search-indexes has written them.

#include "catalogue/core/recordsearch.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"
#include "support/folianctl.h"
#include "support/testdb.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <sqlite3.h>

using namespace folian;
using namespace folian::test;

namespace {

// What a librarian's tool runs: one statement of each kind on each table.
const char *const kStatements[] = {
    "INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, DOC_KEYWORDS, DOC_ISBN) "
    "VALUES (100, 'a', 'Écume des jours', '/Écume//des//jours/', '2070360248')",
    "INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, DOC_KEYWORDS) VALUES (101, 'a', 'Vol de nuit', '/Vol//de//nuit/')",
    "UPDATE NOTICE SET DOC_TITRE_PROPRE = 'Aube', DOC_KEYWORDS = '/Aube/' WHERE DOC_ID = 101",
    "DELETE FROM NOTICE WHERE DOC_ID = 2",
    "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2, VED_KEYWORDS) VALUES (20, 1, 'Vian, Boris', 20, '/Vian//Boris/')",
    "UPDATE VEDETTE SET VED_NOM = 'Camus, A.', VED_KEYWORDS = '/Camus//A/' WHERE VED_ID = 1",
    "DELETE FROM VEDETTE WHERE VED_ID = 2",
    "INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (20, 100, 20, 1)",
    "INSERT INTO EDITEUR (EDT_ID, EDT_NOM, EDT_TYPE, EDT_KEYWORDS) VALUES (20, 'Pauvert', 1, '/Pauvert/')",
    "UPDATE EDITEUR SET EDT_NOM = 'Gallimard', EDT_KEYWORDS = '/Gallimard/' WHERE EDT_ID = 1",
    "DELETE FROM EDITEUR WHERE EDT_ID = 2",
    "UPDATE NOTICE SET EDT_ID = 20 WHERE DOC_ID = 100",
};

bool fill(Database &db, QString *why)
{
    const auto text = [](const char *s) { return QVariant(QString::fromUtf8(s)); };
    return insertRows(db, QStringLiteral("NOTICE"),
                      {QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
                       QStringLiteral("EDT_ID")},
                      {{1, text("a"), text("Zazie dans le métro"), 1}, {2, text("a"), text("Bonjour tristesse"), 2},
                       {3, text("a"), text("Étranger"), 1}},
                      why)
        && insertRows(db, QStringLiteral("VEDETTE"),
                      {QStringLiteral("VED_ID"), QStringLiteral("TYP_VED_ID"), QStringLiteral("VED_NOM"), QStringLiteral("VED_ID2")},
                      {{1, 1, text("Queneau, Raymond"), 1}, {2, 1, text("Sagan, Françoise"), 2}}, why)
        && insertRows(db, QStringLiteral("EDITEUR"),
                      {QStringLiteral("EDT_ID"), QStringLiteral("EDT_NOM"), QStringLiteral("EDT_TYPE")},
                      {{1, text("Éditions de Minuit"), 1}, {2, text("Julliard"), 1}}, why)
        && insertRows(db, QStringLiteral("NOTICE_AUTEUR"),
                      {QStringLiteral("NAU_ID"), QStringLiteral("DOC_ID"), QStringLiteral("VED_ID"), QStringLiteral("AUT_TYPE")},
                      {{1, 1, 1, 1}, {2, 2, 2, 1}}, why);
}

QString path(const TestDatabase &tdb) { return tdb.params().appDir + tdb.params().catalog; }

QList<int> ids(Database &db, const RecordCriteria &c)
{
    QList<int> out;
    QString why;
    if (!recordIds(db, c, &out, &why))
        return {-1};
    return out;
}

RecordCriteria words(const QString &title, const QString &author = {}, const QString &publisher = {})
{
    RecordCriteria c;
    c.titleWords = title;
    c.author = author;
    c.publisher = publisher;
    return c;
}

RecordCriteria everyRecordByTitle()
{
    RecordCriteria c;
    c.type = QStringLiteral("a");
    c.sort = RecordSort::Title;
    return c;
}

} // namespace

class TstEmbeddedFile : public QObject
{
    Q_OBJECT

    // After the tool's statements: found by a scan, not yet through the
    // indexes; after folianctl search-indexes, through them too, and in
    // the order of the titles.
    void checkAfterTheTool(TestDatabase &tdb)
    {
        Database &db = tdb.db();
        db.setIndexedSearch(false);
        QCOMPARE(ids(db, words(QStringLiteral("ecume"))), QList<int>{100});
        QCOMPARE(ids(db, words({}, QStringLiteral("vian"))), QList<int>{100});
        QCOMPARE(ids(db, words({}, {}, QStringLiteral("pauvert"))), QList<int>{100});
        QCOMPARE(ids(db, words({}, QStringLiteral("camus"))), QList<int>{1});
        db.refreshIndexedSearch();
        QVERIFY(db.dialect().indexedSearch());
        QCOMPARE(ids(db, words(QStringLiteral("ecume"))), QList<int>());

        const CtlRun run = runFolianctl(tdb.writeIni(), {QStringLiteral("search-indexes")});
        QVERIFY2(run.code == 0, qPrintable(run.out));
        QVERIFY2(run.out.contains(QStringLiteral("written again: 6 row(s) ")), qPrintable(run.out));
        QCOMPARE(ids(db, words(QStringLiteral("ecume"))), QList<int>{100});
        QCOMPARE(ids(db, words(QStringLiteral("aube"))), QList<int>{101});
        QCOMPARE(ids(db, words({}, QStringLiteral("vian"))), QList<int>{100});
        QCOMPARE(ids(db, words({}, QStringLiteral("camus"))), QList<int>{1});
        QCOMPARE(ids(db, words({}, QStringLiteral("queneau"))), QList<int>());
        QCOMPARE(ids(db, words({}, {}, QStringLiteral("gallimard"))), (QList<int>{1, 3}));
        QCOMPARE(ids(db, words({}, {}, QStringLiteral("pauvert"))), QList<int>{100});
        QCOMPARE(ids(db, everyRecordByTitle()), (QList<int>{101, 100, 3, 1}));  // Aube, Écume, Étranger, Zazie
    }

private slots:
    void theSchemaCallsNothingOfTheProgram()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        SqlRows q = tdb.db().query(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE sql LIKE '%FOLIAN%'"));
        QVERIFY(q.isActive());
        const bool calls = q.next();
        QVERIFY2(!calls, qPrintable(calls ? q.value(0).toString() + QStringLiteral(": ") + q.value(1).toString() : QString()));
    }

    void plainConnectionWritesTheFile()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        QString why;
        QVERIFY2(fill(tdb.db(), &why), qPrintable(why));
        sqlite3 *plain = nullptr;
        QCOMPARE(sqlite3_open_v2(path(tdb).toUtf8().constData(), &plain, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        sqlite3_busy_timeout(plain, 10000);
        for (const char *sql : kStatements) {
            char *error = nullptr;
            const int rc = sqlite3_exec(plain, sql, nullptr, nullptr, &error);
            const QString message = QString::fromUtf8(sql) + QStringLiteral(": ") + QString::fromUtf8(error ? error : "");
            sqlite3_free(error);
            QVERIFY2(rc == SQLITE_OK, qPrintable(message));
        }
        QCOMPARE(sqlite3_close(plain), SQLITE_OK);
        checkAfterTheTool(tdb);
    }

    void sqliteShellWritesTheFile()
    {
        const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        if (shell.isEmpty())
            QSKIP("no sqlite3 shell on this machine (scripts/setup.sh installs it)");
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        QString why;
        QVERIFY2(fill(tdb.db(), &why), qPrintable(why));
        QByteArray script = ".bail on\n";
        for (const char *sql : kStatements)
            script += QByteArray(sql) + ";\n";
        QProcess p;
        p.start(shell, {path(tdb)});
        p.write(script);
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(60000));
        const QString errors = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && errors.isEmpty(), qPrintable(errors));
        checkAfterTheTool(tdb);
    }
};

QTEST_GUILESS_MAIN(TstEmbeddedFile)
#include "tst_embeddedfile.moc"
