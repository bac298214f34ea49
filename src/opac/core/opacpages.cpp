#include "opac/core/opacpages.h"

#include "opac/core/opactexts.h"
#include "reports/core/htmlpage.h"

namespace folian::opac {

namespace {

QString esc(const QString &s) { return htmlEscape(s); }
QString w(const char16_t *word) { return text(word); }
QString lang(bool arabic) { return arabic ? QStringLiteral("ar") : QStringLiteral("fr"); }

const char kStyle[] =
    "body{font-family:'Noto Sans','Noto Naskh Arabic','Amiri',sans-serif;margin:0;color:#1d2733;background:#f6f8fb}"
    "header{background:#23466e;color:#fff;padding:.8em 1.2em;display:flex;justify-content:space-between;"
    "align-items:center}header a{color:#fff;text-decoration:none}header .home{font-size:1.3em;font-weight:bold}"
    "main{max-width:60em;margin:0 auto;padding:1em 1.2em}"
    "form{display:grid;grid-template-columns:repeat(auto-fill,minmax(16em,1fr));gap:.6em 1em;background:#fff;"
    "padding:1em;border:1px solid #d5dde8;border-radius:6px}"
    "label{display:flex;flex-direction:column;font-size:.9em;color:#4a5a6d}"
    "input,select{font:inherit;padding:.35em;border:1px solid #b8c4d3;border-radius:4px;margin-top:.2em}"
    "button{font:inherit;padding:.45em 1.4em;background:#23466e;color:#fff;border:0;border-radius:4px;"
    "align-self:end;justify-self:start}"
    ".count{color:#4a5a6d}ol.results{padding-inline-start:2em}ol.results li{margin:.8em 0}"
    "ol.results a{font-weight:bold;color:#1a4f8b}.meta{color:#4a5a6d;font-size:.92em}"
    ".state{font-size:.92em}.Available,.OnSite{color:#1c7a3a}.OnLoan,.InConsultation,.Reserved{color:#a0561b}"
    ".Unavailable,.NoCopy{color:#7a7f86}"
    "nav.pages{display:flex;gap:1.5em;margin:1em 0}nav.pages a{color:#1a4f8b}"
    ".isbd{background:#fff;border:1px solid #d5dde8;border-radius:6px;padding:.6em 1.2em}"
    "table{border-collapse:collapse;width:100%;background:#fff}th,td{border:1px solid #d5dde8;padding:.35em .6em;"
    "text-align:start}th{background:#e8eef6}.problem{background:#fff4f2;border:1px solid #e5b9b0;padding:1em;"
    "border-radius:6px}";

QString href(const QString &base, const QString &path, const QString &query)
{
    QString target = base + path;
    if (target.isEmpty())
        target = QStringLiteral("/");
    return esc(query.isEmpty() ? target : target + u'?' + query);
}

QString homeHref(const QString &base, bool arabic)
{
    return href(base, QString(), QStringLiteral("lang=") + lang(arabic));
}

// The whole document around `body`; `otherLanguage` is the same page in the other language.
QString document(const QString &base, const QString &title, const QString &body, const QString &otherLanguage,
                 bool arabic)
{
    const Words &x = words(arabic);
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"") + w(x.language) + QStringLiteral("\" dir=\"")
        + w(x.direction)
        + QStringLiteral("\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" content=\"width=device-width, "
                         "initial-scale=1\"><title>")
        + esc(title) + QStringLiteral("</title><style>") + QLatin1String(kStyle)
        + QStringLiteral("</style></head><body><header><a class=\"home\" href=\"") + homeHref(base, arabic)
        + QStringLiteral("\">") + w(x.catalogue) + QStringLiteral("</a><a class=\"lang\" lang=\"")
        + w(x.otherLanguageCode) + QStringLiteral("\" href=\"") + otherLanguage + QStringLiteral("\">")
        + w(x.otherLanguage) + QStringLiteral("</a></header><main>") + body
        + QStringLiteral("</main></body></html>\n");
    return html;
}

QString field(const char *name, const char16_t *caption, const QString &value)
{
    return QStringLiteral("<label>") + w(caption) + QStringLiteral("<input type=\"search\" name=\"")
        + QLatin1String(name) + QStringLiteral("\" maxlength=\"%1\" value=\"").arg(kMaxCriterion) + esc(value)
        + QStringLiteral("\"></label>");
}

QString select(const char *name, const char16_t *caption, const char16_t *any, const QList<Choice> &choices,
               const QString &chosen)
{
    QString html = QStringLiteral("<label>") + w(caption) + QStringLiteral("<select name=\"") + QLatin1String(name)
        + QStringLiteral("\"><option value=\"\">") + w(any) + QStringLiteral("</option>");
    for (const Choice &c : choices)
        html += QStringLiteral("<option value=\"") + esc(c.first) + u'"'
            + (c.first.compare(chosen, Qt::CaseInsensitive) == 0 ? QStringLiteral(" selected") : QString())
            + u'>' + esc(c.second) + QStringLiteral("</option>");
    return html + QStringLiteral("</select></label>");
}

QString form(const QString &base, const Criteria &c, const Choices &choices, bool arabic)
{
    const Words &x = words(arabic);
    return QStringLiteral("<form method=\"get\" role=\"search\" action=\"") + href(base, QStringLiteral("/search"), {})
        + QStringLiteral("\"><input type=\"hidden\" name=\"lang\" value=\"") + lang(arabic) + QStringLiteral("\">")
        + field("title", x.title, c.title) + field("author", x.author, c.author)
        + field("subject", x.subject, c.subject) + field("number", x.number, c.number)
        + select("type", x.type, x.anyType, choices.types, c.type)
        + select("language", x.language_, x.anyLanguage, choices.languages, c.language)
        + QStringLiteral("<button type=\"submit\">") + w(x.search) + QStringLiteral("</button></form>");
}

QString stateClass(Availability a)
{
    switch (a) {
    case Availability::Available: return QStringLiteral("Available");
    case Availability::OnSite: return QStringLiteral("OnSite");
    case Availability::OnLoan: return QStringLiteral("OnLoan");
    case Availability::InConsultation: return QStringLiteral("InConsultation");
    case Availability::Reserved: return QStringLiteral("Reserved");
    case Availability::Unavailable: return QStringLiteral("Unavailable");
    case Availability::NoCopy: return QStringLiteral("NoCopy");
    }
    return {};
}

QString resultList(const QString &base, const Criteria &c, const Results &r, bool arabic)
{
    const Words &x = words(arabic);
    if (r.count == 0)
        return QStringLiteral("<p class=\"count\">") + w(x.noResult) + QStringLiteral("</p>");
    QString html = QStringLiteral("<p class=\"count\">") + esc(foundCount(r.count, arabic, r.more)) + QStringLiteral(" — ")
        + esc(pageOf(r.page, r.pages, arabic, r.more)) + QStringLiteral("</p><ol class=\"results\" start=\"%1\">")
                                                     .arg((r.page - 1) * kPageSize + 1);
    for (const Hit &h : r.hits) {
        QStringList meta;
        for (const QString *part : {&h.author, &h.year, &h.type})
            if (!part->isEmpty())
                meta << esc(*part);
        html += QStringLiteral("<li><a dir=\"auto\" href=\"")
            + href(base, QStringLiteral("/record/%1").arg(h.id), QStringLiteral("lang=") + lang(arabic))
            + QStringLiteral("\">") + esc(h.title) + QStringLiteral("</a><div class=\"meta\" dir=\"auto\">")
            + meta.join(QStringLiteral(" · ")) + QStringLiteral("</div><div class=\"state ")
            + stateClass(h.availability.kind) + QStringLiteral("\">")
            + esc(availabilityText(h.availability.kind, h.availability.due, {}, arabic))
            + QStringLiteral("</div></li>");
    }
    html += QStringLiteral("</ol><nav class=\"pages\">");
    if (r.page > 1)
        html += QStringLiteral("<a rel=\"prev\" href=\"") + href(base, QStringLiteral("/search"), searchQuery(c, arabic, r.page - 1))
            + QStringLiteral("\">") + w(x.previous) + QStringLiteral("</a>");
    if (r.page < r.pages)
        html += QStringLiteral("<a rel=\"next\" href=\"") + href(base, QStringLiteral("/search"), searchQuery(c, arabic, r.page + 1))
            + QStringLiteral("\">") + w(x.next) + QStringLiteral("</a>");
    return html + QStringLiteral("</nav>");
}

} // namespace

