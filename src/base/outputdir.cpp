#include "base/outputdir.h"

#include <QDir>
#include <QStandardPaths>

namespace folian {

namespace {

QString &overridden()
{
    static QString dir;
    return dir;
}

QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

} // namespace

QString userDataDirectory()
{
    if (!overridden().isEmpty())
        return overridden();
    // Not the application's own name: the desktop program and folianctl
    // must find the same files.
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        + QStringLiteral("Folian/");
}

void setUserDataDirectory(const QString &dir)
{
    overridden() = dir.isEmpty() ? QString() : withSlash(QDir::cleanPath(QDir(dir).absolutePath()));
}

QString reportDirectory()
{
    const QString dir = userDataDirectory() + QStringLiteral("pages/");
    QDir().mkpath(dir);  // a failure shows when the page is written
    return dir;
}

QString reportPath(const QString &fileName) { return reportDirectory() + fileName; }

QString scratchDatabasePath() { return userDataDirectory() + QStringLiteral("Folian.tmp"); }

} // namespace folian
