#pragma once
// A Windows-style INI file that keeps every line it does not change: values
// are written in place, so comments, unknown keys and their order survive a
// write-back. Section and key names compare without regard to case, as on
// the platform the format comes from. A line that is neither a section, a
// key=value pair, a comment nor blank is ignored when reading and kept as it
// is when writing.

#include <QString>
#include <QStringList>

namespace folian {

class IniFile
{
public:
    // Loads `path`; false when the file cannot be read (the object is then empty).
    // The text is UTF-8 when the bytes are valid UTF-8 (a BOM is dropped),
    // else Windows-1256; a write-back keeps the file's encoding and line ends.
    bool load(const QString &path);
    void loadFromData(QByteArray bytes);
    // Writes to `path` through a temporary file; false on any failure.
    bool save(const QString &path) const;

    QString value(const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const;
    int intValue(const QString &section, const QString &key, int defaultValue) const;
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);

    const QStringList &lines() const { return lines_; }
    // How a line reads: a section header, or a key with its value (comments
    // starting with ';' or '#' are neither).
    static bool isSectionLine(const QString &line, QString *name);
    static bool isKeyLine(const QString &line, QString *key, QString *value);

private:
    // Index of the line holding the key, -1 when absent.
    int find(const QString &section, const QString &key) const;

    QStringList lines_;
    bool cp1256_ = false;   // the file was not valid UTF-8: write it back the same way
    bool crlf_ = false;
};

} // namespace folian
