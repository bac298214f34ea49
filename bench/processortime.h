#pragma once
// Processor time of the benchmark and of the server's process of its
// connection: on a machine shared with other work, the steadier measure of
// what a run costs than the time on the clock.

#include <QFile>
#include <QList>

#include <sys/resource.h>
#include <unistd.h>

namespace folian::bench {

// Processor time of this process so far (user and system), in seconds.
inline double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Processor time of another process (the database server's process of our
// connection), in seconds; -1 when it cannot be read.
inline double cpuSecondsOf(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // The fields after the command name, which is in parentheses.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / ticks;
}

} // namespace folian::bench
