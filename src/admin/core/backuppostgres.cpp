// A server's database: copied by pg_dump in its custom format, inside a
// snapshot this connection exports (the counts of the description are read
// in that very snapshot), and restored by pg_restore piped into psql in one
// transaction. The client tools are those of the server's version or newer,
// looked for where Debian installs them; the password goes to them in a
// private password file, never on a command line.

#include "admin/core/backupengine.h"
#include "admin/core/backuptexts.h"
#include "base/progress.h"
#include "data/core/database.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace folian {

namespace {

constexpr int kToolStartMs = 10000;

// The major version of a client tool ("pg_dump (PostgreSQL) 15.8"), 0 when it does not run.
int toolMajor(const QString &path)
{
    QProcess p;
    p.start(path, {QStringLiteral("--version")});
    if (!p.waitForFinished(kToolStartMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return 0;
    static const QRegularExpression version(QStringLiteral("\\(PostgreSQL\\)\\s+(\\d+)"));
    const QRegularExpressionMatch m = version.match(QString::fromLocal8Bit(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The directories that may hold the client tools, the likeliest first:
// FOLIAN_PG_BINDIR alone when it is set; else Debian's directory of each
// installed version, the server's own first and newer ones after; then PATH.
QStringList toolDirectories(int serverMajor)
{
    const QByteArray forced = qgetenv("FOLIAN_PG_BINDIR");
    if (!forced.isEmpty())
        return {QFile::decodeName(forced)};
    QStringList dirs;
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QList<int> majors;
    for (const QString &name : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (const int n = name.toInt(); n > 0)
            majors << n;
    std::sort(majors.begin(), majors.end(), [serverMajor](int a, int b) {
        // The server's version, then the newer ones upward, then the older ones.
        const bool aFits = a >= serverMajor, bFits = b >= serverMajor;
        return aFits != bFits ? aFits : a < b;
    });
    for (int n : majors)
        dirs << versions.filePath(QStringLiteral("%1/bin").arg(n));
    for (const QString &d : qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts))
        dirs << d;
    return dirs;
}

// The path of `tool` for a server of version `serverMajor` (0: any), or the reason there is none.
QString findTool(const QString &tool, int serverMajor, QString *why)
{
    QString older;
    int olderMajor = 0;
    for (const QString &dir : toolDirectories(serverMajor)) {
        const QString path = QDir(dir).filePath(tool);
        if (!QFileInfo(path).isExecutable())
            continue;
        const int major = toolMajor(path);
        if (major >= serverMajor && major > 0)
            return path;
        if (major > olderMajor) {
            older = path;
            olderMajor = major;
        }
    }
    *why = older.isEmpty() ? backup::toolMissing(tool, serverMajor) : backup::toolTooOld(older, olderMajor, serverMajor);
    return QString();
}

// The connection of `db` for the client tools, in their environment. The
// password file lives as long as this object.
class ToolConnection
{
public:
    explicit ToolConnection(const QSqlDatabase &db, const ConnectionParams &params)
    {
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("PGHOST"), db.hostName().isEmpty() ? QStringLiteral("localhost") : db.hostName());
        env_.insert(QStringLiteral("PGPORT"), QString::number(db.port() > 0 ? db.port() : 5432));
        env_.insert(QStringLiteral("PGDATABASE"), db.databaseName());
        env_.insert(QStringLiteral("PGUSER"), db.userName());
        env_.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
        env_.remove(QStringLiteral("PGPASSWORD"));
        if (!params.sslMode.trimmed().isEmpty())
            env_.insert(QStringLiteral("PGSSLMODE"), params.sslMode.trimmed().toLower());
        if (!params.sslRootCert.trimmed().isEmpty())
            env_.insert(QStringLiteral("PGSSLROOTCERT"), params.sslRootCert.trimmed());
        if (!db.password().isEmpty() && passwords_.open()) {
            QString escaped = db.password();
            escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u':', QStringLiteral("\\:"));
            passwords_.write(QStringLiteral("*:*:*:*:%1\n").arg(escaped).toUtf8());
            passwords_.flush();
            env_.insert(QStringLiteral("PGPASSFILE"), passwords_.fileName());
        }
    }
    const QProcessEnvironment &environment() const { return env_; }

private:
    QProcessEnvironment env_;
    QTemporaryFile passwords_;  // made readable by its owner only
};

// Waits for `p`, telling `progress` it goes on, and kills it when the
// operator stops it; false when it failed or was stopped.
bool waitFor(QProcess &p, Progress *progress, const QString &text = QString())
{
    if (!p.waitForStarted(kToolStartMs))
        return false;
    while (!p.waitForFinished(100)) {
        if (p.state() == QProcess::NotRunning)
            break;
        if (progress)
            progress->step(0, 0, text);
        if (progress && progress->stopped()) {
            p.kill();
            p.waitForFinished(kToolStartMs);
            return false;
        }
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString outputOf(QProcess &p)
{
    QString text = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    if (text.isEmpty())
        text = p.errorString();
    return text.left(2000);
}

int serverMajor(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SHOW server_version_num")) && q.next() ? q.value(0).toInt() / 10000 : 0;
}

class PostgresBackup final : public BackupEngine
{
public:
    QString engine() const override { return QStringLiteral("POSTGRESQL"); }
    QString fileTag() const override { return QStringLiteral("postgresql"); }
    QString fileSuffix() const override { return QStringLiteral(".dump"); }

    bool copy(Database &db, const QString &file, HoldingCounts *counts, QString *why,
              Progress *progress) override
    {
        const QString pgDump = findTool(QStringLiteral("pg_dump"), serverMajor(db.connection()), why);
        if (pgDump.isEmpty())
            return false;
        if (!db.begin()) {
            *why = backup::copyFailed(db.lastError().text());
            return false;
        }
        // pg_dump reads the snapshot this transaction exports: the counts
        // below and the dump see the same state, whatever is written meanwhile.
        QSqlQuery q(db.connection());
        QString snapshot;
        if (q.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))
            && q.exec(QStringLiteral("SELECT pg_export_snapshot()")) && q.next())
            snapshot = q.value(0).toString();
        if (snapshot.isEmpty()) {
            *why = backup::copyFailed(q.lastError().text());
            db.rollback();
            return false;
        }
        q.finish();
        QString reason;
        *counts = countHoldingsOn(db.connection(), &reason);
        if (!counts->known()) {
            *why = backup::copyFailed(reason);
            db.rollback();
            return false;
        }
        ToolConnection connection(db.connection(), db.params());
        QProcess dump;
        dump.setProcessEnvironment(connection.environment());
        dump.start(pgDump, {QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
                            QStringLiteral("--snapshot=") + snapshot, QStringLiteral("--file=") + file});
        const bool done = waitFor(dump, progress, backup::copying());
        db.rollback();
        if (progress && progress->stopped()) {
            *why = backup::stopped();
            return false;
        }
        if (!done) {
            *why = backup::toolFailed(QStringLiteral("pg_dump"), outputOf(dump));
            return false;
        }
        if (progress)
            progress->step(0, 0, backup::checking());
        HoldingCounts none;
        return check(file, &none, why);
    }

    bool check(const QString &file, HoldingCounts *, QString *why) override
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly) || !f.read(5).startsWith("PGDMP")) {
            *why = backup::notABackup(file);
            return false;
        }
        f.close();
        const QString pgRestore = findTool(QStringLiteral("pg_restore"), 0, why);
        if (pgRestore.isEmpty())
            return false;
        // Its table of contents read whole; the data is read by the restore.
        QProcess list;
        list.start(pgRestore, {QStringLiteral("--list"), file});
        if (!waitFor(list, nullptr)) {
            *why = backup::copyUnreadable(file, outputOf(list));
            return false;
        }
        return true;
    }

    bool restore(Database &db, const QString &file, QString *why) override
    {
        const int major = serverMajor(db.connection());
        const QString pgRestore = findTool(QStringLiteral("pg_restore"), major, why);
        if (pgRestore.isEmpty())
            return false;
        const QString psql = findTool(QStringLiteral("psql"), major, why);
        if (psql.isEmpty())
            return false;
        // The tables there are now, those of a newer schema included, go in
        // the same transaction as the restore that recreates them.
        QSqlQuery q(db.connection());
        if (!q.exec(QStringLiteral("SELECT string_agg('DROP TABLE IF EXISTS ' || quote_ident(tablename) || ' CASCADE', '; ') "
                                   "FROM pg_tables WHERE schemaname = current_schema()"))
            || !q.next()) {
            *why = backup::copyFailed(q.lastError().text());
            return false;
        }
        const QString drops = q.value(0).toString();
        q.finish();
        q = QSqlQuery();
        const ConnectionParams params = db.params();
        ToolConnection connection(db.connection(), params);
        db.close();

        QProcess reader, writer;
        reader.setProcessEnvironment(connection.environment());
        writer.setProcessEnvironment(connection.environment());
        reader.setStandardOutputProcess(&writer);
        QStringList psqlArgs{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("--no-password"),
                             QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("--single-transaction")};
        if (!drops.isEmpty())
            psqlArgs << QStringLiteral("-c") << drops;
        psqlArgs << QStringLiteral("-f") << QStringLiteral("-");
        writer.start(psql, psqlArgs);
        reader.start(pgRestore, {QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--no-owner"),
                                 QStringLiteral("--file=-"), file});
        const bool read = waitFor(reader, nullptr);
        const bool written = waitFor(writer, nullptr);
        bool done = read && written;
        if (!done)
            *why = backup::toolFailed(read ? QStringLiteral("psql") : QStringLiteral("pg_restore"),
                                      read ? outputOf(writer) : outputOf(reader));
        QString reason;
        if (!db.open(params, false, &reason) && done) {
            *why = backup::copyFailed(reason);
            done = false;
        }
        return done;
    }
};

} // namespace

std::unique_ptr<BackupEngine> makePostgresBackup() { return std::make_unique<PostgresBackup>(); }

} // namespace folian
