#pragma once
// What the benchmarks that measure in a fresh process of their own share:
// the directory of the generated SQLite file, starting this program again as
// the measuring process, and the "RESULT key value" lines it prints.

#include "benchdb.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace folian::bench {

// One measure of the measuring process, for its parent to read.
inline void result(const QString &key, double v)
{
    std::printf("RESULT %s %.3f\n", qPrintable(key), v);
    std::fflush(stdout);
}

// The directory of the SQLite file: `given`, else a temporary one held by
// `holder` and removed at the end unless `keep`.
inline QString workDirectory(const QString &given, bool keep, std::unique_ptr<QTemporaryDir> &holder)
{
    if (!given.isEmpty()) {
        QDir().mkpath(given);
        return given;
    }
    holder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/folian-bench-XXXXXX"));
    if (!holder->isValid())
        die(QStringLiteral("no temporary directory"));
    holder->setAutoRemove(!keep);
    return holder->path();
}

// Runs this program again with `args`, its standard error passed through;
// stops when it cannot run or fails. Gives its standard output.
inline QString runMeasuringProcess(const QStringList &args,
                                   const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForStarted() || !child.waitForFinished(-1))
        die(QStringLiteral("the measuring process did not run: ") + child.errorString());
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        die(QStringLiteral("the measuring process failed (exit %1)").arg(child.exitCode()));
    return QString::fromUtf8(child.readAllStandardOutput());
}

// The measures among the lines of a measuring process's output.
inline QHash<QString, double> resultsOf(const QString &output)
{
    QHash<QString, double> r;
    for (const QString &line : output.split(u'\n')) {
        const QStringList parts = line.split(u' ');
        if (parts.size() == 3 && parts.at(0) == QLatin1String("RESULT"))
            r.insert(parts.at(1), parts.at(2).toDouble());
    }
    return r;
}

} // namespace folian::bench
