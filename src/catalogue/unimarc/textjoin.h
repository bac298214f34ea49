#pragma once
// Text built of parts, a separator written only between two that are not empty.

#include <QString>

namespace folian::unimarc {

inline void joinText(QString &text, QLatin1StringView separator, const QString &part)
{
    if (part.isEmpty())
        return;
    if (!text.isEmpty())
        text += separator;
    text += part;
}
inline void joinText(QString &text, const char *separator, const QString &part)
{
    joinText(text, QLatin1StringView(separator), part);
}
inline void joinText(QString &text, const QString &separator, const QString &part)
{
    if (part.isEmpty())
        return;
    if (!text.isEmpty())
        text += separator;
    text += part;
}

} // namespace folian::unimarc
