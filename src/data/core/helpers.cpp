#include "data/core/helpers.h"

#include "data/core/database.h"

namespace folian {

namespace {
std::function<void(int, const QString &)> &statusWriter()
{
    static std::function<void(int, const QString &)> w;
    return w;
}
} // namespace

int NextId(Database &db, const QString &table, const QString &expression, const QString &extra)
{
    QString sql = QStringLiteral("SELECT ") + expression + QStringLiteral("FROM ") + table;
    if (!extra.isEmpty())
        sql += u' ' + extra;
    bool ok = false;
    const QVariant v = db.scalar(sql, {}, &ok);
    if (!ok)
        return 1;
    return v.isNull() ? 1 : v.toInt() + 1;
}

QString LookupCountText(Database &db, const QString &table, const QString &label, const QString &unit)
{
    bool ok = false;
    const QVariant v = db.scalar(QStringLiteral("SELECT COUNT(*)") + QStringLiteral("FROM ") + table, {}, &ok);
    if (!ok)
        return {};
    return u' ' + label + QStringLiteral(" : ") + QString::number(v.toLongLong()) + u' ' + unit;
}

void LookupCount(Database &db, const QString &table, const QString &label, const QString &unit)
{
    const QString text = LookupCountText(db, table, label, unit);
    if (!text.isEmpty())
        writeStatusPanel(2, text);
}

void setStatusPanelWriter(std::function<void(int, const QString &)> writer)
{
    statusWriter() = std::move(writer);
}

void writeStatusPanel(int panel, const QString &text)
{
    if (statusWriter())
        statusWriter()(panel, text);
}

QVariant ServerDate(Database &db)
{
    if (!db.isOpen())
        return {};
    const QDateTime dt = db.serverDate();
    return dt.isValid() ? QVariant(dt) : QVariant();
}

QDate serverToday(Database &db)
{
    const QVariant now = ServerDate(db);
    const QDate d = now.toDateTime().date();
    return d.isValid() ? d : QDate::currentDate();
}

QVariant dateValue(Database &db, const QDate &d) { return db.dialect().toDb(d, ColType::Date); }

bool IsBlank(const QVariant &v)
{
    return v.isNull() || !v.isValid() || v.toString().trimmed().isEmpty();
}

QString NextToken(const QString &text, int &pos, const QString &separators)
{
    int i = qMax(pos, 1) - 1;
    const int n = int(text.size());
    while (i < n && separators.contains(text.at(i)))
        ++i;
    const int start = i;
    while (i < n && !separators.contains(text.at(i)))
        ++i;
    const QString token = text.mid(start, i - start);
    pos = (i < n ? i + 1 : i) + 1;
    return token;
}

QString ReplaceChars(const QString &text, const QString &chars, const QString &replacement)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (chars.contains(c))
            out += replacement;
        else
            out += c;
    }
    return out;
}

QString ZeroPad(qint64 n, int width)
{
    const QString digits = QString::number(n < 0 ? -n : n);
    return digits.size() >= width ? digits : QString(width - digits.size(), u'0') + digits;
}

QString ScrambleText(const QString &text, unsigned char key)
{
    QString out = text;
    for (QChar &c : out)
        c = QChar(char16_t(c.unicode() ^ key));
    return out;
}

const QString &KeywordSeparators()
{
    // blank . , Arabic comma ; : - + / \ ! ? [ ] ( ) ' and the apostrophes ’ ʼ
    static const QString s = QStringLiteral(" .,\u060C;:-+/\\!?[]()'\u2019\u02BC");
    return s;
}

QString BuildKeywords(const QString &text)
{
    QString out;
    int pos = 1;
    for (;;) {
        const QString word = NextToken(text, pos, KeywordSeparators());
        if (word.isEmpty())
            break;
        out += u'/' + word + u'/';
    }
    return out;
}

