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
    bool load(const QString &path);
    // Writes to `path` through a temporary file; false on any failure.
    bool save(const QString &path) const;

    QString value(const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const;
    int intValue(const QString &section, const QString &key, int defaultValue) const;
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);

    const QStringList &lines() const { return lines_; }

private:
    // Index of the line holding the key, -1 when absent.
    int find(const QString &section, const QString &key) const;

    QStringList lines_;
    bool latin1_ = false;   // the file was not valid UTF-8: write it back the same way
    bool crlf_ = false;
};

} // namespace folian
