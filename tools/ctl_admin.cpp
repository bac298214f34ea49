// Database commands: create, upgrade, demonstration content.

#include "ctl.h"

#include "admin/core/administration.h"
#include "admin/core/passwords.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "data/core/searchcolumns.h"
#include "demodata.h"

#include <QTextStream>

namespace folian::ctl {

namespace {
// Reads a password from standard input, or makes one (made: true).
QString passwordFromInput(const Args &a, const QString &option, bool *made)
{
    *made = !a.has(option);
    if (*made)
        return RandomPassword();
    QTextStream in(stdin);
    return in.readLine();
}
} // namespace

int roleCommand(const Args &a, const QString &command, const RoleGrant &grant, const QString &said)
{
    if (a.positional.size() != 1)
        return fail(command + QStringLiteral(" takes the name of the role"));
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    if (schemaVersion(db) == 0)
        return fail(QStringLiteral("the database has no Folian schema; run init-db first"));
    const QString role = a.positional.first();
    bool made = false;
    QString password = passwordFromInput(a, QStringLiteral("password-stdin"), &made);
    if (!made && password.isEmpty())
        return fail(QStringLiteral("no password read from standard input (nothing was done)"));
    // An existing role keeps its password unless a new one is given.
    const bool exists = db.dialect().hasRoles()
        && db.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_roles WHERE rolname = ?"), {role}).toInt() > 0;
    if (exists && made)
        password.clear();
    bool created = false;
    if (!grant(db, role, password, &created, &why))
        return fail(why + QStringLiteral(" (nothing was done)"));
    say(QString(said).arg(role, created ? QStringLiteral("is made:") : QStringLiteral("is granted again:"),
                          db.params().catalog));
    if (created && made)
        say(QStringLiteral("Password of \"%1\", shown this once: %2").arg(role, password));
    return 0;
}

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
    // The password from standard input, given on the command line (where
    // other users of the machine see it), or made here and shown once.
    QString password = a.value(QStringLiteral("admin-password"));
    const bool fromInput = a.has(QStringLiteral("admin-password-stdin"));
    if (fromInput && a.has(QStringLiteral("admin-password")))
        return fail(QStringLiteral("give the password either with --admin-password or on standard input, not both"));
    if (fromInput) {
        QTextStream in(stdin);
        password = in.readLine();
        if (password.isEmpty())
            return fail(QStringLiteral("no password read from standard input (nothing was written)"));
    }
    const bool made = !fromInput && !a.has(QStringLiteral("admin-password"));
    if (made)
        password = RandomPassword();
    Database db;
    QString why;
    if (!openDatabase(db, true, &why))
        return fail(why);
    if (!InitialiseDatabase(db, login, password, &why))
        return fail(why + QStringLiteral(" (nothing was written)"));
    say(QStringLiteral("Database created (schema version %1) with the administrator \"%2\".")
            .arg(Schema::currentVersion())
            .arg(login));
    if (made)
        say(QStringLiteral("Password of \"%1\", shown this once (change it at the first logon): %2").arg(login, password));
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
    int rehashed = 0;
    if (!UpgradeDatabase(db, &rehashed, &why))
        return fail(QStringLiteral("upgrade failed (nothing was changed): ") + why);
    say(QStringLiteral("Database upgraded from version %1 to %2.").arg(from).arg(Schema::currentVersion()));
    if (rehashed > 0)
        say(QStringLiteral("%1 password(s) kept the old, recoverable way are now stored as hashes.").arg(rehashed));
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

int runtimeRole(const Args &a)
{
    return roleCommand(a, QStringLiteral("runtime-role"), GrantRuntimeRole,
                       QStringLiteral("The role \"%1\" %2 reads and writes the rows of every table of \"%3\"; it cannot "
                                      "change the schema. Give it to the workstations: Username=%1 in their Folian.ini."));
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
    out << Command{QStringLiteral("init-db"),
                   QStringLiteral("init-db [--admin-login L] [--admin-password-stdin | --admin-password P]"),
                   QStringLiteral("create the schema, the reference data and an administrator in an empty database; "
                                  "his password is read from standard input, or made and printed once"),
                   {QStringLiteral("admin-login"), QStringLiteral("admin-password")},
                   {QStringLiteral("admin-password-stdin")}, initDb};
    out << Command{QStringLiteral("upgrade-db"), QStringLiteral("upgrade-db"),
                   QStringLiteral("bring an older database to this program's schema version; passwords still kept "
                                  "the old, recoverable way are stored as hashes"),
                   {}, {}, upgradeDb};
    out << Command{QStringLiteral("search-indexes"), QStringLiteral("search-indexes [--status | --drop]"),
                   QStringLiteral("write the search columns of rows written by other tools and make the search "
                                  "indexes the database lacks (--status: only tell which it has; --drop: drop them)"),
                   {}, {QStringLiteral("status"), QStringLiteral("drop")}, searchIndexes};
    out << Command{QStringLiteral("runtime-role"), QStringLiteral("runtime-role NAME [--password-stdin]"),
                   QStringLiteral("on PostgreSQL, as the database's owner: make (or grant again) the role the "
                                  "workstations connect as, which reads and writes rows but cannot change the schema; "
                                  "its password is read from standard input, or made and printed once"),
                   {}, {QStringLiteral("password-stdin")}, runtimeRole};
    out << Command{QStringLiteral("demo-db"), QStringLiteral("demo-db"),
                   QStringLiteral("add demonstration users, records, copies and readers"), {}, {}, demoDb};
}

} // namespace folian::ctl
