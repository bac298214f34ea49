#include "admin/core/backup.h"

#include "admin/core/administration.h"
#include "admin/core/backupengine.h"
#include "admin/core/backuptexts.h"
#include "base/rights.h"
#include "base/session.h"
#include "base/version.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>

namespace folian {

std::unique_ptr<BackupEngine> makeSqliteBackup();
std::unique_ptr<BackupEngine> makePostgresBackup();

std::unique_ptr<BackupEngine> BackupEngine::forEngine(const QString &engine)
{
    if (engine == QLatin1String("POSTGRESQL"))
        return makePostgresBackup();
    if (engine == QLatin1String("SQLITE") || engine == QLatin1String("ACCESS"))
        return makeSqliteBackup();
    return nullptr;
}

HoldingCounts countHoldingsOn(QSqlDatabase connection, QString *why)
{
    static const char *const counting[] = {
        "SELECT COUNT(*) FROM NOTICE",
        "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE",
        "SELECT COUNT(*) FROM LECTEUR",
        "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LEC_ID IS NOT NULL",
        "SELECT COUNT(*) FROM HISTORIQUE_PRET",
    };
    HoldingCounts c;
    qint64 *into[] = {&c.records, &c.copies, &c.readers, &c.loans, &c.journal};
    QSqlQuery q(connection);
    q.setForwardOnly(true);
    for (size_t i = 0; i < std::size(counting); ++i) {
        if (!q.exec(QString::fromLatin1(counting[i])) || !q.next()) {
            if (why)
                *why = q.lastError().text();
            return HoldingCounts();
        }
        *into[i] = q.value(0).toLongLong();
    }
    if (q.exec(QStringLiteral("SELECT MAX(VRS_NUMERO) FROM ") + Schema::versionTable()) && q.next())
        c.schemaVersion = q.value(0).toInt();
    return c;
}

HoldingCounts CountHoldings(Database &db, QString *why)
{
    if (schemaVersion(db) == 0) {
        HoldingCounts none;
        none.records = none.copies = none.readers = none.loans = none.journal = 0;
        return none;
    }
    return countHoldingsOn(db.connection(), why);
}

namespace {

const QRegularExpression &backupName()
{
    static const QRegularExpression name(
        QStringLiteral("^folian-(\\d{8})-(\\d{6})(?:-(\\d+))?-(sqlite|postgresql)\\.(db|dump)$"));
    return name;
}

// The order of a directory's backups: their date and time, then their serial within the second.
QString sortKey(const QString &fileName)
{
    const QRegularExpressionMatch m = backupName().match(fileName);
    return m.captured(1) + m.captured(2) + QStringLiteral("%1").arg(m.captured(3).toInt(), 6, 10, QLatin1Char('0'));
}

QString descriptionOf(const QString &file) { return file + QStringLiteral(".json"); }

QString sha256Of(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return QString::fromLatin1(hash.result().toHex());
}

QJsonObject toJson(const BackupFile &b)
{
    const HoldingCounts &c = b.counts;
    return QJsonObject{{QStringLiteral("engine"), b.engine},
                       {QStringLiteral("taken"), b.taken.toString(Qt::ISODateWithMs)},
                       {QStringLiteral("size"), b.size},
                       {QStringLiteral("sha256"), b.sha256},
                       {QStringLiteral("program"), b.programVersion},
                       {QStringLiteral("schemaVersion"), c.schemaVersion},
                       {QStringLiteral("records"), c.records},
                       {QStringLiteral("copies"), c.copies},
                       {QStringLiteral("readers"), c.readers},
                       {QStringLiteral("loans"), c.loans},
                       {QStringLiteral("journal"), c.journal}};
}

bool readDescription(const QString &file, BackupFile *b)
{
    QFile f(descriptionOf(file));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject o = QJsonDocument::fromJson(f.read(1 << 16)).object();
    if (o.value(QStringLiteral("sha256")).toString().isEmpty())
        return false;
    b->engine = o.value(QStringLiteral("engine")).toString();
    b->taken = QDateTime::fromString(o.value(QStringLiteral("taken")).toString(), Qt::ISODateWithMs);
    b->size = o.value(QStringLiteral("size")).toInteger(-1);
    b->sha256 = o.value(QStringLiteral("sha256")).toString();
    b->programVersion = o.value(QStringLiteral("program")).toString();
    HoldingCounts &c = b->counts;
    c.schemaVersion = o.value(QStringLiteral("schemaVersion")).toInt();
    c.records = o.value(QStringLiteral("records")).toInteger(-1);
    c.copies = o.value(QStringLiteral("copies")).toInteger(-1);
    c.readers = o.value(QStringLiteral("readers")).toInteger(-1);
    c.loans = o.value(QStringLiteral("loans")).toInteger(-1);
    c.journal = o.value(QStringLiteral("journal")).toInteger(-1);
    return true;
}

// What a backup file is, from its description, else from its name and the file.
BackupFile describe(const QString &path)
{
    BackupFile b;
    b.path = path;
    if (readDescription(path, &b))
        return b;
    const QFileInfo info(path);
    b.size = info.size();
    const QRegularExpressionMatch m = backupName().match(info.fileName());
    b.engine = m.captured(4) == QLatin1String("postgresql") ? QStringLiteral("POSTGRESQL") : QStringLiteral("SQLITE");
    b.taken = QDateTime::fromString(m.captured(1) + m.captured(2), QStringLiteral("yyyyMMddHHmmss"));
    b.taken.setTimeSpec(Qt::UTC);
    if (!b.taken.isValid())
        b.taken = info.lastModified().toUTC();
    return b;
}

// A free name for a backup taken at `when` in `dir`, after every other of
// the same second (a name freed by --keep is not taken again).
QString newBackupPath(const QDir &dir, const QDateTime &when, const BackupEngine &engine)
{
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    int first = 0;
    for (const QString &name : dir.entryList({QStringLiteral("folian-") + stamp + QStringLiteral("*")}, QDir::Files)) {
        const QRegularExpressionMatch m = backupName().match(name.endsWith(QLatin1String(".part")) ? name.chopped(5) : name);
        if (m.hasMatch())
            first = qMax(first, m.captured(3).toInt() + 1);
    }
    for (int serial = first;; ++serial) {
        const QString name = QStringLiteral("folian-%1%2-%3%4")
                                 .arg(stamp, serial ? QStringLiteral("-%1").arg(serial) : QString(), engine.fileTag(),
                                      engine.fileSuffix());
        const QString path = dir.filePath(name);
        if (!QFileInfo::exists(path) && !QFileInfo::exists(path + QStringLiteral(".part")))
            return path;
    }
}

void removeBackup(const QString &path)
{
    QFile::remove(path);
    QFile::remove(descriptionOf(path));
}

// Keeps the newest `keep` backups of the directory, `written` always among them.
void keepNewest(const QString &dir, int keep, const QString &written)
{
    const QVector<BackupFile> all = ListBackups(dir);
    int kept = 1;  // the one just written
    for (const BackupFile &b : all) {
        if (QFileInfo(b.path) == QFileInfo(written))
            continue;
        if (kept < keep)
            ++kept;
        else
            removeBackup(b.path);
    }
}

} // namespace

QVector<BackupFile> ListBackups(const QString &dir)
{
    QVector<BackupFile> out;
    QStringList names;
    for (const QString &name : QDir(dir).entryList(QDir::Files))
        if (backupName().match(name).hasMatch())
            names << name;
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return sortKey(a) > sortKey(b); });
    for (const QString &name : names)
        out << describe(QDir(dir).filePath(name));
    return out;
}

