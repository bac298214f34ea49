#pragma once
// What the database benchmarks share: stopping on a failure with the
// program's name, running a statement or stopping, the server's
// maintenance database, and the peak memory in MB.

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

// The peak resident memory of the process so far, in MB (0 when unknown).
inline double peakMb()
{
    const long kib = peakKiB();
    return kib < 0 ? 0 : double(kib) / 1024.0;
}

} // namespace folian::bench
