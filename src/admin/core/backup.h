#pragma once
// Backups of the shared database: a consistent copy taken while the
// workstations go on reading and writing, checked before it is called done,
// kept in a directory with a description beside it (what it holds, its
// checksum); and the restore of such a copy into an empty database.

#include <QDateTime>
#include <QString>
#include <QVector>

namespace folian {

class Database;
class Progress;

// What a database holds, read in one state of it.
struct HoldingCounts {
    qint64 records = -1;
    qint64 copies = -1;
    qint64 readers = -1;
    qint64 loans = -1;    // copies lent or consulted now
    qint64 journal = -1;  // operations of the loan journal
    int schemaVersion = 0;

    bool known() const { return records >= 0; }
    bool sameHoldings(const HoldingCounts &o) const
    {
        return records == o.records && copies == o.copies && readers == o.readers && loans == o.loans
            && journal == o.journal;
    }
    bool empty() const { return records <= 0 && copies <= 0 && readers <= 0 && loans <= 0 && journal <= 0; }
};

// A backup file and what its description says of it.
struct BackupFile {
    QString path;
    QString engine;     // "SQLITE" or "POSTGRESQL"
    QDateTime taken;    // UTC
    qint64 size = 0;
    QString sha256;     // of the file, in hexadecimal; empty when no description was found
    HoldingCounts counts;
    QString programVersion;
    bool described() const { return !sha256.isEmpty(); }
};

// The holdings of `db` (one statement each, in the caller's transaction if any).
HoldingCounts CountHoldings(Database &db, QString *why = nullptr);

// Backs `db` up into the directory `dir` (made when missing): a file named
// by the date, the time and the engine, beside its description. The copy is
// read in one state of the database while other connections write, then
// checked (readable whole, its schema version and counts read in it) before
// it takes its final name; on any failure, or when the operator stops it
// through `progress`, no file is left under the final name. With `keep` above 0, the oldest backups of the
// directory beyond `keep` are removed, never the one just written. Only an
// administrator backs up. `db` must not be in a transaction.
bool BackupDatabase(Database &db, const QString &dir, int keep, BackupFile *written, QString *why,
                    Progress *progress = nullptr);

// The backups of a directory, the newest first.
QVector<BackupFile> ListBackups(const QString &dir);

// Is the file a backup that can be restored: its description's checksum and
// size match (when it has one), the engine reads it whole. Its description
// (or what the file itself says) in `out`.
bool CheckBackup(const QString &file, BackupFile *out, QString *why);

struct RestoreResult {
    BackupFile from;
    HoldingCounts restored;   // read in the database after the restore
    int versionBefore = 0;    // the backup's schema version, before any upgrade
    QString replacedKeptIn;   // with `replace`, the backup of what was replaced
};

// Restores the backup `file` into `db` (of the same engine), which must hold
// no records, copies, readers or loans, unless `replace` is given: what it
// holds is then backed up first, beside `file`. The database is untouched
// when anything is refused or fails before the copy, and a copy that fails
// is undone whole. The schema is upgraded when the backup is older; the
// counts read afterwards are in `out`. Only an administrator replaces what a
// database holds; `db` is opened again on the restored content.
bool RestoreDatabase(Database &db, const QString &file, bool replace, RestoreResult *out, QString *why);

} // namespace folian
