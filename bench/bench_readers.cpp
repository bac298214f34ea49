// Reader benchmark: imports a generated file of readers (French and Arabic
// names, a few duplicate numbers and unreadable dates), lends copies to
// some of them, then times the reader searches the screens run (a number
// prefix, a surname word, a status with the late column) and the standing
// check of the loan desk.
//
//   bench_readers --engine SQLITE [--rows N]
//   bench_readers --engine POSTGRESQL [--rows N]   (server from FOLIAN_BENCH_PG_HOST,
//                                                  _PORT, _USER, _PASSWORD; a database
//                                                  folian_bench_readers is made and dropped)

#include "base/session.h"
#include "circulation/core/readerimport.h"
#include "circulation/core/readers.h"
#include "circulation/core/readerstanding.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "benchdb.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using namespace folian;
using namespace folian::bench;

namespace {

const QString kPgDatabase = QStringLiteral("folian_bench_readers");

// One reader a line; every 100th number repeats the one before, every
// 150th date cannot be read.
QString readerFile(int rows)
{
    static const char16_t *const names[] = {u"Benali", u"بن علي", u"d'Alembert", u"Saïdi", u"حداد", u"Ben Salah"};
    static const char16_t *const first[] = {u"Amine", u"سارة", u"Élodie", u"يوسف"};
    QString text;
    text.reserve(rows * 60);
    for (int i = 1; i <= rows; ++i) {
        const int number = i % 100 == 0 ? i - 1 : i;
        const QString date = i % 150 == 0 ? QStringLiteral("31/02/1990")
                                          : QStringLiteral("%1/%2/%3").arg(1 + i % 28).arg(1 + i % 12).arg(1960 + i % 45);
        text += QStringLiteral("R%1;%2 %3;%4;%5;%6 rue des Frères %7\n")
                    .arg(number, 7, 10, QLatin1Char('0'))
                    .arg(QString::fromUtf16(names[i % 6]))
                    .arg(i % 997)
                    .arg(QString::fromUtf16(first[i % 4]), date)
                    .arg(i % 200)
                    .arg(i % 50);
    }
    return text;
}

qint64 timeSearch(Database &db, const ReaderSearch &s, int *found)
{
    QElapsedTimer t;
    t.start();
    const SqlText q = readerSearchSql(db.dialect(), s, QDate::currentDate());
    SqlRows r = db.query(q.sql, q.binds);
    if (!r.isActive())
        die(db.lastError().text());
    *found = 0;
    while (r.next())
        ++*found;
    return t.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."),
                                    QStringLiteral("engine"));
    const QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Readers in the file."),
                                     QStringLiteral("n"), QStringLiteral("100000"));
    p.addOptions({engine, rowsOpt});
    p.addHelpOption();
    p.process(app);
    const int rows = p.value(rowsOpt).toInt();
    if (rows <= 0)
        die(QStringLiteral("--rows must be positive"));

    QTemporaryDir dir;
    const ConnectionParams c = benchConnection(p.value(engine), dir.path(), kPgDatabase);
    int status = 0;
    {
        Database db;
        QString why;
        if (!db.open(c, true, &why) || !createSchema(db, &why))
            die(why);
        exec(db, QStringLiteral("INSERT INTO CATEGORIE (CAT_ID, CAT_LIBELLE, CAT_ADHESION) VALUES (1, 'Etudiant', 365)"));
        const QString path = dir.filePath(QStringLiteral("lecteurs.txt"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(readerFile(rows).toUtf8()) < 0)
            die(QStringLiteral("cannot write ") + path);
        f.close();

        actAsBenchAdministrator();
        ReaderImportOptions o;
        o.categoryId = 1;
        QElapsedTimer t;
        t.start();
        const ReaderImportResult r = importReaders(db, path, o);
        const qint64 importMs = t.elapsed();
        if (!r.error.isEmpty())
            die(r.error);

        // A copy lent to every 20th reader, overdue for every 40th.
        t.restart();
        {
            Transaction tx(db);
            exec(db, QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE) VALUES (1, 'a', 'Titre')"));
            const QDate today = QDate::currentDate();
            for (int i = 20; i <= rows; i += 20)
                exec(db,
                     QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, STA_EXP_ID, LEC_ID, EXP_DATE_RETOUR) "
                                    "VALUES (?, 1, 2, ?, ?)"),
                     {QStringLiteral("E%1").arg(i), QStringLiteral("R%1").arg(i + (i % 100 == 0 ? 1 : 0), 7, 10, QLatin1Char('0')),
                      dateValue(db, today.addDays(i % 40 == 0 ? -3 : 5))});
            if (!tx.commit())
                die(db.lastError().text());
        }
        const qint64 loansMs = t.elapsed();

        std::printf("== readers: %s, %d lines ==\n", qPrintable(c.engine), rows);
        std::printf("import          %8lld ms  (%.0f lines/s; %d imported, %d rejected)\n",
                    static_cast<long long>(importMs), importMs ? rows * 1000.0 / double(importMs) : 0.0, r.imported,
                    int(r.skipped.size()));
        std::printf("lend copies     %8lld ms\n", static_cast<long long>(loansMs));
        const struct {
            const char *name;
            ReaderSearch s;
        } searches[] = {
            {"number R00012*", {ReaderCriterion::Numero, QStringLiteral("R00012*"), {}, QStringLiteral("="), {}, -1}},
            {"surname \"ben salah\"", {ReaderCriterion::Nom, QStringLiteral("ben salah"), {}, QStringLiteral("="), {}, -1}},
            {"surname \"حداد 17\"", {ReaderCriterion::Nom, QStringLiteral("حداد 17"), {}, QStringLiteral("="), {}, -1}},
            {"status Normal", {ReaderCriterion::Statut, {}, {}, QStringLiteral("="), {}, 0}},
        };
        for (const auto &s : searches) {
            int found = 0;
            const qint64 ms = timeSearch(db, s.s, &found);
            std::printf("search %-22s %6lld ms  (%d readers)\n", s.name, static_cast<long long>(ms), found);
        }
        t.restart();
        int passed = 0;
        const int checks = qMin(rows, 2000);
        for (int i = 1; i <= checks; ++i)
            passed += checkReader(db, QStringLiteral("R%1").arg(i, 7, 10, QLatin1Char('0')), CheckPurpose::Desk,
                                  QDate::currentDate())
                          .passed;
        const qint64 checkMs = t.elapsed();
        std::printf("desk check      %8.2f ms a reader  (%d checked, %d in good standing)\n",
                    double(checkMs) / checks, checks, passed);
        std::printf("peak memory     %8.1f MB\n", peakMb());
        if (r.imported + r.skipped.size() != rows)
            status = 1;
    }
    dropBenchDatabase(c);
    return status;
}
