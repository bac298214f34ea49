#include "reports/core/htmlpage.h"

#include "base/cp1256.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QUrl>
#include <cctype>

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

QString htmlReferences(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const uint u : text.toUcs4()) {
        if (u < 0x80)
            out += QChar(char16_t(u));
        else
            out += QStringLiteral("&#") + QString::number(u) + u';';
    }
    return out;
}

QString htmlFileUrl(const QString &path)
{
    return htmlEscape(QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded(QUrl::FullyEncoded)));
}

QString htmlPageOpening(bool arabic)
{
    return QStringLiteral("<html%1><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                          "charset=windows-1256\"/></head><body>")
        .arg(arabic ? QStringLiteral(" dir=\"rtl\"") : QString());
}

bool writeHtmlPage(const QString &path, const QString &html)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeCp1256(html, true);
    return f.write(bytes) == bytes.size() && f.commit();
}

bool readHtmlPage(const QString &path, QString *html)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    // The declaration stands in the head, near the start.
    const QByteArray head = bytes.left(2048).toLower();
    const qsizetype at = head.indexOf("charset=");
    QByteArray charset;
    if (at >= 0) {
        qsizetype start = at + 8;
        if (start < head.size() && (head.at(start) == '"' || head.at(start) == '\''))
            ++start;
        qsizetype end = start;
        while (end < head.size() && (std::isalnum(static_cast<unsigned char>(head.at(end))) || head.at(end) == '-'
                                     || head.at(end) == '_'))
            ++end;
        charset = head.mid(start, end - start);
    }
    if (charset == "windows-1256" || charset == "cp1256") {
        *html = decodeCp1256(bytes);
    } else if (charset == "utf-8" || charset == "utf8") {
        QStringDecoder utf8(QStringDecoder::Utf8);
        *html = utf8(bytes);
    } else {
        *html = decodeText(bytes);
    }
    return true;
}

QString previewHtml(const QString &html)
{
    constexpr auto options =
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption;
    static const QRegularExpression rtl(QStringLiteral("<html\\b[^>]*\\bdir\\s*=\\s*[\"']?rtl"), options);
    if (!rtl.match(html).hasMatch())
        return html;
    static const QRegularExpression row(QStringLiteral("(<tr\\b[^>]*>)(.*?)(</tr>)"), options);
    static const QRegularExpression cell(QStringLiteral("<t[dh]\\b.*?</t[dh]>"), options);
    static const QRegularExpression table(QStringLiteral("<table\\b(?![^>]*\\balign\\s*=)"), options);
    QString out;
    out.reserve(html.size() + 64);
    qsizetype done = 0;
    for (auto rows = row.globalMatch(html); rows.hasNext();) {
        const QRegularExpressionMatch m = rows.next();
        QStringList cells;
        for (auto it = cell.globalMatch(m.captured(2)); it.hasNext();)
            cells.prepend(it.next().captured());
        out += QStringView(html).mid(done, m.capturedStart() - done);
        out += m.captured(1) + cells.join(QString()) + m.captured(3);
        done = m.capturedEnd();
    }
    out += QStringView(html).mid(done);
    return out.replace(table, QStringLiteral("<table align=\"right\""));
}

} // namespace folian