QString RecordKeywords(const QString &titreProp, const QString &complement, const QString &parallele,
                       const QString &ensemble)
{
    return BuildKeywords(titreProp + u' ' + complement + u' ' + parallele + u' ' + ensemble);
}

namespace {
// Where the qualifier of a standard number begins: its "(" after the number; -1 when none.
qsizetype qualifierStart(const QString &text)
{
    const qsizetype p = text.indexOf(u'(');
    return p > 0 && !text.left(p).trimmed().isEmpty() ? p : -1;
}
} // namespace

QVariant NormaliseStandardNumber(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return v;
    const QString text = v.toString().trimmed();
    const qsizetype q = qualifierStart(text);
    if (q < 0)
        return ReplaceChars(text, QStringLiteral(" -."));
    return QString(ReplaceChars(text.left(q), QStringLiteral(" -.")) + u' ' + text.mid(q).trimmed());
}

QString StandardNumberKey(const QString &text)
{
    const QString t = text.trimmed();
    const qsizetype q = qualifierStart(t);
    return ReplaceChars(q < 0 ? t : t.left(q), QStringLiteral(" -."));
}

QString StandardNumberQualifier(const QString &text)
{
    const QString t = text.trimmed();
    const qsizetype q = qualifierStart(t);
    if (q < 0)
        return QString();
    QString qualifier = t.mid(q + 1).trimmed();
    if (qualifier.endsWith(u')'))
        qualifier.chop(1);
    return qualifier.trimmed();
}

bool IsResourceAddress(const QString &link)
{
    const QString t = link.trimmed();
    if (t.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return true;
    // scheme = letter *( letter / digit / "+" / "-" / "." ) ":"
    qsizetype i = 0;
    if (t.isEmpty() || !(t.at(0).isLetter() && t.at(0).unicode() < 128))
        return false;
    while (i < t.size() && t.at(i).unicode() < 128
           && (t.at(i).isLetterOrNumber() || t.at(i) == u'+' || t.at(i) == u'-' || t.at(i) == u'.'))
        ++i;
    return i >= 2 && i < t.size() && t.at(i) == u':';
}

QUrl SafeLinkUrl(const QString &link)
{
    QString t = link.trimmed();
    if (t.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        t = QStringLiteral("http://") + t;
    const QUrl url(t, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    const bool web = (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
    const bool mail = scheme == QLatin1String("mailto") && !url.path().isEmpty();
    return url.isValid() && (web || mail) ? url : QUrl();
}

QVariant ResourceLinkName(const QVariant &v)
{
    if (IsBlank(v))
        return v;
    const QString link = v.toString().trimmed();
    // An address, or what was meant as one ("http.//...", "http//..."):
    // never cut, it would leave its last piece alone.
    if (IsResourceAddress(link) || link.indexOf(QLatin1String("//"), 1) > 0)
        return link;
    const qsizetype cut = qMax(link.lastIndexOf(u'/'), link.lastIndexOf(u'\\'));
    return cut >= 0 ? link.mid(cut + 1) : link;
}

QString LikePattern(const QString &typed, bool contains)
{
    QString out;
    for (const QChar c : typed.trimmed()) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c == u'*' ? u'%' : c;
    }
    return contains ? u'%' + out + u'%' : out;
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    const bool an = a.isNull() || !a.isValid();
    const bool bn = b.isNull() || !b.isValid();
    if (an || bn)
        return an == bn;
    if (a.typeId() == b.typeId())
        return a == b;
    bool ok1 = false, ok2 = false;
    const double x = a.toDouble(&ok1), y = b.toDouble(&ok2);
    if (ok1 && ok2 && a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString)
        return x == y;
    if (a.typeId() == QMetaType::QDate || b.typeId() == QMetaType::QDate)
        return a.toDate() == b.toDate();
    if (a.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDateTime)
        return a.toDateTime() == b.toDateTime();
    return a.toString() == b.toString();
}

} // namespace folian
