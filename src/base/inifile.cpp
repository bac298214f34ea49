#include "base/inifile.h"

#include "base/cp1256.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace folian {

namespace {

bool isSection(const QString &trimmed, QString *name)
{
    if (trimmed.size() < 2 || !trimmed.startsWith(u'[') || !trimmed.endsWith(u']'))
        return false;
    if (name)
        *name = trimmed.mid(1, trimmed.size() - 2).trimmed();
    return true;
}

bool splitKey(const QString &trimmed, QString *key, QString *value)
{
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
        return false;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq <= 0)
        return false;
    if (key)
        *key = trimmed.left(eq).trimmed();
    if (value)
        *value = trimmed.mid(eq + 1).trimmed();
    return true;
}

} // namespace

bool IniFile::load(const QString &path)
{
    lines_.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    loadFromData(f.readAll());
    return true;
}

void IniFile::loadFromData(QByteArray bytes)
{
    lines_.clear();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    crlf_ = bytes.contains("\r\n");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    cp1256_ = utf8.hasError();
    if (cp1256_)
        text = decodeCp1256(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines_ = text.split(u'\n');
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
}

bool IniFile::isSectionLine(const QString &line, QString *name) { return isSection(line.trimmed(), name); }

bool IniFile::isKeyLine(const QString &line, QString *key, QString *value)
{
    return splitKey(line.trimmed(), key, value);
}

bool IniFile::save(const QString &path) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QString eol = crlf_ ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const QString &line : lines_)
        text += line + eol;
    const QByteArray bytes = cp1256_ ? encodeCp1256(text, false) : text.toUtf8();
    if (f.write(bytes) != bytes.size())
        return false;
    return f.commit();
}

int IniFile::find(const QString &section, const QString &key) const
{
    QString current;
    for (int i = 0; i < lines_.size(); ++i) {
        const QString t = lines_.at(i).trimmed();
        QString name, k;
        if (isSection(t, &name))
            current = name;
        else if (current.compare(section, Qt::CaseInsensitive) == 0 && splitKey(t, &k, nullptr)
                 && k.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return find(section, key) >= 0;
}

QString IniFile::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int i = find(section, key);
    if (i < 0)
        return defaultValue;
    QString v;
    splitKey(lines_.at(i).trimmed(), nullptr, &v);
    return v;
}

int IniFile::intValue(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int v = value(section, key).toInt(&ok);
    return ok ? v : defaultValue;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString line = key + u'=' + value;
    const int i = find(section, key);
    if (i >= 0) {
        lines_[i] = line;
        return;
    }
    // Append at the end of the section, or add the section.
    QString current;
    int sectionEnd = -1;
    for (int j = 0; j < lines_.size(); ++j) {
        QString name;
        const QString t = lines_.at(j).trimmed();
        if (isSection(t, &name))
            current = name;
        if (current.compare(section, Qt::CaseInsensitive) == 0 && !t.isEmpty())
            sectionEnd = j;
    }
    if (sectionEnd >= 0) {
        lines_.insert(sectionEnd + 1, line);
        return;
    }
    if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty())
        lines_.append(QString());
    lines_.append(u'[' + section + u']');
    lines_.append(line);
}

} // namespace folian
