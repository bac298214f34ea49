// The embedded file: copied with VACUUM INTO, which reads the whole database
// in one read transaction (a writer on another connection goes on, and the
// copy holds the state the transaction began in, never a torn one), and
// restored with the engine's online backup, which replaces the pages of the
// target in one write transaction.

#include "admin/core/backupengine.h"
#include "admin/core/backuptexts.h"
#include "base/progress.h"
#include "data/core/database.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace folian {

namespace {

sqlite3 *handleOf(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// Tells the operator the copy goes on while the engine works, and stops it
// when he asks: the engine calls back every few thousand steps of its work.
class CopyProgress
{
public:
    CopyProgress(sqlite3 *h, Progress *progress) : h_(h), progress_(progress)
    {
        if (h_ && progress_)
            sqlite3_progress_handler(h_, 20000, &CopyProgress::tick, this);
    }
    ~CopyProgress()
    {
        if (h_ && progress_)
            sqlite3_progress_handler(h_, 0, nullptr, nullptr);
    }
    bool stopped() const { return progress_ && progress_->stopped(); }

private:
    static int tick(void *self)
    {
        auto *p = static_cast<CopyProgress *>(self);
        p->progress_->step(0, 0, backup::copying());
        return p->progress_->stopped() ? 1 : 0;
    }
    sqlite3 *h_;
    Progress *progress_;
};

// A read-only connection on a file, removed with this object.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString &path)
    {
        static QAtomicInt serial;
        name_ = QStringLiteral("folian-backup-check-%1").arg(serial.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        open_ = db.open();
        if (!open_)
            error_ = db.lastError().text();
    }
    ~ReadOnlyFile()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    bool isOpen() const { return open_; }
    QString error() const { return error_; }
    QSqlDatabase connection() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_, error_;
    bool open_ = false;
};

class SqliteBackup final : public BackupEngine
{
public:
    QString engine() const override { return QStringLiteral("SQLITE"); }
    QString fileTag() const override { return QStringLiteral("sqlite"); }
    QString fileSuffix() const override { return QStringLiteral(".db"); }

    bool copy(Database &db, const QString &file, HoldingCounts *counts, QString *why,
              Progress *progress) override
    {
        bool ok, stopped;
        {
            CopyProgress watch(handleOf(db.connection()), progress);
            ok = db.exec(QStringLiteral("VACUUM INTO ?"), {file});
            stopped = watch.stopped();
        }
        if (stopped) {
            *why = backup::stopped();
            return false;
        }
        if (!ok) {
            *why = backup::copyFailed(db.lastError().text());
            return false;
        }
        // The copy holds the state it was read in: its counts are that state's.
        if (progress)
            progress->step(0, 0, backup::checking());
        return check(file, counts, why);
    }

    bool check(const QString &file, HoldingCounts *counts, QString *why) override
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly) || f.read(16) != QByteArray("SQLite format 3\0", 16)) {
            *why = backup::notABackup(file);
            return false;
        }
        f.close();
        ReadOnlyFile copy(file);
        if (!copy.isOpen()) {
            *why = backup::copyUnreadable(file, copy.error());
            return false;
        }
        QSqlQuery q(copy.connection());
        if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next()) {
            *why = backup::copyUnreadable(file, q.lastError().text());
            return false;
        }
        if (const QString verdict = q.value(0).toString(); verdict != QLatin1String("ok")) {
            *why = backup::copyUnreadable(file, verdict);
            return false;
        }
        q.finish();
        QString reason;
        *counts = countHoldingsOn(copy.connection(), &reason);
        if (!counts->known()) {
            *why = backup::copyUnreadable(file, reason);
            return false;
        }
        return true;
    }

    bool restore(Database &db, const QString &file, QString *why) override
    {
        const ConnectionParams params = db.params();
        const QString target = db.connection().databaseName();
        db.close();
        bool done = false;
        sqlite3 *from = nullptr, *to = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &from, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK
            || sqlite3_open_v2(QFile::encodeName(target).constData(), &to, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            *why = backup::copyFailed(QString::fromUtf8(sqlite3_errmsg(from && !to ? to : from)));
        } else {
            sqlite3_busy_timeout(to, 10000);
            // One step copies every page in one write transaction: all or nothing.
            if (sqlite3_backup *b = sqlite3_backup_init(to, "main", from, "main")) {
                const int rc = sqlite3_backup_step(b, -1);
                sqlite3_backup_finish(b);
                done = rc == SQLITE_DONE;
                if (!done)
                    *why = backup::copyFailed(QString::fromUtf8(sqlite3_errstr(rc)));
            } else {
                *why = backup::copyFailed(QString::fromUtf8(sqlite3_errmsg(to)));
            }
        }
        sqlite3_close(from);
        sqlite3_close(to);
        QString reason;
        if (!db.open(params, false, &reason) && done) {
            *why = backup::copyFailed(reason);
            return false;
        }
        return done;
    }
};

} // namespace

std::unique_ptr<BackupEngine> makeSqliteBackup() { return std::make_unique<SqliteBackup>(); }

} // namespace folian
