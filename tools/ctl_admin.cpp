// Database commands: create, upgrade, demonstration content.

#include "ctl.h"

#include "admin/core/administration.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "demodata.h"

namespace folian::ctl {

namespace {

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
    out << Command{QStringLiteral("demo-db"), QStringLiteral("demo-db"),
                   QStringLiteral("add demonstration users, records, copies and readers"), {}, {}, demoDb};
}

} // namespace folian::ctl
