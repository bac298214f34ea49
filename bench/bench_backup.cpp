// Backup and restore benchmark: a catalogue of generated records (French and
// Arabic titles), a copy each, a reader for ten records and a loan journal of
// half as many operations; then a backup of it (time, size) and its restore
// into an empty database (time, counts compared).
//
//   bench_backup --engine SQLITE [--rows N]
//   bench_backup --engine POSTGRESQL [--rows N]   (server from FOLIAN_BENCH_PG_HOST,
//                                                  _PORT, _USER, _PASSWORD; databases
//                                                  folian_bench_backup and _restored are
//                                                  made and dropped)

#include "admin/core/backup.h"
#include "base/outputdir.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "benchdb.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace folian;
using namespace folian::bench;

namespace {

void fill(Database &db, int rows)
{
    Transaction tx(db);
    exec(db, numbers(rows) + QStringLiteral(
                                 "INSERT INTO NOTICE (DOC_ID, TYP_ID, STA_ID, LAN_ID, DOC_TITRE_PROPRE, DOC_ANNEE, DOC_RESUME) "
                                 "SELECT I, 'a', 1, CASE WHEN I % 3 = 0 THEN 'ara' ELSE 'fre' END, "
                                 "CASE I % 2 WHEN 0 THEN 'الكتاب ' || I ELSE 'L''histoire du livre ' || I END, '2001', "
                                 "'Résumé de la notice ' || I FROM N"));
    exec(db, numbers(rows) + QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, STA_EXP_ID, EXP_COTE) "
                                            "SELECT 'C' || I, I, 0, 2, 'COTE ' || I FROM N"));
    exec(db, numbers(rows / 10) + QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_NOM, LEC_PRENOM, CAT_ID, BIB_ID) "
                                                 "SELECT 'L' || I, 'Nom ' || I, 'Prénom', 1, 0 FROM N"));
    exec(db, numbers(rows / 2) + QStringLiteral("INSERT INTO HISTORIQUE_PRET (HIS_ID, HIS_OPERATION, EXP_ID, LEC_ID, HIS_DATE) "
                                                "SELECT I, 1 + I % 2, 'C' || I, 'L' || (1 + I % ?), ? FROM N"),
         {qMax(1, rows / 10), QDate(2026, 1, 1)});
    if (!tx.commit())
        die(db.lastError().text());
}

QString line(const HoldingCounts &c)
{
    return QStringLiteral("%1 records, %2 copies, %3 readers, %4 journal").arg(c.records).arg(c.copies).arg(c.readers).arg(c.journal);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."), QStringLiteral("engine"));
    const QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Records."), QStringLiteral("n"),
                                     QStringLiteral("1000000"));
    p.addOptions({engine, rowsOpt});
    p.addHelpOption();
    p.process(app);
    const int rows = p.value(rowsOpt).toInt();
    if (rows < 10)
        die(QStringLiteral("--rows must be at least 10"));
    actAsBenchAdministrator();

    QTemporaryDir dir, restoredDir;
    setUserDataDirectory(dir.path());
    const ConnectionParams c = benchConnection(p.value(engine), dir.path(), QStringLiteral("folian_bench_backup"));
    const ConnectionParams r =
        benchConnection(p.value(engine), restoredDir.path(), QStringLiteral("folian_bench_backup_restored"));
    {
        Database db;
        QString why;
        if (!db.open(c, true, &why) || !createSchema(db, &why))
            die(why);
        QElapsedTimer t;
        t.start();
        fill(db, rows);
        exec(db, QStringLiteral("ANALYZE"));
        std::printf("== backup and restore: %s, %d records ==\n", qPrintable(c.engine), rows);
        std::printf("%-10s %8lld ms\n", "fill", static_cast<long long>(t.elapsed()));

        t.restart();
        BackupFile b;
        if (!BackupDatabase(db, dir.filePath(QStringLiteral("backups")), 0, &b, &why))
            die(why);
        std::printf("%-10s %8lld ms  %.1f MB, checked; %s\n", "backup", static_cast<long long>(t.elapsed()),
                    double(b.size) / 1048576.0, qPrintable(line(b.counts)));

        Database target;
        if (!target.open(r, true, &why))
            die(why);
        t.restart();
        RestoreResult result;
        if (!RestoreDatabase(target, b.path, false, &result, &why))
            die(why);
        std::printf("%-10s %8lld ms  %s (%s)\n", "restore", static_cast<long long>(t.elapsed()),
                    qPrintable(line(result.restored)),
                    result.restored.sameHoldings(b.counts) ? "the counts recorded" : "COUNTS DIFFER");
    }
    dropBenchDatabase(c);
    dropBenchDatabase(r);
    return 0;
}
