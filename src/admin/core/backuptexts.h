#pragma once
// The messages of the backups and restores, in French or Arabic by the
// session's language.

#include <QString>

namespace folian::backup {

QString copying();
QString checking();
QString directoryUnusable(const QString &dir);
QString inTransaction();
QString stopped();
QString copyFailed(const QString &reason);
QString copyUnreadable(const QString &file, const QString &reason);
QString toolMissing(const QString &tool, int serverMajor);
QString toolTooOld(const QString &path, int toolMajor, int serverMajor);
QString toolFailed(const QString &tool, const QString &output);
QString fileMissing(const QString &file);
QString checksumMismatch(const QString &file);
QString notABackup(const QString &file);
QString engineMismatch(const QString &backupEngine, const QString &databaseEngine);
QString targetHoldsData(qint64 records, qint64 copies, qint64 readers, qint64 loans);
QString newerThanProgram(int backupVersion, int programVersion);
QString upgradeFailed(const QString &reason);
QString descriptionNotWritten(const QString &file, const QString &reason);

// The screen's
QString written(const QString &file, qint64 size, qint64 records, qint64 copies, qint64 readers, qint64 loans);
QString restoreQuestion(const QString &file);
QString restored(qint64 records, qint64 copies, qint64 readers, qint64 loans, const QString &keptIn);

} // namespace folian::backup
