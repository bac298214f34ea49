#include "base/manpage.h"

#include "base/version.h"

namespace folian {

namespace {

// The characters of `text` as groff reads them, ASCII only.
QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
            ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
            : text.at(i).unicode();
        if (c > 0xffff)
            ++i;
        if (c == u'\\')
            out += QStringLiteral("\\e");
        else if (c == u'-')
            out += QStringLiteral("\\-");
        else if (c < 0x80)
            out += QChar(c);
        else
            out += QStringLiteral("\\[u%1]").arg(QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'));
    }
    return out;
}

bool isPlaceholder(const QString &word)
{
    bool letter = false;
    for (const QChar c : word) {
        if (c.isLetter()) {
            if (!c.isUpper())
                return false;
            letter = true;
        } else if (!c.isDigit() && c != u'_') {
            return false;
        }
    }
    return letter;
}

// One word of a synopsis, in its font.
QString synopsisWord(const QString &word)
{
    if (word == QLatin1String("..."))
        return word;
    return (isPlaceholder(word) ? QStringLiteral("\\fI") : QStringLiteral("\\fB")) + escaped(word)
        + QStringLiteral("\\fR");
}

// Lines of text, each safe at the start of a line.
QString textLines(const QString &text)
{
    QStringList out;
    for (const QString &line : text.split(u'\n'))
        out << roffText(line.trimmed());
    return out.join(u'\n');
}

void addEntryText(QString &out, const QString &text)
{
    const QStringList paragraphs = text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            out += QStringLiteral(".IP\n");
        out += textLines(paragraphs.at(i)) + u'\n';
    }
}

} // namespace

QString roffText(const QString &text)
{
    QString out = escaped(text);
    // A line that starts with a dot or a quote would be read as a request.
    if (out.startsWith(u'.') || out.startsWith(u'\''))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

QString roffSynopsis(const QString &synopsis)
{
    QString out, word;
    const auto flush = [&] {
        if (!word.isEmpty())
            out += synopsisWord(word);
        word.clear();
    };
    for (const QChar c : synopsis) {
        if (c == u' ' || c == u'[' || c == u']' || c == u'|' || c == u'(' || c == u')') {
            flush();
            out += c;
        } else {
            word += c;
        }
    }
    flush();
    if (out.startsWith(u'.') || out.startsWith(u'\''))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

ManPage ManPage::ofRelease(const QString &name, int section, const QString &summary)
{
    ManPage page;
    page.name = name;
    page.section = section;
    page.summary = summary;
    page.version = QStringLiteral("Folian ") + QLatin1String(kVersion);
    page.date = QLatin1String(kReleaseDate);
    return page;
}

QString manPageText(const ManPage &page)
{
    QString out;
    out += QStringLiteral(".\\\" Made by the build from the program's own tables; do not edit.\n");
    out += QStringLiteral(".TH %1 %2 \"%3\" \"%4\"\n")
               .arg(roffText(page.name.toUpper()), QString::number(page.section), roffText(page.date),
                    roffText(page.version));
    out += QStringLiteral(".nh\n");  // option and file names are not hyphenated
    out += QStringLiteral(".SH NAME\n") + roffText(page.name) + QStringLiteral(" \\- ") + roffText(page.summary)
        + u'\n';
    if (!page.synopsis.isEmpty()) {
        out += QStringLiteral(".SH SYNOPSIS\n.nf\n");
        for (const QString &line : page.synopsis)
            out += roffSynopsis(line) + u'\n';
        out += QStringLiteral(".fi\n");
    }
    for (const ManPage::Section &s : page.sections) {
        out += QStringLiteral(".SH ") + roffText(s.heading.toUpper()) + u'\n';
        for (qsizetype i = 0; i < s.paragraphs.size(); ++i) {
            if (i > 0)
                out += QStringLiteral(".PP\n");
            out += textLines(s.paragraphs.at(i)) + u'\n';
        }
        for (const ManPage::Entry &e : s.entries) {
            out += QStringLiteral(".TP\n") + roffSynopsis(e.term) + u'\n';
            addEntryText(out, e.text);
        }
    }
    return out;
}

} // namespace folian