bool BackupDatabase(Database &db, const QString &dir, int keep, BackupFile *written, QString *why,
                    Progress *progress)
{
    if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty()) {
        *why = refusal;
        return false;
    }
    if (db.inTransaction()) {
        *why = backup::inTransaction();
        return false;
    }
    const std::unique_ptr<BackupEngine> engine = BackupEngine::forEngine(db.dialect().name());
    QDir target(dir);
    if (!engine || !target.mkpath(QStringLiteral(".")) || !QFileInfo(target.absolutePath()).isWritable()) {
        *why = backup::directoryUnusable(dir);
        return false;
    }
    BackupFile b;
    b.engine = engine->engine();
    b.taken = QDateTime::currentDateTimeUtc();
    b.programVersion = QString::fromLatin1(kVersion);
    b.path = newBackupPath(target, b.taken.toLocalTime(), *engine);
    // Written under a name of its own until it is checked and described.
    const QString part = b.path + QStringLiteral(".part");
    QFile::remove(part);
    if (!engine->copy(db, part, &b.counts, why, progress)) {
        QFile::remove(part);
        return false;
    }
    b.size = QFileInfo(part).size();
    b.sha256 = sha256Of(part);
    QSaveFile description(descriptionOf(b.path));
    if (!description.open(QIODevice::WriteOnly)
        || description.write(QJsonDocument(toJson(b)).toJson()) < 0 || !description.commit()) {
        *why = backup::descriptionNotWritten(descriptionOf(b.path), description.errorString());
        QFile::remove(part);
        return false;
    }
    if (!QFile::rename(part, b.path)) {
        *why = backup::copyFailed(QStringLiteral("%1 → %2").arg(part, b.path));
        QFile::remove(part);
        QFile::remove(descriptionOf(b.path));
        return false;
    }
    if (keep > 0)
        keepNewest(target.absolutePath(), keep, b.path);
    if (written)
        *written = b;
    return true;
}

