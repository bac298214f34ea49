#include "catalogue/core/resources.h"

#include "base/messages.h"
#include "data/core/database.h"
#include "data/core/helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace folian {

namespace {

QString withSeparator(QString dir)
{
    dir.replace(u'\\', u'/');
    return dir.endsWith(u'/') ? dir : dir + u'/';
}

// A name of `directory` no file holds: the name itself, else "base (n).ext".
QString freeName(const QString &directory, const QString &fileName)
{
    const QDir dir(directory);
    if (!QFileInfo::exists(dir.filePath(fileName)))
        return fileName;
    const QFileInfo fi(fileName);
    const QString base = fi.completeBaseName();
    const QString suffix = fi.suffix().isEmpty() ? QString() : u'.' + fi.suffix();
    for (int n = 2;; ++n) {
        const QString candidate = base + QStringLiteral(" (%1)").arg(n) + suffix;
        if (!QFileInfo::exists(dir.filePath(candidate)))
            return candidate;
    }
}

} // namespace

QString archiveDirectory(Database &db, const QVariant &typId, const QString &appDir)
{
    const QString dir = IsBlank(typId)
        ? QString()
        : db.scalar(QStringLiteral("SELECT TYP_REP_ARCHIVAGE FROM TYPE_DOCUMENT WHERE TYP_ID = ?"), {typId})
              .toString()
              .trimmed();
    return withSeparator(dir.isEmpty() ? appDir : dir);
}

ResourceArchive::ResourceArchive(const QString &link, const QString &directory, ArchiveMode mode)
    : source_(link.trimmed()), directory_(withSeparator(directory)), mode_(mode), link_(link.trimmed())
{
}

bool ResourceArchive::prepare()
{
    message_.clear();
    destination_.clear();
    if (mode_ == ArchiveMode::Leave || source_.isEmpty() || IsResourceAddress(source_))
        return true;
    const QFileInfo src(source_);
    if (!src.isAbsolute() || !src.isFile())
        return true;
    const QDir archive(directory_);
    if (src.absolutePath() == archive.absolutePath()
        || (archive.exists() && src.canonicalPath() == archive.canonicalPath())) {
        link_ = src.fileName();  // already in the archive
        return true;
    }
    auto failed = [this](const QString &why) {
        message_ = tr2(QStringLiteral("La ressource n'a pas pu être copiée vers le répertoire d'archivage "),
                       QStringLiteral("تعذر نسخ المصدر إلى مجلد الأرشفة "))
            + directory_ + QStringLiteral(" : ") + why;
        return false;
    };
    if (!QDir().mkpath(directory_))
        return failed(tr2(QStringLiteral("le répertoire ne peut pas être créé."), QStringLiteral("تعذر إنشاء المجلد.")));
    const QString name = freeName(directory_, src.fileName());
    const QString target = directory_ + name;
    QFile in(src.absoluteFilePath());
    if (!in.copy(target)) {
        QFile::remove(target);
        return failed(in.errorString());
    }
    destination_ = target;
    link_ = name;
    return true;
}

bool ResourceArchive::finish()
{
    if (!copied() || mode_ != ArchiveMode::Move)
        return true;
    if (QFile::remove(source_))
        return true;
    message_ = tr2(QStringLiteral("La ressource a été copiée mais l'original n'a pas pu être supprimé : "),
                   QStringLiteral("تم نسخ المصدر لكن تعذر حذف الأصل : "))
        + source_;
    return false;
}

void ResourceArchive::undo()
{
    if (copied())
        QFile::remove(destination_);
    destination_.clear();
    link_ = source_;
}

ResourceTarget resourceTarget(const QVariant &link, const QString &archiveDir)
{
    ResourceTarget t;
    const QString l = link.toString().trimmed();
    if (l.isEmpty())
        return t;
    if (IsResourceAddress(l)) {
        t.address = true;
        t.target = l.startsWith(QLatin1String("www."), Qt::CaseInsensitive) ? QStringLiteral("http://") + l : l;
        return t;
    }
    const QString path = QDir(withSeparator(archiveDir)).filePath(l);
    if (QFileInfo(path).isFile())
        t.target = QFileInfo(path).absoluteFilePath();
    return t;
}

} // namespace folian
