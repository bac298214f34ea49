#pragma once
// What differs between the engines when a database is copied and restored:
// the embedded file is copied by the engine itself in one read transaction;
// a server's database by its own client tools, in one snapshot.

#include "admin/core/backup.h"

#include <QSqlDatabase>
#include <memory>

namespace folian {

class Progress;

class BackupEngine
{
public:
    virtual ~BackupEngine() = default;

    // The engine of `db`, or of a backup file's engine name ("SQLITE", "POSTGRESQL").
    static std::unique_ptr<BackupEngine> forEngine(const QString &engine);

    virtual QString engine() const = 0;
    virtual QString fileTag() const = 0;      // in the file's name: "sqlite"
    virtual QString fileSuffix() const = 0;   // ".db"

    // Writes a consistent copy of `db` into `file` and the counts of the state copied.
    virtual bool copy(Database &db, const QString &file, HoldingCounts *counts, QString *why,
                      Progress *progress) = 0;
    // Reads `file` whole as a backup of this engine; the counts it holds when
    // the engine can read them without restoring it.
    virtual bool check(const QString &file, HoldingCounts *counts, QString *why) = 0;
    // Replaces what `db` holds with the content of `file`, whole or not at
    // all. `db` is opened again afterwards.
    virtual bool restore(Database &db, const QString &file, QString *why) = 0;
};

// The holdings read through a plain connection (the counting statements of CountHoldings).
HoldingCounts countHoldingsOn(QSqlDatabase connection, QString *why);

} // namespace folian
