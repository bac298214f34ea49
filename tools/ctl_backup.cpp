// Backup commands: a consistent copy of the database while it is used, and
// its restore into an empty database.

#include "ctl.h"

#include "admin/core/backup.h"
#include "data/core/database.h"

#include <QLocale>

namespace folian::ctl {

namespace {

QString holdings(const HoldingCounts &c)
{
    return QStringLiteral("%1 record(s), %2 copy(ies), %3 reader(s), %4 loan(s), %5 journal operation(s), "
                          "schema version %6")
        .arg(c.records)
        .arg(c.copies)
        .arg(c.readers)
        .arg(c.loans)
        .arg(c.journal)
        .arg(c.schemaVersion);
}

int backupCommand(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("backup takes the directory the backup goes to"));
    int keep = 0;
    if (a.has(QStringLiteral("keep")) && !toKey(a.value(QStringLiteral("keep")), &keep))
        return fail(QStringLiteral("--keep takes a whole number above 0 (nothing was done)"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    BackupFile b;
    if (!BackupDatabase(db, a.positional.first(), keep, &b, &why))
        return fail(QStringLiteral("backup failed: ") + why);
    say(QStringLiteral("Backup written: %1 (%2 bytes, checked)").arg(b.path).arg(b.size));
    say(QStringLiteral("It holds %1.").arg(holdings(b.counts)));
    return 0;
}

int restoreCommand(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("restore takes the backup file"));
    Database db;
    QString why;
    // A missing embedded file is made: the restore fills it. Replacing data
    // is done for a user of the database, its first administrator by default.
    const bool replace = a.has(QStringLiteral("replace"));
    if (!openDatabase(db, true, &why) || !actForUser(db, &why, replace))
        return fail(why);
    RestoreResult r;
    if (!RestoreDatabase(db, a.positional.first(), replace, &r, &why))
        return fail(QStringLiteral("restore failed: ") + why);
    if (!r.replacedKeptIn.isEmpty())
        say(QStringLiteral("What the database held is kept in %1.").arg(r.replacedKeptIn));
    say(QStringLiteral("Restored %1 (schema version %2%3).")
            .arg(r.from.path)
            .arg(r.versionBefore)
            .arg(r.versionBefore < r.restored.schemaVersion
                     ? QStringLiteral(", upgraded to %1").arg(r.restored.schemaVersion)
                     : QString()));
    say(QStringLiteral("The database holds %1.").arg(holdings(r.restored)));
    if (r.from.counts.known() && !r.from.counts.sameHoldings(r.restored))
        return fail(QStringLiteral("the backup recorded %1: the counts differ").arg(holdings(r.from.counts)));
    if (r.from.counts.known())
        say(QStringLiteral("The counts are those the backup recorded."));
    return 0;
}

int backupsCommand(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("backups takes a directory"));
    const QVector<BackupFile> all = ListBackups(a.positional.first());
    for (const BackupFile &b : all)
        say(QStringLiteral("%1\t%2\t%3 bytes\t%4")
                .arg(b.path, b.taken.toLocalTime().toString(Qt::ISODate))
                .arg(b.size)
                .arg(b.counts.known() ? holdings(b.counts) : QStringLiteral("no description")));
    say(QStringLiteral("%1 backup(s).").arg(all.size()));
    return 0;
}

} // namespace

void addBackupCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("backup"), QStringLiteral("backup DIRECTORY [--keep N]"),
                   QStringLiteral("write a consistent, checked copy of the database into DIRECTORY while the "
                                  "workstations work (named by date, time and engine, described beside it); "
                                  "--keep N then removes the oldest backups beyond N"),
                   {QStringLiteral("keep")}, {}, backupCommand};
    out << Command{QStringLiteral("restore"), QStringLiteral("restore FILE [--replace]"),
                   QStringLiteral("restore a backup into the configured database, which must be empty (--replace: "
                                  "back up what it holds beside FILE, then replace it); the schema is upgraded if "
                                  "the backup is older, and the counts compared with the backup's"),
                   {}, {QStringLiteral("replace")}, restoreCommand};
    out << Command{QStringLiteral("backups"), QStringLiteral("backups DIRECTORY"),
                   QStringLiteral("list the backups of a directory, the newest first, with what they hold"), {}, {},
                   backupsCommand};
}

} // namespace folian::ctl