QString searchPage(const QString &base, const Criteria &c, const Choices &choices, const Results *results, bool arabic,
                   bool askCriterion)
{
    const Words &x = words(arabic);
    QString body = form(base, c, choices, arabic);
    if (results)
        body += resultList(base, c, *results, arabic);
    else if (askCriterion)
        body += QStringLiteral("<p class=\"count\">") + w(x.typeSomething) + QStringLiteral("</p>");
    const QString other = results ? href(base, QStringLiteral("/search"), searchQuery(c, !arabic, results->page))
                                  : homeHref(base, !arabic);
    return document(base, w(x.catalogue), body, other, arabic);
}

QString recordPage(const QString &base, int id, const RecordView &record, bool arabic)
{
    const Words &x = words(arabic);
    QString body = QStringLiteral("<p><a href=\"") + homeHref(base, arabic) + QStringLiteral("\">") + w(x.newSearch)
        + QStringLiteral("</a></p><article class=\"isbd\" dir=\"")
        // The card reads in the record's language, whatever the page's.
        + (record.arabicRecord ? QStringLiteral("rtl") : QStringLiteral("ltr")) + QStringLiteral("\">") + record.isbd + QStringLiteral("</article><h2>") + w(x.copies) + QStringLiteral("</h2>");
    if (record.copies.isEmpty()) {
        body += QStringLiteral("<p>") + w(x.noCopy) + QStringLiteral("</p>");
    } else {
        body += QStringLiteral("<table><thead><tr>");
        for (const char16_t *h : {x.copyNumber, x.shelfMark, x.location, x.status, x.dueDate})
            body += QStringLiteral("<th>") + w(h) + QStringLiteral("</th>");
        body += QStringLiteral("</tr></thead><tbody>");
        for (const CopyLine &c : record.copies) {
            body += QStringLiteral("<tr>");
            for (const QString &cell : {c.number, c.shelfMark, c.location, c.state,
                                        c.due.isValid() ? shownDate(c.due) : QString()})
                body += QStringLiteral("<td dir=\"auto\">") + esc(cell) + QStringLiteral("</td>");
            body += QStringLiteral("</tr>");
        }
        body += QStringLiteral("</tbody></table>");
    }
    const QString other = href(base, QStringLiteral("/record/%1").arg(id), QStringLiteral("lang=") + lang(!arabic));
    return document(base, record.title.isEmpty() ? w(x.catalogue) : record.title, body, other, arabic);
}

