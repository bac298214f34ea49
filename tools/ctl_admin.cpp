// Database commands: create, upgrade, demonstration content.

#include "ctl.h"

#include "admin/core/administration.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "data/core/searchcolumns.h"
#include "demodata.h"

namespace folian::ctl {

namespace {

// Says which search indexes the database lacks, and what that means.
void tellMissingSearchIndexes(Database &db)
{
    const QStringList missing = missingSearchIndexes(db);
    if (missing.isEmpty())
        return;
    say(QStringLiteral("Search indexes missing: %1. Searches on those columns read every row: the same records, "
                       "found more slowly.%2")
            .arg(missing.join(QStringLiteral(", ")),
                 db.dialect().isPostgres()
                     ? QStringLiteral(" The server's administrator can add the extension (CREATE EXTENSION pg_trgm), "
                                      "then run search-indexes.")
                     : QString()));
}

int initDb(const Args &a)
{
    if (!a.positional.isEmpty())
        return fail(QStringLiteral("init-db takes no argument"));
    const QString login = a.value(QStringLiteral("admin-login"), QStringLiteral("admin"));
    Database db;
    QString why;
    if (!openDatabase(db, true, &why))
        return fail(why);
    if (!InitialiseDatabase(db, login, a.value(QStringLiteral("admin-password"), QStringLiteral("admin")), &why))
        return fail(why + QStringLiteral(" (nothing was written)"));
    say(QStringLiteral("Database created (schema version %1) with the administrator \"%2\".")
            .arg(Schema::currentVersion())
            .arg(login));
    tellMissingSearchIndexes(db);
    return 0;
}

int upgradeDb(const Args &)
{
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    const int from = schemaVersion(db);
    if (!upgradeSchema(db, &why))
        return fail(QStringLiteral("upgrade failed: ") + why);
    say(QStringLiteral("Database upgraded from version %1 to %2.").arg(from).arg(Schema::currentVersion()));
    tellMissingSearchIndexes(db);
    return 0;
}

int searchIndexes(const Args &a)
{
    if (!a.positional.isEmpty())
        return fail(QStringLiteral("search-indexes takes no argument"));
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    if (schemaVersion(db) < Schema::currentVersion())
        return fail(QStringLiteral("the database is of version %1; run upgrade-db first").arg(schemaVersion(db)));
    if (a.has(QStringLiteral("drop"))) {
        if (!dropSearchIndexes(db, &why))
            return fail(QStringLiteral("search indexes not dropped: ") + why);
        say(QStringLiteral("Search indexes dropped: searches read every row until search-indexes makes them again."));
        return 0;
    }
    if (!a.has(QStringLiteral("status"))) {
        // Rows another tool wrote come first: the indexes read their search columns.
        qint64 written = 0;
        if (!refreshSearchColumns(db, &written, &why))
            return fail(QStringLiteral("search columns not written: ") + why);
        say(QStringLiteral("Search columns written again: %1 row(s) (keywords, folded words or collation keys "
                           "absent or out of date).")
                .arg(written));
        if (!createSearchIndexes(db, &why))
            return fail(QStringLiteral("search indexes not made: ") + why);
    }
    QStringList present;
    const QStringList missing = missingSearchIndexes(db);
    for (const SearchIndexDef &ix : Schema::searchIndexes())
        if (!missing.contains(ix.name))
            present << ix.name;
    say(QStringLiteral("Search indexes present: %1.").arg(present.isEmpty() ? QStringLiteral("none") : present.join(QStringLiteral(", "))));
    tellMissingSearchIndexes(db);
    return 0;
}

int demoDb(const Args &)
{
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    if (schemaVersion(db) == 0)
        return fail(QStringLiteral("the database has no Folian schema; run init-db first"));
    DemoSummary summary;
    if (!populateDemo(db, &summary, &why))
        return fail(QStringLiteral("demo data not written (nothing kept): ") + why);
    say(QStringLiteral("Demo data added: %1 users, %2 records, %3 copies, %4 readers.")
            .arg(summary.users)
            .arg(summary.records)
            .arg(summary.copies)
            .arg(summary.readers));
    return 0;
}

} // namespace

void addAdminCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("init-db"), QStringLiteral("init-db [--admin-login L] [--admin-password P]"),
                   QStringLiteral("create the schema, the reference data and an administrator in an empty database"),
                   {QStringLiteral("admin-login"), QStringLiteral("admin-password")}, {}, initDb};
    out << Command{QStringLiteral("upgrade-db"), QStringLiteral("upgrade-db"),
                   QStringLiteral("bring an older database to this program's schema version"), {}, {}, upgradeDb};
    out << Command{QStringLiteral("search-indexes"), QStringLiteral("search-indexes [--status | --drop]"),
                   QStringLiteral("write the search columns of rows written by other tools and make the search "
                                  "indexes the database lacks (--status: only tell which it has; --drop: drop them)"),
                   {}, {QStringLiteral("status"), QStringLiteral("drop")}, searchIndexes};
    out << Command{QStringLiteral("demo-db"), QStringLiteral("demo-db"),
                   QStringLiteral("add demonstration users, records, copies and readers"), {}, {}, demoDb};
}

} // namespace folian::ctl
