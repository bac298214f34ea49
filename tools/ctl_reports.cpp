// Report commands.

#include "ctl.h"

#include "base/outputdir.h"
#include "catalogue/generation/cataloguegeneration.h"
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
    if (!openDatabaseAs(db, &why, false))
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

// Is `key` a key of the table's column? False with why otherwise.
bool knownCode(Database &db, const char *table, const char *column, const QString &key, QString *why)
{
    bool ok = false;
    const QVariant n = db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(QLatin1String(table), QLatin1String(column)),
                                 {key}, &ok);
    if (!ok) {
        *why = db.lastError().text();
        return false;
    }
    if (n.toInt() == 0) {
        *why = QStringLiteral("no %1 \"%2\" in %3").arg(QLatin1String(column), key, QLatin1String(table));
        return false;
    }
    return true;
}

// The printed catalogue and its three indexes, written into a directory.
int catalogue(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("catalogue needs the directory of the pages"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why, false))
        return fail(why);
    CatalogueOptions o;
    o.directory = a.positional.first();
    o.title = a.value(QStringLiteral("title"));
    o.classification = a.value(QStringLiteral("classification"));
    o.type = a.value(QStringLiteral("type")).trimmed();
    o.language = a.value(QStringLiteral("language")).trimmed();
    o.analytic = a.has(QStringLiteral("analytic"));
    if ((!o.type.isEmpty() && !knownCode(db, "TYPE_DOCUMENT", "TYP_ID", o.type, &why))
        || (!o.language.isEmpty() && !knownCode(db, "LANGUE", "LAN_ID", o.language, &why)))
        return fail(why);
    const CatalogueResult r = generateCatalogue(db, o);
    if (!r.completed())
        return fail(r.message);
    say(QStringLiteral("%1 records, %2 entries; index lines: %3 titles, %4 authors, %5 subjects")
            .arg(r.records)
            .arg(r.entries)
            .arg(r.titles)
            .arg(r.authors)
            .arg(r.subjects));
    for (const QString &page : r.pages)
        say(page);
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
    out << Command{QStringLiteral("catalogue"),
                   QStringLiteral("catalogue DIR [--title TEXT] [--classification C] [--type T] [--language L] [--analytic]"),
                   QStringLiteral("write the printed catalogue (catalogue.html) and its indexes of titles, authors and "
                                  "subjects (titres.html, auteurs.html, matieres.html) into DIR, in the configured language"),
                   {QStringLiteral("title"), QStringLiteral("classification"), QStringLiteral("type"), QStringLiteral("language")},
                   {QStringLiteral("analytic")},
                   catalogue};
}

} // namespace folian::ctl
