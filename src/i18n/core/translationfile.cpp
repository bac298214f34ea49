#include "i18n/core/translationfile.h"

#include "base/session.h"
#include "base/inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace folian {

bool TranslationFile::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *this = TranslationFile();
        return false;
    }
    return loadFromData(f.readAll());
}

bool TranslationFile::loadFromData(const QByteArray &bytes)
{
    *this = TranslationFile();
    IniFile ini;
    ini.loadFromData(bytes);
    QString section;
    for (const QString &line : ini.lines()) {
        QString name, key, value;
        if (IniFile::isSectionLine(line, &name)) {
            section = name;
            sectionNames_.insert(section.toLower(), section);
            continue;
        }
        if (section.isEmpty() || !IniFile::isKeyLine(line, &key, &value))
            continue;
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        auto &keys = sections_[section.toLower()];
        if (!keys.contains(key.toLower()))
            keyNames_[section.toLower()] << key;
        keys.insert(key.toLower(), value);
    }
    loaded_ = true;
    return true;
}

QString TranslationFile::caption(const QString &section, const QString &key, const QString &fallback) const
{
    const auto s = sections_.constFind(section.toLower());
    if (s == sections_.constEnd())
        return fallback;
    const auto k = s->constFind(key.toLower());
    return k == s->constEnd() ? fallback : *k;
}

bool TranslationFile::contains(const QString &section, const QString &key) const
{
    const auto s = sections_.constFind(section.toLower());
    return s != sections_.constEnd() && s->contains(key.toLower());
}

QStringList TranslationFile::sections() const { return sectionNames_.values(); }

QStringList TranslationFile::keys(const QString &section) const { return keyNames_.value(section.toLower()); }

TranslationFile &LanguageFile()
{
    static TranslationFile f;
    return f;
}

QStringList translationDirs()
{
    const QString app = QCoreApplication::applicationDirPath();
    return {app + QStringLiteral("/../share/folian"), app + QStringLiteral("/../i18n"),
            QStringLiteral(FOLIAN_SOURCE_I18N_DIR)};
}

namespace {
QString &loadedPath()
{
    static QString path;
    return path;
}
} // namespace

QString LanguageFilePath() { return loadedPath(); }

bool LoadLanguageFile(const QString &language)
{
    const QString name = QStringLiteral("Folian.") + language;
    QStringList candidates{session().AppDir + name};
    for (const QString &d : translationDirs())
        candidates << QDir(d).filePath(name);
    for (const QString &c : candidates)
        if (QFile::exists(c) && LanguageFile().load(c)) {
            loadedPath() = QFileInfo(c).canonicalFilePath();
            return true;
        }
    LanguageFile() = TranslationFile();
    loadedPath().clear();
    return false;
}

} // namespace folian
