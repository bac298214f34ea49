// Backups and restores on both engines: a backup taken while another
// workstation lends and returns holds a state that existed; a restore gives
// the same counts and searches; what must be refused is refused with the
// database and the directory untouched.

#include "admin/core/backup.h"
#include "base/progress.h"
#include "base/session.h"
#include "catalogue/core/recordsearch.h"
#include "circulation/deskfixture.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "data/core/searchcolumns.h"
#include "support/folianctl.h"
#include "support/workstations.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

constexpr int kCopies = 10;
constexpr int kLoans = 500;  // each returned: a thousand operations

QString copyId(int i) { return QStringLiteral("X%1").arg(i); }

// Ten records of the loan type with a copy each, and words to search.
bool addHoldings(Database &db)
{
    if (!deskSetUp(db))
        return false;
    for (int i = 0; i < kCopies; ++i)
        if (!addCopy(db, i + 1, copyId(i), QStringLiteral("a"), QVariant(), QVariant()))
            return false;
    qint64 written = 0;
    QString why;
    return db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = ? WHERE DOC_ID = 1"), {QStringLiteral("Histoire de Fès")})
        && db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = ? WHERE DOC_ID = 2"), {QStringLiteral("تاريخ المغرب")})
        && db.exec(QStringLiteral("UPDATE NOTICE SET DOC_TITRE_PROPRE = ? WHERE DOC_ID = 3"), {QStringLiteral("L'histoire d'Ahmed")})
        && refreshSearchColumns(db, &written, &why);
}

qint64 number(Database &db, const QString &sql) { return db.scalar(sql).toLongLong(); }

