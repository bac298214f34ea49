#include "base/config.h"

#include "base/inifile.h"
#include "base/session.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace folian {

namespace {
const QString kApp = QStringLiteral("Application");
const QString kOpac = QStringLiteral("OPAC");

QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}
} // namespace

QString defaultAppDir(const QString &programDir)
{
    if (QFileInfo::exists(QDir(programDir).filePath(QStringLiteral("Folian.ini"))))
        return withSlash(QDir(programDir).absolutePath());
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.config/Folian");
    return withSlash(dir);
}

bool readConfig(const QString &iniPath, Session &s)
{
    const QFileInfo fi(iniPath);
    s.IniPath = fi.absoluteFilePath();
    s.AppDir = withSlash(fi.absolutePath());
    s.TempDir = withSlash(QDir::tempPath());

    IniFile ini;
    const bool ok = ini.load(s.IniPath);
    s.DbEngine = ini.value(kApp, QStringLiteral("Engine"), QStringLiteral("ACCESS")).toUpper();
    s.DbServer = ini.value(kApp, QStringLiteral("Server"));
    s.DbUser = ini.value(kApp, QStringLiteral("Username"));
    s.DbPassword = ini.value(kApp, QStringLiteral("Password"));
    s.DbCatalog = ini.value(kApp, QStringLiteral("Catalog"));
    s.DbSslMode = ini.value(kApp, QStringLiteral("SSLMode"));
    s.DbSslRootCert = ini.value(kApp, QStringLiteral("SSLRootCert"));
    s.CurrentUserId = ini.intValue(kApp, QStringLiteral("Login"), 0);
    s.setLanguage(ini.value(kApp, QStringLiteral("Language"), QStringLiteral("FR")).toUpper());
    s.SilentMode = ini.intValue(kApp, QStringLiteral("Mode"), 0);
    s.OpacDirectory = ini.value(kOpac, QStringLiteral("Directory"));
    s.OpacAddress = ini.value(kOpac, QStringLiteral("Address"));
    return ok;
}

bool writeConfig(const Session &s)
{
    IniFile ini;
    ini.load(s.IniPath);  // a missing file is written anew
    ini.setValue(kApp, QStringLiteral("Engine"), s.DbEngine);
    ini.setValue(kApp, QStringLiteral("Server"), s.DbServer);
    ini.setValue(kApp, QStringLiteral("Username"), s.DbUser);
    ini.setValue(kApp, QStringLiteral("Password"), s.DbPassword);
    ini.setValue(kApp, QStringLiteral("Catalog"), s.DbCatalog);
    ini.setValue(kApp, QStringLiteral("Login"), QString::number(s.CurrentUserId));
    ini.setValue(kApp, QStringLiteral("Language"), s.CurrentLanguage);
    return ini.save(s.IniPath);
}

} // namespace folian
