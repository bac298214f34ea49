#pragma once
// What the database benchmarks share: stopping on a failure with the
// program's name, running a statement or stopping, the server's
// maintenance database, and the peak memory in MB.

#include "base/session.h"
#include "data/core/database.h"
#include "peakmemory.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <cstdlib>

namespace folian::bench {

[[noreturn]] inline void die(const QString &why)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(why));
    std::exit(1);
}

// 1..n as the rows of a recursive query (N.I), on both engines: what a
// generated table is inserted from.
inline QString numbers(int n)
{
    return QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1) ").arg(n);
}

// The benchmarks act as an administrator named "bench": the services check
// the rights of the user they act for, and a refused operation timed would
// measure nothing.
inline void actAsBenchAdministrator()
{
    Session &s = session();
    s.CurrentUserLogin = QStringLiteral("bench");
    s.CurrentUserRole = 1;
}

inline void exec(Database &db, const QString &sql, const QVariantList &binds = {})
{
    if (!db.exec(sql, binds))
        die(sql + QStringLiteral(": ") + db.lastError().text());
}

// Runs `sql` on the maintenance database of the server of `c` (to make or
// drop the benchmark's database).
inline void adminExec(const ConnectionParams &c, const QString &sql)
{
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        admin.setHostName(c.server.section(u':', 0, 0));
        admin.setPort(c.server.section(u':', 1).toInt());
        admin.setUserName(c.user);
        admin.setPassword(c.password);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (!admin.open())
            die(admin.lastError().text());
        QSqlQuery q(admin);
        if (!q.exec(sql))
            die(sql + QStringLiteral(": ") + q.lastError().text());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
}

// The database a benchmark runs on, for `engine` "SQLITE" or "POSTGRESQL":
// the file "bench.db" in `dir`, or on the server given by FOLIAN_BENCH_PG_HOST,
// _PORT, _USER and _PASSWORD the database `pgDatabase`, made afresh (without
// a name: FOLIAN_BENCH_PG_DB, else "postgres", used as it is).
inline ConnectionParams benchConnection(const QString &engine, const QString &dir, const QString &pgDatabase = {})
{
    ConnectionParams c;
    c.engine = engine.trimmed().toUpper();
    c.appDir = dir + u'/';
    if (c.engine == QLatin1String("POSTGRESQL")) {
        c.server = qEnvironmentVariable("FOLIAN_BENCH_PG_HOST") + u':' + qEnvironmentVariable("FOLIAN_BENCH_PG_PORT");
        c.user = qEnvironmentVariable("FOLIAN_BENCH_PG_USER");
        c.password = qEnvironmentVariable("FOLIAN_BENCH_PG_PASSWORD");
        if (pgDatabase.isEmpty()) {
            c.catalog = qEnvironmentVariable("FOLIAN_BENCH_PG_DB", QStringLiteral("postgres"));
        } else {
            c.catalog = pgDatabase;
            adminExec(c, QStringLiteral("DROP DATABASE IF EXISTS ") + pgDatabase);
            adminExec(c, QStringLiteral("CREATE DATABASE ") + pgDatabase + QStringLiteral(" ENCODING 'UTF8'"));
        }
    } else if (c.engine == QLatin1String("SQLITE")) {
        c.catalog = QStringLiteral("bench.db");
    } else {
        die(QStringLiteral("--engine SQLITE|POSTGRESQL is required"));
    }
    return c;
}

// Drops the server database that benchConnection made (nothing on SQLite,
// whose file goes with its directory). Every connection to it must be closed.
inline void dropBenchDatabase(const ConnectionParams &c)
{
    if (c.engine != QLatin1String("POSTGRESQL"))
        return;
    QSqlDatabase::removeDatabase(c.catalog);
    adminExec(c, QStringLiteral("DROP DATABASE IF EXISTS ") + c.catalog + QStringLiteral(" WITH (FORCE)"));
}

// The peak resident memory of the process so far, in MB (0 when unknown).
inline double peakMb()
{
    const long kib = peakKiB();
    return kib < 0 ? 0 : double(kib) / 1024.0;
}

} // namespace folian::bench