// The counters and the journal of a database tell the same story.
void checkCountersAgree(Database &db)
{
    const qint64 loans = number(db, QStringLiteral("SELECT COUNT(*) FROM HISTORIQUE_PRET WHERE HIS_OPERATION = 1"));
    const qint64 returns = number(db, QStringLiteral("SELECT COUNT(*) FROM HISTORIQUE_PRET WHERE HIS_OPERATION = 2"));
    QCOMPARE(number(db, QStringLiteral("SELECT SUM(COALESCE(DOC_PRET_EXTERNE, 0)) FROM NOTICE")), loans);
    QCOMPARE(number(db, QStringLiteral("SELECT SUM(COALESCE(LEC_STAT_PRET, 0)) FROM LECTEUR")), loans);
    QCOMPARE(number(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LEC_ID IS NOT NULL")), loans - returns);
}

QList<int> found(Database &db, const QString &words)
{
    RecordCriteria c;
    c.titleWords = words;
    c.sort = RecordSort::Title;
    QList<int> ids;
    QString why;
    if (!recordIds(db, c, &ids, &why))
        qWarning("search: %s", qPrintable(why));
    return ids;
}

QStringList filesIn(const QString &dir) { return QDir(dir).entryList(QDir::Files, QDir::Name); }

} // namespace

class TstBackup : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("admin");
        session().CurrentUserRole = 1;
    }

    void backupWhileLoansGoOn_data() { addEngineRows(); }
    void backupWhileLoansGoOn()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addHoldings(db));
        std::atomic<int> done{0};
        Workstation desk(tdb.params(), [&](Database &c) {
            LoanDesk d(c, today());
            for (int i = 0; i < kLoans; ++i) {
                const QString copy = copyId(i % kCopies);
                if (!d.lend(QStringLiteral("A"), copy).passed || !d.giveBack(copy).passed)
                    return false;
                done += 2;
            }
            return true;
        });
        while (done.load() < 100 && !desk.finished())
            QThread::msleep(5);
        QTemporaryDir dir;
        BackupFile b;
        QString why;
        QVERIFY2(BackupDatabase(db, dir.path(), 0, &b, &why), qPrintable(why));
        QVERIFY(desk.wait());
        QCOMPARE(done.load(), 2 * kLoans);
        // Taken while the desk worked: some of its operations, in one state.
        QVERIFY2(b.counts.journal >= 100, qPrintable(QString::number(b.counts.journal)));
        QCOMPARE(filesIn(dir.path()), QStringList({QFileInfo(b.path).fileName(), QFileInfo(b.path).fileName() + QStringLiteral(".json")}));

        TestDatabase restored(engine, false);
        QVERIFY2(restored.isValid(), qPrintable(restored.error()));
        RestoreResult r;
        QVERIFY2(RestoreDatabase(restored.db(), b.path, false, &r, &why), qPrintable(why));
        QVERIFY(r.restored.sameHoldings(b.counts));
        QCOMPARE(r.restored.schemaVersion, Schema::currentVersion());
        checkCountersAgree(restored.db());
        QCOMPARE(number(restored.db(), QStringLiteral("SELECT COUNT(*) FROM HISTORIQUE_PRET")), b.counts.journal);
    }

    void restoreGivesTheSameSearches_data() { addEngineRows(); }
    void restoreGivesTheSameSearches()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addHoldings(db));
        QVERIFY(LoanDesk(db, today()).lend(QStringLiteral("B"), copyId(4)).passed);
        QTemporaryDir dir;
        BackupFile b;
        QString why;
        QVERIFY2(BackupDatabase(db, dir.path(), 0, &b, &why), qPrintable(why));
        QCOMPARE(b.counts.records, kCopies);
        QCOMPARE(b.counts.loans, 1);

        TestDatabase restored(engine, false);
        QVERIFY2(restored.isValid(), qPrintable(restored.error()));
        RestoreResult r;
        QVERIFY2(RestoreDatabase(restored.db(), b.path, false, &r, &why), qPrintable(why));
        const HoldingCounts original = CountHoldings(db);
        QVERIFY(r.restored.sameHoldings(original));
        for (const QString &words : {QStringLiteral("histoire"), QStringLiteral("fes"), QStringLiteral("تاريخ"),
                                     QStringLiteral("ahmed"), QStringLiteral("titre")}) {
            const QList<int> before = found(db, words);
            QVERIFY2(!before.isEmpty(), qPrintable(words));
            QCOMPARE(found(restored.db(), words), before);
        }
        // A restored database is a working one: the desk goes on.
        QVERIFY(LoanDesk(restored.db(), today()).giveBack(copyId(4)).passed);
    }

    // Refusals: the target database and the backup directory stay as they were.
    void refusals_data() { addEngineRows(); }
    void refusals()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addHoldings(db));
        QTemporaryDir dir;
        BackupFile b;
        QString why;
        QVERIFY2(BackupDatabase(db, dir.path(), 0, &b, &why), qPrintable(why));

        // Into a database that holds data: refused, untouched.
        FOLIAN_TEST_DB(other, engine);
        QVERIFY(addCopy(other.db(), 77, QStringLiteral("Z"), QStringLiteral("a"), QVariant(), QVariant()));
        RestoreResult r;
        QVERIFY(!RestoreDatabase(other.db(), b.path, false, &r, &why));
        QVERIFY2(why.contains(QStringLiteral("contient déjà")), qPrintable(why));
        QCOMPARE(CountHoldings(other.db()).records, 1);
        // With --replace: what it held is backed up first, beside the file.
        QVERIFY2(RestoreDatabase(other.db(), b.path, true, &r, &why), qPrintable(why));
        QCOMPARE(r.restored.records, kCopies);
        QVERIFY(QFileInfo::exists(r.replacedKeptIn));
        BackupFile kept;
        QVERIFY2(CheckBackup(r.replacedKeptIn, &kept, &why), qPrintable(why));
        QCOMPARE(kept.counts.records, 1);

        // A backup damaged after it was written (one byte changed): refused.
        const QString damaged = dir.filePath(QStringLiteral("damaged") + QFileInfo(b.path).suffix().prepend(u'.'));
        QVERIFY(QFile::copy(b.path, damaged) && QFile::copy(b.path + QStringLiteral(".json"), damaged + QStringLiteral(".json")));
        {
            QFile f(damaged);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(f.size() / 2);
            const char c = f.peek(1).at(0);
            f.write(QByteArray(1, char(c ^ 0x5a)));
        }
        TestDatabase empty(engine, false);
        QVERIFY(!RestoreDatabase(empty.db(), damaged, false, &r, &why));
        QVERIFY2(why.contains(QStringLiteral("abîmé")), qPrintable(why));
        // Cut short, without its description: the engine cannot read it whole.
        QVERIFY(QFile::remove(damaged + QStringLiteral(".json")));
        QVERIFY(QFile::resize(damaged, QFileInfo(b.path).size() / 3));
        QVERIFY(!RestoreDatabase(empty.db(), damaged, false, &r, &why));
        QVERIFY2(!why.isEmpty(), "no reason given");
        QVERIFY(CountHoldings(empty.db()).empty());

        // A directory that cannot be made: told, nothing written.
        const QString notADirectory = dir.filePath(QStringLiteral("plain-file"));
        QVERIFY(QFile(notADirectory).open(QIODevice::WriteOnly));
        QVERIFY(!BackupDatabase(db, notADirectory + QStringLiteral("/sub"), 0, &b, &why));
        QVERIFY2(why.contains(QStringLiteral("ne peut pas recevoir")), qPrintable(why));

        // Only an administrator backs up or replaces a database's data.
        const int before = int(filesIn(dir.path()).size());
        session().CurrentUserRole = 2;
        QVERIFY(!BackupDatabase(db, dir.path(), 0, &b, &why));
        QVERIFY(!RestoreDatabase(other.db(), r.replacedKeptIn, true, &r, &why));
        QVERIFY2(why.contains(QStringLiteral("Administrateur")), qPrintable(why));
        QCOMPARE(CountHoldings(other.db()).records, kCopies);
        QCOMPARE(int(filesIn(dir.path()).size()), before);
    }

    // Stopped by the operator: no file left, under any name.
    void stop_data() { addEngineRows(); }
    void stop()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(addHoldings(tdb.db()));
        struct StopAtOnce : Progress {
            mutable int asked = 0;
            bool stopped() const override { return ++asked > 0; }
        } progress;
        QTemporaryDir dir;
        BackupFile b;
        QString why;
        QVERIFY(!BackupDatabase(tdb.db(), dir.path(), 0, &b, &why, &progress));
        QVERIFY2(why.contains(QStringLiteral("Arrêté")), qPrintable(why));
        QVERIFY(progress.asked > 0);
        QCOMPARE(filesIn(dir.path()), QStringList());
    }

    // A backup of an older schema comes back upgraded, its rows kept.
    void olderBackupIsUpgraded_data() { addEngineRows(); }
    void olderBackupIsUpgraded()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addHoldings(db));
        QVERIFY(db.exec(QStringLiteral("DROP TABLE SUGGESTION")));
        QVERIFY(db.exec(QStringLiteral("DELETE FROM VERSION_BASE")));
        QTemporaryDir dir;
        BackupFile b;
        QString why;
        QVERIFY2(BackupDatabase(db, dir.path(), 0, &b, &why), qPrintable(why));
        QCOMPARE(b.counts.schemaVersion, 0);
        TestDatabase restored(engine, false);
        RestoreResult r;
        QVERIFY2(RestoreDatabase(restored.db(), b.path, false, &r, &why), qPrintable(why));
        QCOMPARE(r.versionBefore, 0);
        QCOMPARE(r.restored.schemaVersion, Schema::currentVersion());
        QVERIFY(restored.db().dialect().tables(restored.db().connection()).contains(QStringLiteral("SUGGESTION")));
        QVERIFY(r.restored.sameHoldings(b.counts));
    }

    void keepKeepsTheNewest_data() { addEngineRows(); }
    void keepKeepsTheNewest()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(addHoldings(db));
        QTemporaryDir dir;
        // Somebody else's file stays whatever --keep says.
        QVERIFY(QFile(dir.filePath(QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly));
        QStringList written;
        QString why;
        for (int i = 0; i < 5; ++i) {
            BackupFile b;
            QVERIFY2(BackupDatabase(db, dir.path(), 3, &b, &why), qPrintable(why));
            written << b.path;
        }
        const QVector<BackupFile> left = ListBackups(dir.path());
        QCOMPARE(left.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(left.at(i).path, written.at(4 - i));  // the newest first
        QCOMPARE(filesIn(dir.path()).size(), 3 * 2 + 1);
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("notes.txt"))));
    }

    // On the server: tools that cannot be found are told, and no file is left.
    void missingTools()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("POSTGRESQL"));
        QTemporaryDir dir, noTools;
        qputenv("FOLIAN_PG_BINDIR", noTools.path().toLocal8Bit());
        BackupFile b;
        QString why;
        const bool done = BackupDatabase(tdb.db(), dir.path(), 0, &b, &why);
        qunsetenv("FOLIAN_PG_BINDIR");
        QVERIFY(!done);
        QVERIFY2(why.contains(QStringLiteral("pg_dump")) && why.contains(QStringLiteral("postgresql-client")), qPrintable(why));
        QCOMPARE(filesIn(dir.path()), QStringList());
    }

    // The commands: what they print, their status.
    void commands_data() { addEngineRows(); }
    void commands()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(addHoldings(tdb.db()) && addCommandAdministrator(tdb.db()));
        QTemporaryDir dir;
        const QString ini = tdb.writeIni();
        CtlRun run = runFolianctl(ini, {QStringLiteral("backup"), dir.path(), QStringLiteral("--keep"), QStringLiteral("2")});
        QVERIFY2(run.code == 0, qPrintable(run.out));
        QVERIFY2(run.out.contains(QStringLiteral("10 record(s), 10 copy(ies), 3 reader(s), 0 loan(s)")), qPrintable(run.out));
        const QString file = ListBackups(dir.path()).value(0).path;
        QVERIFY2(run.out.contains(file), qPrintable(run.out));
        run = runFolianctl(ini, {QStringLiteral("backup"), dir.path(), QStringLiteral("--keep"), QStringLiteral("0")});
        QVERIFY2(run.code != 0 && run.out.contains(QStringLiteral("--keep")), qPrintable(run.out));

        // Into a database with data: refused, non-zero.
        run = runFolianctl(ini, {QStringLiteral("restore"), file});
        QVERIFY2(run.code != 0 && run.out.contains(QStringLiteral("restore failed")), qPrintable(run.out));
        TestDatabase empty(engine, false);
        run = runFolianctl(empty.writeIni(), {QStringLiteral("restore"), file});
        QVERIFY2(run.code == 0 && run.out.contains(QStringLiteral("The counts are those the backup recorded")),
                 qPrintable(run.out));
        run = runFolianctl(ini, {QStringLiteral("backups"), dir.path()});
        QVERIFY2(run.code == 0 && run.out.contains(QStringLiteral("1 backup(s).")), qPrintable(run.out));
    }
};

QTEST_GUILESS_MAIN(TstBackup)
#include "tst_backup.moc"
