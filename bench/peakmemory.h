#pragma once
// The peak resident memory of the running process, for the benchmarks.

#include <QFile>

namespace folian::bench {

// VmHWM of /proc/self/status in KiB, -1 when unknown.
inline long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace folian::bench
