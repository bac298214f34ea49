#pragma once
// A translation file (Folian.FR, Folian.AR): an INI file whose sections are
// form names and whose keys are control names (or grid name + column
// number) holding captions.

#include <QHash>
#include <QString>

namespace folian {

class TranslationFile
{
public:
    bool load(const QString &path);
    bool loadFromData(const QByteArray &bytes);
    bool isLoaded() const { return loaded_; }

    // The caption of `key` in `section`, or `fallback` when absent.
    QString caption(const QString &section, const QString &key, const QString &fallback) const;
    bool contains(const QString &section, const QString &key) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

private:
    QHash<QString, QHash<QString, QString>> sections_;  // lower-cased names
    QHash<QString, QString> sectionNames_;
    QHash<QString, QStringList> keyNames_;
    bool loaded_ = false;
};

// The translation file of the current language (LanguageFile); not loaded
// when the file could not be read.
TranslationFile &LanguageFile();
// Loads AppDir + "Folian." + language (also looked for in the installed
// data directories); returns whether a file was loaded.
bool LoadLanguageFile(const QString &language);
// The file LoadLanguageFile read last; empty when it found none.
QString LanguageFilePath();
// Directories searched for translation files after AppDir.
QStringList translationDirs();

} // namespace folian