bool CheckBackup(const QString &file, BackupFile *out, QString *why)
{
    if (!QFileInfo(file).isFile()) {
        *why = backup::fileMissing(file);
        return false;
    }
    BackupFile b = describe(file);
    if (b.described() && (b.size != QFileInfo(file).size() || b.sha256 != sha256Of(file))) {
        *why = backup::checksumMismatch(file);
        return false;
    }
    std::unique_ptr<BackupEngine> engine = BackupEngine::forEngine(b.engine);
    if (!engine) {
        *why = backup::notABackup(file);
        return false;
    }
    HoldingCounts inFile;
    if (!engine->check(file, &inFile, why))
        return false;
    if (!b.described() || !b.counts.known())
        b.counts = inFile;
    if (out)
        *out = b;
    return true;
}

bool RestoreDatabase(Database &db, const QString &file, bool replace, RestoreResult *out, QString *why)
{
    RestoreResult result;
    if (!CheckBackup(file, &result.from, why))
        return false;
    if (result.from.engine != db.dialect().name()) {
        *why = backup::engineMismatch(result.from.engine, db.dialect().name());
        return false;
    }
    if (result.from.counts.schemaVersion > Schema::currentVersion()) {
        *why = backup::newerThanProgram(result.from.counts.schemaVersion, Schema::currentVersion());
        return false;
    }
    QString reason;
    const HoldingCounts now = CountHoldings(db, &reason);
    if (!now.known()) {
        *why = backup::copyFailed(reason);
        return false;
    }
    if (!now.empty()) {
        if (!replace) {
            *why = backup::targetHoldsData(now.records, now.copies, now.readers, now.loans);
            return false;
        }
        // Replacing a library's data is the administrator's; filling an empty database harms nothing.
        if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty()) {
            *why = refusal;
            return false;
        }
        BackupFile kept;
        if (!BackupDatabase(db, QFileInfo(file).absolutePath(), 0, &kept, why))
            return false;
        result.replacedKeptIn = kept.path;
    }
    std::unique_ptr<BackupEngine> engine = BackupEngine::forEngine(result.from.engine);
    if (!engine->restore(db, file, why))
        return false;
    result.versionBefore = schemaVersion(db);
    if (result.versionBefore < Schema::currentVersion()) {
        int rehashed = 0;
        if (!UpgradeDatabase(db, &rehashed, &reason)) {
            *why = backup::upgradeFailed(reason);
            return false;
        }
    }
    result.restored = CountHoldings(db, &reason);
    if (out)
        *out = result;
    return true;
}

} // namespace folian