QString problemPage(const QString &base, int status, const QString &message, bool arabic)
{
    const Words &x = words(arabic);
    const QString heading = status == 404 ? w(x.notFound) : status == 400 || status == 405 ? w(x.badRequest) : w(x.catalogue);
    const QString body = QStringLiteral("<div class=\"problem\"><h1>") + esc(heading) + QStringLiteral("</h1><p>")
        + esc(message) + QStringLiteral("</p><p><a href=\"") + homeHref(base, arabic) + QStringLiteral("\">")
        + w(x.backToSearch) + QStringLiteral("</a></p></div>");
    return document(base, heading, body, homeHref(base, !arabic), arabic);
}

QList<QPair<QByteArray, QByteArray>> pageHeaders()
{
    return {{"Content-Type", "text/html; charset=utf-8"},
            {"Content-Security-Policy",
             "default-src 'none'; style-src 'unsafe-inline'; img-src 'self'; form-action 'self'; base-uri 'none'; "
             "frame-ancestors 'self'"},
            {"X-Content-Type-Options", "nosniff"},
            {"Referrer-Policy", "same-origin"},
            {"Cache-Control", "no-cache"}};
}

bool readsCatalogue(const Request &request)
{
    return request.page == Page::Home || request.page == Page::Search || request.page == Page::Record;
}

Response answer(Catalogue *catalogue, const Request &request, const QString &base, QString *failure)
{
    Response r;
    r.headers = pageHeaders();
    r.status = request.status();
    const bool arabic = request.arabic;
    auto page = [&r](const QString &html) { r.body = html.toUtf8(); };
    auto unavailable = [&](const QString &why) {
        if (failure)
            *failure = why;
        r.status = 503;
        page(problemPage(base, 503, w(words(arabic).unavailable), arabic));
    };
    QString why;
    if (readsCatalogue(request) && !catalogue) {
        unavailable(QStringLiteral("no connection to the database"));
        return r;
    }
    switch (request.page) {
    case Page::Root:
        r.headers << QPair<QByteArray, QByteArray>{"Location", (base + QStringLiteral("?lang=") + lang(arabic)).toUtf8()};
        page(problemPage(base, 302, w(words(arabic).catalogue), arabic));
        return r;
    case Page::NotFound:
        page(problemPage(base, 404, w(words(arabic).notFound), arabic));
        return r;
    case Page::Refused:
        page(problemPage(base, 400, request.refusal, arabic));
        return r;
    case Page::Home:
    case Page::Search: {
        Choices choices;
        if (catalogue->choices(arabic, &choices, &why) != Outcome::Done) {
            unavailable(why);
            return r;
        }
        if (request.page == Page::Home || request.criteria.isEmpty()) {
            page(searchPage(base, request.criteria, choices, nullptr, arabic, request.page == Page::Search));
            return r;
        }
        Results results;
        switch (catalogue->search(request.criteria, request.pageNumber, arabic, &results, &why)) {
        case Outcome::Done: page(searchPage(base, request.criteria, choices, &results, arabic)); return r;
        case Outcome::OutOfRange:
            r.status = 400;
            page(problemPage(base, 400, badPage(arabic), arabic));
            return r;
        default: unavailable(why); return r;
        }
    }
    case Page::Record: {
        RecordView view;
        switch (catalogue->record(request.record, arabic, &view, &why)) {
        case Outcome::Done: page(recordPage(base, request.record, view, arabic)); return r;
        case Outcome::NotFound:
            r.status = 404;
            page(problemPage(base, 404, w(words(arabic).notFound), arabic));
            return r;
        default: unavailable(why); return r;
        }
    }
    }
    return r;
}

} // namespace folian::opac
