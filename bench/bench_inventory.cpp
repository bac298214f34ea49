// Inventory benchmark: a catalogue of ROWS copies (half as many records),
// half of them (shelf marks "A-...") the selection of a campaign; times the
// campaign's start, the reading of a scanner's file of as many numbers as
// the selection holds, 1% of them unknown, the flag's toggle, and the
// register page of 100,000 rows and of the whole selection, with the peak
// memory after each.
//
//   bench_inventory --engine SQLITE [--rows COPIES] [--repeats N]
//   bench_inventory --engine POSTGRESQL ...   (server from FOLIAN_BENCH_PG_HOST, _PORT,
//                                            _USER, _PASSWORD; a database
//                                            folian_bench_inv is made and dropped)

#include "acquisitions/core/inventorycampaign.h"
#include "acquisitions/core/inventorypages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "data/core/migrator.h"
#include "benchdb.h"
#include "measuringprocess.h"
#include "peakmemory.h"
#include "recordgen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace folian;
using namespace folian::bench;

namespace {

const QString kPgDatabase = QStringLiteral("folian_bench_inv");

void timed(const char *what, const QString &key, qint64 ms)
{
    std::printf("%-40s %10lld ms   peak %6.0f MB\n", what, static_cast<long long>(ms), peakKiB() / 1024.0);
    result(key + QStringLiteral("_ms"), double(ms));
    result(key + QStringLiteral("_peak_mb"), peakKiB() / 1024.0);
}

void load(Database &db, int copies)
{
    Transaction tx(db);
    exec(db, numbers(copies / 2) + QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, STA_ID, BIB_ID) "
                                                  "SELECT I, 'a', 'Titre ' || I, 1, 0 FROM N"));
    // Copy numbers of one width, so that their texts sort as their numbers.
    exec(db, numbers(copies)
                 + QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, EXP_COTE, EXP_INVENTORIE, STA_EXP_ID, LEC_ID) "
                                  "SELECT 'E' || (10000000 + I), 1 + I / 2, 0, "
                                  "CASE WHEN I % 2 = 0 THEN 'A-' ELSE 'B-' END || I, 1, 2, "
                                  "CASE WHEN I % 1000 = 0 THEN 'R1' END FROM N"));
    if (!tx.commit())
        die(db.lastError().text());
    // Both tables, as the server's own maintenance would have done by the
    // time a library inventories: a plan made for a table still taken for
    // empty reads a whole index for each copy of a page.
    for (const char *table : {"NOTICE", "NOTICE_EXEMPLAIRE"})
        if (const QString refresh = db.dialect().refreshStatistics(QLatin1String(table)); !refresh.isEmpty())
            exec(db, refresh);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."), QStringLiteral("engine"));
    const QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Copies."), QStringLiteral("n"),
                                     QStringLiteral("1000000"));
    const QCommandLineOption repeatsOpt(QStringLiteral("repeats"), QStringLiteral("Toggles timed."), QStringLiteral("n"),
                                        QStringLiteral("200"));
    p.addOptions({engine, rowsOpt, repeatsOpt});
    p.addHelpOption();
    p.process(app);
    const int copies = p.value(rowsOpt).toInt(), repeats = p.value(repeatsOpt).toInt();
    if (copies < 1000 || repeats <= 0)
        die(QStringLiteral("--rows (at least 1000) and --repeats must be positive"));

    QTemporaryDir dir;
    setUserDataDirectory(dir.path());
    const ConnectionParams c = benchConnection(p.value(engine), dir.path(), kPgDatabase);
    {
        Database db;
        QString why;
        if (!db.open(c, true, &why) || !createSchema(db, &why))
            die(why);
        session().CurrentUserLogin = QStringLiteral("bench");
        session().CurrentUserRole = 1;
        QElapsedTimer t;
        t.start();
        load(db, copies);
        std::printf("== inventory: %s, %d copies ==\n", qPrintable(c.engine), copies);
        timed("load", QStringLiteral("load"), t.elapsed());

        InventoryCriteria selection;
        selection.shelfMark = QStringLiteral("A-*");
        t.restart();
        const AcqResult started = startCampaign(db, selection);
        if (!started.passed)
            die(started.message);
        timed("campaign started (half the copies)", QStringLiteral("campaign_start"), t.elapsed());

        // The scanner's file: every copy of the selection, one in a hundred unknown.
        const QString file = dir.filePath(QStringLiteral("scan.txt"));
        {
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly))
                die(file);
            for (int i = 2; i <= copies; i += 2)
                f.write(QByteArray(i % 200 == 0 ? "X" : "E") + QByteArray::number(10000000 + i) + "\r\n");
        }
        t.restart();
        const ScanReport r = markScannedFile(db, started.key, file);
        if (!r.passed)
            die(r.message);
        timed("scanner's file read", QStringLiteral("scan_file"), t.elapsed());
        std::printf("   lines %d found %d unknown %d duplicates %d misplaced %d lent %d\n", r.lines, r.found, r.unknown,
                    r.duplicates, r.misplaced, r.lent);

        QVector<double> toggles;
        for (int i = 0; i < repeats; ++i) {
            const QString copy = QStringLiteral("E%1").arg(10000000 + 1 + (i * 7919) % copies);
            const QVariant seen = db.scalar(QStringLiteral("SELECT EXP_INVENTORIE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {copy});
            t.restart();
            const AcqResult done = toggleInventoried(db, copy, seen);
            toggles << double(t.nsecsElapsed()) / 1e6;
            if (!done.passed)
                die(done.message);
        }
        const Stats s = stats(toggles);
        std::printf("%-40s median %8.2f ms   p95 %8.2f ms\n", "toggle", s.median, s.p95);
        result(QStringLiteral("toggle_median_ms"), s.median);
        result(QStringLiteral("toggle_p95_ms"), s.p95);

        InventoryCriteria hundred;
        hundred.numberOperator = NumberOperator::Interval;
        hundred.number = QStringLiteral("E%1").arg(10000001);
        hundred.number2 = QStringLiteral("E%1").arg(10000000 + qMin(copies, 100000));
        t.restart();
        ReportResult page = writeInventoryPage(db, InventoryPage::Register, hundred);
        if (!page.written())
            die(page.message);
        timed(qPrintable(QStringLiteral("register page, %1 rows").arg(page.rows)), QStringLiteral("register_100k"), t.elapsed());
        t.restart();
        page = writeCampaignPage(db, InventoryPage::Register, started.key);
        if (!page.written())
            die(page.message);
        timed(qPrintable(QStringLiteral("register page, %1 rows").arg(page.rows)), QStringLiteral("register_selection"),
              t.elapsed());
    }
    dropBenchDatabase(c);
    return 0;
}
