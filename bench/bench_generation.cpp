// Catalogue generation benchmark: a catalogue of generated records (French
// and Arabic titles, some with articles; one principal author among a tenth
// as many headings; one or two subjects, one of them shared by a tenth of
// the records; one classification index; one copy), then the printed
// catalogue of all of them and of the records under one index: how long
// each takes and how much memory the process holds.
//
//   bench_generation --engine SQLITE [--rows N]
//   bench_generation --engine POSTGRESQL [--rows N]   (server from FOLIAN_BENCH_PG_HOST,
//                                                      _PORT, _USER, _PASSWORD; a database
//                                                      folian_bench_generation is made and dropped)

#include "base/outputdir.h"
#include "base/progress.h"
#include "base/session.h"
#include "catalogue/generation/cataloguegeneration.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "benchdb.h"
#include "processortime.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <cstdio>

using namespace folian;
using namespace folian::bench;

namespace {

const QString kPgDatabase = QStringLiteral("folian_bench_generation");

// Counts the steps and notes the peak memory at the end of each phase
// (reading the records, writing each page).
class Counter : public Progress
{
public:
    void step(int, int, const QString &text) override
    {
        ++steps;
        const QString phase = text.section(u':', 0, 0);
        if (phase != phase_) {
            if (!phase_.isEmpty())
                phases << QStringLiteral("%1 %2 MB").arg(phase_.section(u'/', -1)).arg(peakMb(), 0, 'f', 1);
            phase_ = phase;
        }
    }
    QStringList phases;
    qint64 steps = 0;

private:
    QString phase_;
};

void fill(Database &db, int rows)
{
    const int headings = qMax(1, rows / 10);
    Transaction tx(db);
    // Authors 1..headings, subjects after them, the shared subject last.
    exec(db, numbers(headings) + QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) "
                                                "SELECT I, 1, CASE WHEN I % 3 = 0 THEN 'بن علي، محمد ' || I "
                                                "ELSE 'Écrivain ' || I || ', Jean' END, I FROM N"));
    exec(db, numbers(headings) + QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) "
                                                "SELECT ? + I, 6, 'Sujet ' || I, ? + I FROM N"),
         {headings, headings});
    exec(db, QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (?, 6, 'Histoire', ?)"),
         {2 * headings + 1, 2 * headings + 1});
    exec(db, numbers(rows) + QStringLiteral(
                                 "INSERT INTO NOTICE (DOC_ID, TYP_ID, STA_ID, LAN_ID, DOC_TITRE_PROPRE, DOC_LIEU_EDITION, "
                                 "DOC_ANNEE, DOC_RESUME) SELECT I, 'a', 1, CASE WHEN I % 3 = 0 THEN 'ara' ELSE 'fre' END, "
                                 "CASE I % 4 WHEN 0 THEN 'الكتاب ' || I WHEN 1 THEN 'Le livre ' || I "
                                 "WHEN 2 THEN 'L''été ' || I ELSE 'Œuvres <choisies> & ' || I END, 'Alger', '2001', "
                                 "'Résumé de la notice ' || I FROM N"));
    exec(db, numbers(rows) + QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) "
                                            "SELECT I, I, (I % ?) + 1, 1 FROM N"),
         {headings});
    exec(db, numbers(rows) + QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) "
                                            "SELECT I, I, ? + (I % ?) + 1 FROM N"),
         {headings, headings});
    exec(db, numbers(rows / 10) + QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) "
                                                 "SELECT ? + I, I * 10, ? FROM N"),
         {rows, 2 * headings + 1});
    exec(db, numbers(rows) + QStringLiteral("INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) "
                                            "SELECT I, I, CAST(100 + (I % 900) AS VARCHAR(10)) || '.4' FROM N"));
    exec(db, numbers(rows) + QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, STA_EXP_ID, EXP_COTE) "
                                            "SELECT 'C' || I, I, 0, 2, 'COTE ' || I FROM N"));
    if (!tx.commit())
        die(db.lastError().text());
}

void run(Database &db, const char *what, const CatalogueOptions &o)
{
    Counter progress;
    const qint64 server = db.dialect().isPostgres() ? db.scalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong() : 0;
    const double serverBefore = cpuSecondsOf(server), before = cpuSeconds();
    QElapsedTimer t;
    t.start();
    const CatalogueResult r = generateCatalogue(db, o, &progress);
    const qint64 ms = t.elapsed();
    const double used = cpuSeconds() - before, serverUsed = serverBefore < 0 ? -1 : cpuSecondsOf(server) - serverBefore;
    if (!r.completed())
        die(r.message);
    qint64 bytes = 0;
    for (const QString &page : r.pages)
        bytes += QFileInfo(page).size();
    std::printf("%-26s %8lld ms  (%.0f records/s) %d entries, index lines %d/%d/%d, pages %.1f MB, peak %.1f MB\n",
                what, static_cast<long long>(ms), ms ? r.records * 1000.0 / double(ms) : 0.0, r.entries, r.titles,
                r.authors, r.subjects, double(bytes) / 1048576.0, peakMb());
    std::printf("    peak at the end of: %s\n", qPrintable(progress.phases.join(QStringLiteral(", "))));
    if (serverUsed >= 0)
        std::printf("    processor: %.1f s the program, %.1f s the server\n", used, serverUsed);
    else
        std::printf("    processor: %.1f s\n", used);
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

    QTemporaryDir dir;
    setUserDataDirectory(dir.path());
    const ConnectionParams c = benchConnection(p.value(engine), dir.path(), kPgDatabase);
    {
        Database db;
        QString why;
        if (!db.open(c, true, &why) || !createSchema(db, &why))
            die(why);
        QElapsedTimer t;
        t.start();
        fill(db, rows);
        exec(db, QStringLiteral("ANALYZE"));
        std::printf("== catalogue generation: %s, %d records ==\n", qPrintable(c.engine), rows);
        std::printf("%-26s %8lld ms, peak %.1f MB\n", "fill", static_cast<long long>(t.elapsed()), peakMb());
        CatalogueOptions o;
        o.directory = dir.filePath(QStringLiteral("pages"));
        o.analytic = true;
        run(db, "every record, analytique", o);
        o.classification = QStringLiteral("3");
        o.analytic = false;
        run(db, "index 3, signaletique", o);
    }
    dropBenchDatabase(c);
    return 0;
}
