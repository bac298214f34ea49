#include "reports/core/htmlpage.h"

#include "base/cp1256.h"

#include <QSaveFile>

namespace folian {

QString htmlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'\'': out += QStringLiteral("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

QString htmlPageHead(const QString &title, bool arabic)
{
    return QStringLiteral("<html%1><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1256\">"
                          "<title>%2</title></head><body>")
        .arg(arabic ? QStringLiteral(" dir=\"rtl\"") : QString(), htmlEscape(title));
}

bool writeHtmlPage(const QString &path, const QString &html)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeCp1256(html, true);
    return f.write(bytes) == bytes.size() && f.commit();
}

} // namespace folian
