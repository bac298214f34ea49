// Report commands.

#include "ctl.h"

#include "base/outputdir.h"
#include "data/core/database.h"
#include "reports/core/editions.h"
#include "reports/core/report.h"

namespace folian::ctl {

namespace {

// A page of the query's rows, in the configured language, among the user's pages.
int writePage(const Args &a)
{
    const QString fileName = a.positional.value(0);
    const QString sql = a.value(QStringLiteral("sql"));
    if (a.positional.size() != 1 || fileName.contains(u'/') || sql.isEmpty())
        return fail(QStringLiteral("report needs a page name (no directory), --title and --sql"));
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    Report report;
    report.fileName = fileName;
    report.french = a.value(QStringLiteral("title"));
    report.sql = sql;
    report.letterhead = a.has(QStringLiteral("letterhead"));
    const ReportResult result = writeReport(db, report);
    if (!result.written())
        return fail(result.message);
    say(QStringLiteral("%1 rows written to %2").arg(result.rows).arg(result.path));
    return 0;
}

int scratchDb(const Args &)
{
    QString why;
    if (!ensureScratchDatabase(&why))
        return fail(QStringLiteral("cannot create the scratch report database: ") + why);
    say(QStringLiteral("Scratch report database ready: ") + scratchDatabasePath());
    return 0;
}

} // namespace

void addReportCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("report"), QStringLiteral("report PAGE --title T --sql \"SELECT ...\" [--letterhead]"),
                   QStringLiteral("write the rows of the query as the page PAGE (\"liste.html\") among the user's pages"),
                   {QStringLiteral("title"), QStringLiteral("sql")}, {QStringLiteral("letterhead")}, writePage};
    out << Command{QStringLiteral("scratch-db"), QStringLiteral("scratch-db"),
                   QStringLiteral("create the scratch report database of the catalogue generation"), {}, {}, scratchDb};
}

} // namespace folian::ctl
