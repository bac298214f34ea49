#include "reports/core/letter.h"

#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "reports/core/htmlpage.h"

#include <QDir>

namespace folian {

namespace {

// Captions in French carry their accented letters as numeric references.
QString caption(const QString &text)
{
    const QString escaped = htmlEscape(text);
    return session().ArabicMode ? escaped : htmlReferences(escaped);
}

QString withBreaks(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return htmlEscape(t).replace(u'\n', QStringLiteral("<br>"));
}

ReportResult failure(const QString &path)
{
    ReportResult r;
    r.message = tr2(QStringLiteral("Impossible d'écrire le fichier "), QStringLiteral("تعذرت كتابة الملف ")) + path;
    return r;
}

} // namespace

ReportResult writeLetter(Database &db, const Letter &letter)
{
    QString picture;
    if (!writeLetterhead(db, &picture, letter.directory))
        return failure(picture);
    QStringList lines;
    lines << htmlPageOpening(session().ArabicMode);
    if (!picture.isEmpty())
        lines << letterheadHtml(picture);
    lines << QStringLiteral("<table align=\"center\" border=\"1\" cellpadding=\"10\" cellspacing=\"0\"><tr><td>"
                            "<font size=\"5\"><b>")
                 + caption(letter.title) + QStringLiteral("</b></font></td></tr></table>");
    lines << QStringLiteral("<p>&nbsp;</p>");
    lines << QStringLiteral("<table border=\"0\" cellpadding=\"4\" cellspacing=\"0\">");
    for (const auto &f : letter.fields)
        lines << QStringLiteral("<tr><td><b>") + caption(f.first) + QStringLiteral("</b></td><td>")
                     + (f.second.isEmpty() ? QStringLiteral("&nbsp;") : htmlEscape(f.second)) + QStringLiteral("</td></tr>");
    lines << QStringLiteral("</table>");
    lines << QStringLiteral("<p>&nbsp;</p>");
    if (!letter.text.trimmed().isEmpty())
        lines << QStringLiteral("<p><b>") + withBreaks(letter.text) + QStringLiteral("</b></p>");
    for (const LetterSection &table : letter.tables) {
        lines << QStringLiteral("<p>&nbsp;</p>");
        if (!table.caption.isEmpty())
            lines << QStringLiteral("<p><b>") + caption(table.caption) + QStringLiteral("</b></p>");
        lines << QStringLiteral("<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">");
        lines << reportHeaderRow(table.columns);
        for (const QVariantList &row : table.rows)
            lines << reportBodyRow(table.columns, row);
        lines << QStringLiteral("</table>");
    }
    if (!letter.closing.isEmpty()) {
        lines << QStringLiteral("<p>&nbsp;</p>");
        lines << QStringLiteral("<p>") + caption(letter.closing) + QStringLiteral("</p>");
    }
    lines << QStringLiteral("</body></html>");

    ReportResult r;
    r.path = letter.directory.isEmpty() ? reportPath(letter.fileName) : QDir(letter.directory).filePath(letter.fileName);
    if (!writeHtmlPage(r.path, lines.join(u'\n') + u'\n'))
        return failure(r.path);
    r.status = ReportResult::Status::Written;
    r.rows = int(letter.fields.size());
    return r;
}

} // namespace folian
