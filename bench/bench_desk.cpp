// Loan desk benchmark: a database of 1,000,000 copies (10 per record) and
// 100,000 readers, one copy in ten already lent; then times one loan and
// one return through the desk service, every check and the journal
// included, each in its own transaction, and prints the median and the
// 95th percentile. On PostgreSQL the same series runs again with commits
// that do not wait for the disk (what the program costs beside the flush),
// and the statements one loan and one return send to the server, each a
// round trip, are counted (from the client library's trace of the
// messages, when the benchmark was built with it).
//
//   bench_desk --engine SQLITE [--rows COPIES] [--readers N] [--operations N]
//   bench_desk --engine POSTGRESQL ...   (server from FOLIAN_BENCH_PG_HOST, _PORT,
//                                        _USER, _PASSWORD; a database folian_bench_desk
//                                        is made and dropped)

#include "base/session.h"
#include "circulation/core/loandesk.h"
#include "circulation/core/readers.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "benchdb.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <cstring>
#include <vector>

#ifdef FOLIAN_BENCH_LIBPQ
#include <QSqlDriver>
#include <libpq-fe.h>
#endif

using namespace folian;
using namespace folian::bench;

namespace {

const QString kPgDatabase = QStringLiteral("folian_bench_desk");

#ifdef FOLIAN_BENCH_LIBPQ
// The statements sent on the connection while the trace is on: libpq
// writes each message it exchanges with the server, a statement being a
// "Query" message from the client.
class StatementTrace
{
public:
    explicit StatementTrace(Database &db)
    {
        const QVariant h = db.connection().driver()->handle();
        // Named after the structure behind the typedef.
        if (h.isValid() && (qstrcmp(h.typeName(), "pg_conn*") == 0 || qstrcmp(h.typeName(), "PGconn*") == 0))
            conn_ = *static_cast<PGconn *const *>(h.constData());
    }
    bool available() const { return conn_ != nullptr; }
    void start()
    {
        file_ = std::tmpfile();
        PQtrace(conn_, file_);
        PQsetTraceFlags(conn_, PQTRACE_SUPPRESS_TIMESTAMPS);
    }
    int stop()
    {
        PQuntrace(conn_);
        std::rewind(file_);
        int n = 0;
        char line[256];
        bool lineStart = true;
        while (std::fgets(line, sizeof line, file_)) {
            if (lineStart && std::strncmp(line, "F\t", 2) == 0 && std::strstr(line, "\tQuery\t"))
                ++n;
            lineStart = std::strchr(line, '\n') != nullptr;
        }
        std::fclose(file_);
        return n;
    }

private:
    PGconn *conn_ = nullptr;
    FILE *file_ = nullptr;
};
#endif

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."), QStringLiteral("engine"));
    const QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Copies."), QStringLiteral("n"),
                                     QStringLiteral("1000000"));
    const QCommandLineOption readersOpt(QStringLiteral("readers"), QStringLiteral("Readers."), QStringLiteral("n"),
                                        QStringLiteral("100000"));
    const QCommandLineOption opsOpt(QStringLiteral("operations"), QStringLiteral("Loans (and returns) timed."),
                                    QStringLiteral("n"), QStringLiteral("2000"));
    p.addOptions({engine, rowsOpt, readersOpt, opsOpt});
    p.addHelpOption();
    p.process(app);
    const int copies = p.value(rowsOpt).toInt(), readers = p.value(readersOpt).toInt(), ops = p.value(opsOpt).toInt();
    if (copies < 10 || readers <= 0 || ops <= 0)
        die(QStringLiteral("--rows (at least 10), --readers and --operations must be positive"));

    QTemporaryDir dir;
    const ConnectionParams c = benchConnection(p.value(engine), dir.path(), kPgDatabase);
    {
        Database db;
        QString why;
        if (!db.open(c, true, &why) || !createSchema(db, &why))
            die(why);
        actAsBenchAdministrator();
        const QDate today = serverToday(db);
        QElapsedTimer t;
        t.start();
        {
            Transaction tx(db);
            exec(db, QStringLiteral("INSERT INTO CATEGORIE (CAT_ID, CAT_LIBELLE, CAT_ADHESION, CAT_PENALITE) VALUES (1, 'Etudiant', 365, 2)"));
            exec(db, QStringLiteral("INSERT INTO REGLEMENT (CAT_ID, TYP_ID, REG_DOCUMENT, REG_PRET, REG_PROLONGATION, "
                                    "REG_RESERVATION) VALUES (1, 'a', 1000, 15, 7, 3)"));
            exec(db, QStringLiteral("INSERT INTO JOUR_EXCEPTION (JEX_ID, DATE_DEBUT, DATE_FIN) VALUES (1, ?, ?)"),
                 {dateValue(db, today.addDays(30)), dateValue(db, today.addDays(40))});
            exec(db, numbers(readers) + QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_NOM, LEC_PRENOM, CAT_ID, LEC_STATUT, "
                                                       "LEC_DATE_ADHESION, LEC_STAT_PRET, BIB_ID) "
                                                       "SELECT 'R' || I, 'Nom ' || I, 'Prénom', 1, 0, ?, 0, 0 FROM N"),
                 {dateValue(db, today.addDays(-10))});
            exec(db, numbers(copies / 10) + QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, STA_ID) "
                                                           "SELECT I, 'a', 'Titre ' || I, 1 FROM N"));
            // One copy in ten lent, due in five days.
            exec(db, numbers(copies) + QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, STA_EXP_ID) "
                                                      "SELECT 'C' || I, (I - 1) / 10 + 1, 0, 2 FROM N"));
            // The last copy of each record (its number ends in 0) is lent.
            exec(db, QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = 'R' || ((DOC_ID % ?) + 1), EXP_DATE_PRET = ?, "
                                    "EXP_DATE_RETOUR = ? WHERE EXP_ID LIKE '%0'"),
                 {readers, dateValue(db, today.addDays(-10)), dateValue(db, today.addDays(5))});
            if (!tx.commit())
                die(db.lastError().text());
        }
        exec(db, QStringLiteral("ANALYZE"));
        const qint64 loadMs = t.elapsed();

        // Free copies (not a multiple of 10) to readers at random, then each
        // copy lent given back.
        QRandomGenerator rng(20261209);
        int refused = 0, done = 0;
        QString firstRefusal;
        struct Times {
            std::vector<double> loan, giveBack;
        };
        const auto series = [&] {
            Times times;
            std::vector<QString> lent;
            for (int i = 0; i < ops; ++i) {
                int n = rng.bounded(1, copies + 1);
                if (n % 10 == 0)
                    n -= 1;
                const QString copy = QStringLiteral("C%1").arg(n);
                const QString reader = QStringLiteral("R%1").arg(rng.bounded(1, readers + 1));
                t.restart();
                const DeskResult r = LoanDesk(db).lend(reader, copy);
                times.loan.push_back(double(t.nsecsElapsed()) / 1e6);
                if (r.passed)
                    lent.push_back(copy);
                else if (++refused == 1)
                    firstRefusal = r.message();
            }
            for (const QString &copy : lent) {
                t.restart();
                const DeskResult r = LoanDesk(db).giveBack(copy);
                times.giveBack.push_back(double(t.nsecsElapsed()) / 1e6);
                if (!r.passed)
                    ++refused;
            }
            // A series where nothing was lent timed refusals only.
            if (lent.empty())
                die(QStringLiteral("no loan passed; the first refusal: ") + firstRefusal);
            done += int(lent.size());
            return times;
        };
        const Times durable = series();
        // On the server, the same again without waiting for each commit to
        // reach the disk: what the program costs beside the disk's flush.
        std::optional<Times> unflushed;
        if (db.dialect().isPostgres()) {
            exec(db, QStringLiteral("SET synchronous_commit TO off"));
            unflushed = series();
            exec(db, QStringLiteral("SET synchronous_commit TO on"));
        }
        // The statements of one loan and of one return, over a few more of each.
        int loanStatements = -1, returnStatements = -1;
        const int counted = 20;
