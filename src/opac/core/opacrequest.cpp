#include "opac/core/opacrequest.h"

#include "catalogue/core/searchconditions.h"
#include "opac/core/opactexts.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace folian::opac {

bool Criteria::isEmpty() const
{
    for (const QString *s : {&title, &author, &subject, &number, &type, &language})
        if (!s->trimmed().isEmpty())
            return false;
    return true;
}

int Request::status() const
{
    switch (page) {
    case Page::Home:
    case Page::Search:
    case Page::Record: return 200;
    case Page::Root: return 302;
    case Page::NotFound: return 404;
    case Page::Refused: return 400;
    }
    return 500;
}

namespace {

Request refused(Request r, const QString &why)
{
    r.page = Page::Refused;
    r.refusal = why;
    return r;
}

// A query's values decoded, "+" read as a blank as forms send it.
QUrlQuery decodedQuery(const QByteArray &encoded)
{
    QByteArray q = encoded;
    q.replace('+', "%20");
    return QUrlQuery(QString::fromLatin1(q));
}

QString valueOf(const QUrlQuery &q, const char *key)
{
    return q.queryItemValue(QLatin1String(key), QUrl::FullyDecoded).trimmed();
}

} // namespace

Request parseRequest(const QByteArray &method, const QByteArray &target, qsizetype headerBytes,
                     const QString &basePath, const QByteArray &acceptLanguage)
{
    Request r;
    const qsizetype mark = target.indexOf('?');
    const QByteArray encodedPath = mark < 0 ? target : target.left(mark);
    const QUrlQuery query = decodedQuery(mark < 0 ? QByteArray() : target.mid(mark + 1));
    const QString lang = valueOf(query, "lang");
    r.arabic = lang.isEmpty() ? acceptLanguage.trimmed().toLower().startsWith("ar")
                              : lang.compare(QLatin1String("ar"), Qt::CaseInsensitive) == 0;
    if (target.size() > kMaxTarget || headerBytes > kMaxHeaders)
        return refused(r, tooLong(r.arabic));
    if (method != "GET" && method != "HEAD")
        return refused(r, badMethod(r.arabic));

    QString path = QUrl::fromPercentEncoding(encodedPath);
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const QString base = basePath;
    if (!base.isEmpty() && (path.isEmpty() || path == QLatin1String("/"))) {
        r.page = Page::Root;
        return r;
    }
    if (!path.startsWith(base)) {
        r.page = Page::NotFound;
        return r;
    }
    const QString rest = path.mid(base.size());
    static const QRegularExpression recordPath(QStringLiteral("^/record/([0-9]{1,9})$"));
    if (rest.isEmpty() || rest == QLatin1String("/")) {
        r.page = Page::Home;
        return r;
    }
    if (const QRegularExpressionMatch m = recordPath.match(rest); m.hasMatch()) {
        r.record = m.captured(1).toInt();
        if (r.record <= 0)
            return refused(r, badRecord(r.arabic));
        r.page = Page::Record;
        return r;
    }
    if (rest.startsWith(QLatin1String("/record/")))
        return refused(r, badRecord(r.arabic));
    if (rest != QLatin1String("/search")) {
        r.page = Page::NotFound;
        return r;
    }

    Criteria &c = r.criteria;
    c.title = valueOf(query, "title");
    c.author = valueOf(query, "author");
    c.subject = valueOf(query, "subject");
    c.number = valueOf(query, "number");
    c.type = valueOf(query, "type");
    c.language = valueOf(query, "language");
    for (const QString *s : {&c.title, &c.author, &c.subject, &c.number}) {
        if (s->size() > kMaxCriterion)
            return refused(r, tooLong(r.arabic));
        if (criterionWords(*s).size() > kMaxWords)
            return refused(r, tooManyWords(r.arabic));
    }
    static const QRegularExpression typeCode(QStringLiteral("^[A-Za-z0-9]?$"));
    static const QRegularExpression languageCode(QStringLiteral("^([A-Za-z]{3})?$"));
    if (!typeCode.match(c.type).hasMatch() || !languageCode.match(c.language).hasMatch())
        return refused(r, badCode(r.arabic));
    const QString pageText = valueOf(query, "page");
    if (!pageText.isEmpty()) {
        bool ok = false;
        r.pageNumber = pageText.toInt(&ok);
        if (!ok || r.pageNumber < 1 || r.pageNumber > kMaxPage || pageText.size() > 5)
            return refused(r, badPage(r.arabic));
    }
    r.page = Page::Search;
    return r;
}

QString searchQuery(const Criteria &c, bool arabic, int page)
{
    QStringList parts;
    auto add = [&parts](const char *key, const QString &value) {
        if (!value.isEmpty())
            parts << QLatin1String(key) + u'=' + QString::fromLatin1(QUrl::toPercentEncoding(value));
    };
    add("title", c.title);
    add("author", c.author);
    add("subject", c.subject);
    add("number", c.number);
    add("type", c.type);
    add("language", c.language);
    if (page > 1)
        add("page", QString::number(page));
    add("lang", arabic ? QStringLiteral("ar") : QStringLiteral("fr"));
    return parts.join(u'&');
}

} // namespace folian::opac
