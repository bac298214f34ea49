// Loan desk benchmark: a database of 1,000,000 copies (10 per record) and
// 100,000 readers, one copy in ten already lent; then times one loan and
// one return through the desk service, every check and the journal
// included, each in its own transaction, and prints the median and the
// 95th percentile.
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
#include <vector>

using namespace folian;
using namespace folian::bench;

namespace {

const QString kPgDatabase = QStringLiteral("folian_bench_desk");

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
        session().CurrentUserLogin = QStringLiteral("bench");
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

        // Free copies (not a multiple of 10) to readers at random.
        QRandomGenerator rng(20261209);
        std::vector<QString> lent;
        std::vector<double> loanMs, returnMs;
        int refused = 0;
        for (int i = 0; i < ops; ++i) {
            int n = rng.bounded(1, copies + 1);
            if (n % 10 == 0)
                n -= 1;
            const QString copy = QStringLiteral("C%1").arg(n);
            const QString reader = QStringLiteral("R%1").arg(rng.bounded(1, readers + 1));
            t.restart();
            const DeskResult r = LoanDesk(db).lend(reader, copy);
            loanMs.push_back(double(t.nsecsElapsed()) / 1e6);
            if (r.passed)
                lent.push_back(copy);
            else
                ++refused;
        }
        for (const QString &copy : lent) {
            t.restart();
            const DeskResult r = LoanDesk(db).giveBack(copy);
            returnMs.push_back(double(t.nsecsElapsed()) / 1e6);
            if (!r.passed)
                ++refused;
        }
        const int onLoanAtEnd = db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LEC_ID LIKE 'R%'")).toInt();
        const int journal = db.scalar(QStringLiteral("SELECT COUNT(*) FROM HISTORIQUE_PRET")).toInt();
        std::printf("== desk: %s, %d copies, %d readers ==\n", qPrintable(c.engine), copies, readers);
        std::printf("load            %8lld ms\n", static_cast<long long>(loadMs));
        std::printf("loan            median %6.2f ms   p95 %6.2f ms   (%zu timed)\n", percentile(loanMs, 0.5),
                    percentile(loanMs, 0.95), loanMs.size());
        std::printf("return          median %6.2f ms   p95 %6.2f ms   (%zu timed)\n", percentile(returnMs, 0.5),
                    percentile(returnMs, 0.95), returnMs.size());
        std::printf("refused %d, journal rows %d, copies on loan at the end %d\n", refused, journal, onLoanAtEnd);
        if (journal != int(lent.size() * 2))
            die(QStringLiteral("the journal does not hold every operation"));
    }
    dropBenchDatabase(c);
    return 0;
}
