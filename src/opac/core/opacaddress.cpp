#include "opac/core/opacaddress.h"

#include "data/core/dialect.h"

#include <QStringList>

namespace folian {

QString defaultOpacDirectory() { return QStringLiteral("opac"); }

QString opacBasePath(const QString &directory)
{
    QStringList words;
    for (const QString &w : directory.split(u'/', Qt::SkipEmptyParts))
        if (const QString t = w.trimmed(); !t.isEmpty())
            words << t;
    return words.isEmpty() ? QString() : u'/' + words.join(u'/');
}

QString opacStartAddress(const QString &server, const QString &directory, const QString &address)
{
    if (const QString given = address.trimmed(); !given.isEmpty())
        return given;
    QString host;
    int port = 0;
    const QString s = server.trimmed();
    if (s.isEmpty() || s == QLatin1String(".") || !splitServer(s, &host, &port))
        host.clear();
    if (host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        host = QStringLiteral("127.0.0.1");
    if (host.contains(u':'))
        host = u'[' + host + u']';
    const QString path = opacBasePath(directory);
    return QStringLiteral("http://") + host + u':' + QString::number(kOpacPort) + (path.isEmpty() ? QStringLiteral("/") : path);
}

} // namespace folian
