// UNIMARC commands.

#include "ctl.h"

#include "catalogue/unimarc/dump.h"

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

} // namespace

void addUnimarcCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("dump"), QStringLiteral("dump FILE"),
                   QStringLiteral("print every record of a UNIMARC file in tagged form (no configuration or database needed)"),
                   {}, {}, dump};
}

} // namespace folian::ctl
