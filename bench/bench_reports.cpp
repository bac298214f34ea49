// Report writer benchmark. Fills a table with generated rows (French and
// Arabic names, a rate, a date, a code with its label), then writes the
// page of all of them and tells how long that took and how much memory the
// process held before and after.
//
//   bench_reports --engine SQLITE [--rows N]
//   bench_reports --engine POSTGRESQL [--rows N]   (server from FOLIAN_BENCH_PG_HOST,
//                                                  _PORT, _USER, _PASSWORD, _DB)

#include "base/outputdir.h"
#include "base/progress.h"
#include "data/core/database.h"
#include "reports/core/report.h"
#include "benchdb.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace folian;
using namespace folian::bench;

namespace {

class Counter : public Progress
{
public:
    void step(int, int total, const QString &) override { total_ = total; ++steps_; }
    int steps_ = 0, total_ = 0;
};

void fill(Database &db, int rows)
{
    exec(db, QStringLiteral("DROP TABLE IF EXISTS BENCH_ROWS"));
    exec(db, QStringLiteral("DROP TABLE IF EXISTS BENCH_TYPES"));
    exec(db, QStringLiteral("CREATE TABLE BENCH_TYPES (TYP_ID VARCHAR(1) PRIMARY KEY, TYP_LIBELLE VARCHAR(80), "
                            "TYP_LIBELLE_AR VARCHAR(80))"));
    exec(db, QStringLiteral("CREATE TABLE BENCH_ROWS (ID INTEGER PRIMARY KEY, NOM VARCHAR(80), PRETS INTEGER, "
                            "TOTAL INTEGER, JOUR DATE, TYP_ID VARCHAR(1))"));
    const QStringList codes{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    for (const QString &c : codes)
        exec(db, QStringLiteral("INSERT INTO BENCH_TYPES VALUES (?, ?, ?)"),
             {c, QString(QStringLiteral("Type ") + c), QString(QStringLiteral("نوع ") + c)});
    const QStringList names{QStringLiteral("O'Brien & <Fils>"), QStringLiteral("بن علي محمد"),
                            QStringLiteral("Ayşe Yılmaz"), QStringLiteral("Benhadj Élodie")};
    const int batch = 500;
    Transaction tx(db);
    for (int first = 1; first <= rows; first += batch) {
        const int n = qMin(batch, rows - first + 1);
        QString sql = QStringLiteral("INSERT INTO BENCH_ROWS VALUES ");
        QVariantList binds;
        for (int i = 0; i < n; ++i) {
            const int id = first + i;
            sql += (i ? QStringLiteral(", ") : QString()) + QStringLiteral("(?, ?, ?, ?, ?, ?)");
            binds << id << QString(names.at(id % names.size()) + u' ' + QString::number(id)) << id % 7 << 7
                  << QDate(2020, 1, 1).addDays(id % 1500) << codes.at(id % codes.size());
        }
        exec(db, sql, binds);
    }
    if (!tx.commit())
        die(QStringLiteral("commit: ") + db.lastError().text());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."),
                                    QStringLiteral("engine"));
    const QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Rows of the page."),
                                     QStringLiteral("n"), QStringLiteral("200000"));
    p.addOptions({engine, rowsOpt});
    p.addHelpOption();
    p.process(app);
    const int rows = p.value(rowsOpt).toInt();
    if (rows <= 0)
        die(QStringLiteral("--rows must be positive"));

    QTemporaryDir dir;
    setUserDataDirectory(dir.path());
    const ConnectionParams c = benchConnection(p.value(engine), dir.path());
    Database db;
    QString why;
    if (!db.open(c, true, &why))
        die(why);

    QElapsedTimer t;
    t.start();
    fill(db, rows);
    const qint64 fillMs = t.elapsed();
    const double before = peakMb();

    Report report;
    report.fileName = QStringLiteral("bench.html");
    report.french = QStringLiteral("Banc d'essai");
    report.columns = {{QStringLiteral("N°"), {}, 40, ColumnKind::Number, false, {}},
                      {QStringLiteral("Nom"), {}, 200, ColumnKind::Text, false, {}},
                      {QStringLiteral("Taux"), {}, 60, ColumnKind::Rate, false, {}},
                      {QStringLiteral("Date"), {}, 80, ColumnKind::Date, false, {}},
                      {QStringLiteral("Type"), {}, 100, ColumnKind::Code, false,
                       {QStringLiteral("BENCH_TYPES"), QStringLiteral("TYP_ID"), QStringLiteral("TYP_LIBELLE")}}};
    report.sql = QStringLiteral("SELECT ID, NOM, PRETS * 100.0 / TOTAL, JOUR, TYP_ID FROM BENCH_ROWS ORDER BY ID");
    Counter progress;
    t.restart();
    const ReportResult r = writeReport(db, report, &progress);
    const qint64 writeMs = t.elapsed();
    if (!r.written())
        die(r.message);
    std::printf("== report writer: %s, %d rows ==\n", qPrintable(c.engine), rows);
    std::printf("fill            %8lld ms\n", static_cast<long long>(fillMs));
    std::printf("write page      %8lld ms  (%.0f rows/s, %d progress steps, total %d)\n",
                static_cast<long long>(writeMs), writeMs ? rows * 1000.0 / double(writeMs) : 0.0,
                progress.steps_, progress.total_);
    std::printf("page size       %8.1f MB\n", double(QFileInfo(r.path).size()) / 1048576.0);
    std::printf("peak memory     %8.1f MB before writing, %.1f MB after\n", before, peakMb());
    exec(db, QStringLiteral("DROP TABLE BENCH_ROWS"));
    exec(db, QStringLiteral("DROP TABLE BENCH_TYPES"));
    return 0;
}