#ifdef FOLIAN_BENCH_LIBPQ
        StatementTrace trace(db);
        if (trace.available() && copies > 10 * counted) {
            QStringList copiesLent;
            trace.start();
            for (int i = 0; i < counted; ++i) {
                // Copies never lent in the timed runs: numbers ending in 5 above the range drawn.
                const QString copy = QStringLiteral("C%1").arg(copies - 5 - 10 * i);
                const DeskResult r = LoanDesk(db).lend(QStringLiteral("R%1").arg(i + 1), copy);
                if (!r.passed)
                    die(QStringLiteral("the counted loan of %1 was refused: %2").arg(copy, r.message()));
                copiesLent << copy;
            }
            loanStatements = trace.stop();
            trace.start();
            for (const QString &copy : std::as_const(copiesLent))
                if (!LoanDesk(db).giveBack(copy).passed)
                    die(QStringLiteral("the counted return of %1 was refused").arg(copy));
            returnStatements = trace.stop();
        }
#endif
        const int onLoanAtEnd = db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LEC_ID LIKE 'R%'")).toInt();
        const int journal = db.scalar(QStringLiteral("SELECT COUNT(*) FROM HISTORIQUE_PRET")).toInt();
        std::printf("== desk: %s, %d copies, %d readers ==\n", qPrintable(c.engine), copies, readers);
        std::printf("load            %8lld ms\n", static_cast<long long>(loadMs));
        const auto times = [](const char *what, const std::vector<double> &ms) {
            std::printf("%-34s median %6.2f ms   p95 %6.2f ms   (%zu timed)\n", what, percentile(ms, 0.5),
                        percentile(ms, 0.95), ms.size());
        };
        times("loan", durable.loan);
        times("return", durable.giveBack);
        if (unflushed) {
            times("loan, commit not waiting for disk", unflushed->loan);
            times("return, commit not waiting for disk", unflushed->giveBack);
        }
        std::printf("refused %d, journal rows %d, copies on loan at the end %d\n", refused, journal, onLoanAtEnd);
        if (loanStatements >= 0)
            std::printf("statements sent   loan %.1f   return %.1f   (over %d of each)\n",
                        double(loanStatements) / counted, double(returnStatements) / counted, counted);
        if (journal != 2 * done + (loanStatements >= 0 ? 2 * counted : 0))
            die(QStringLiteral("the journal does not hold every operation"));
    }
    dropBenchDatabase(c);
    return 0;
}
