// UNIMARC commands.

#include "ctl.h"

#include "catalogue/unimarc/dump.h"
#include "catalogue/unimarc/importfile.h"
#include "catalogue/unimarc/output.h"
#include "data/core/database.h"

#include <QFile>
#include <cstdio>

namespace folian::ctl {

namespace {

// Prints a UNIMARC file in tagged form; needs no configuration or database.
int dump(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("dump takes one file (see --help)"));
    const QString path = a.positional.first();
    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write to the standard output"));
    const unimarc::DumpCounts counts = unimarc::dumpFile(path, out, err);
    out.flush();
    if (!counts.ok())
        return fail(QStringLiteral("cannot read %1: %2").arg(path, counts.error));
    if (counts.rejected > 0)
        std::fprintf(stderr, "folianctl: %lld of %lld records rejected\n", static_cast<long long>(counts.rejected),
                     static_cast<long long>(counts.rejected + counts.records));
    return 0;
}

// Imports a UNIMARC file; prints the log lines on standard error and the counts.
int import(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("import takes one file (see --help)"));
    bool ok = false;
    const int library = a.value(QStringLiteral("library"), QStringLiteral("0")).toInt(&ok);
    if (!ok || library < 0)
        return fail(QStringLiteral("--library takes a library number (BIB_ID)"));
    const QString path = a.positional.first();
    if (!QFile::exists(path))
        return fail(QStringLiteral("cannot read %1: no such file").arg(path));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    if (library != 0 && db.scalar(QStringLiteral("SELECT COUNT(*) FROM BIBLIOTHEQUE WHERE BIB_ID = ?"), {library}).toInt() == 0)
        return fail(QStringLiteral("no library %1 in BIBLIOTHEQUE").arg(library));
    QList<unimarc::ImportLogLine> log;
    const unimarc::ImportCounts c =
        unimarc::importFile(db, path, {library, !a.has(QStringLiteral("no-duplicate-test"))}, &log);
    for (const unimarc::ImportLogLine &line : std::as_const(log))
        std::fprintf(stderr, "%s\n", line.text.toLocal8Bit().constData());
    say(unimarc::countsText(c));
    if (c.read == 0 && !c.error.isEmpty())
        return fail(QStringLiteral("cannot read %1: %2").arg(path, c.error));
    if (!c.completed)
        return fail(QStringLiteral("import interrupted: %1").arg(c.error));
    return 0;
}

// Writes records in the ISO 2709 exchange structure (UTF-8).
int exportRecords(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("export takes one file (see --help)"));
    const bool all = a.has(QStringLiteral("all"));
    const QStringList given = a.values(QStringLiteral("id"));
    if (all == !given.isEmpty())
        return fail(QStringLiteral("export takes --all or one --id N or more"));
    QList<int> ids;
    for (const QString &g : given) {
        bool ok = false;
        const int id = g.toInt(&ok);
        if (!ok)
            return fail(QStringLiteral("--id takes a record number, not \"%1\"").arg(g));
        ids << id;
    }
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why, false))
        return fail(why);
    if (all) {
        ids = unimarc::allRecordIds(db, &why);
        if (!why.isEmpty())
            return fail(why);
    }
    const unimarc::ExportCounts c = unimarc::exportRecords(db, a.positional.first(), ids);
    for (const QString &f : c.failures + c.leftOut)
        std::fprintf(stderr, "%s\n", f.toLocal8Bit().constData());
    if (!c.error.isEmpty())
        return fail(QStringLiteral("cannot write %1: %2").arg(a.positional.first(), c.error));
    say(QStringLiteral("%1 records exported, %2 not exported, %3 written without fields the format cannot hold")
            .arg(c.written)
            .arg(c.failed)
            .arg(c.incomplete));
    return c.failed > 0 ? 1 : 0;
}

} // namespace

void addUnimarcCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("dump"), QStringLiteral("dump FILE"),
                   QStringLiteral("print every record of a UNIMARC file in tagged form (no configuration or database needed)"),
                   {}, {}, dump};
    out << Command{QStringLiteral("import"), QStringLiteral("import FILE [--library N] [--no-duplicate-test]"),
                   QStringLiteral("import the records of a UNIMARC file, for library N (default 0, our own); "
                                  "prints the counts, the log on standard error"),
                   {QStringLiteral("library")}, {QStringLiteral("no-duplicate-test")}, import};
    out << Command{QStringLiteral("export"), QStringLiteral("export FILE (--all | --id N ...)"),
                   QStringLiteral("write records into FILE in the ISO 2709 exchange structure, UTF-8"),
                   {QStringLiteral("id")}, {QStringLiteral("all")}, exportRecords};
}

} // namespace folian::ctl
