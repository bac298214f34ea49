#include "catalogue/unimarc/isbd.h"

#include "base/outputdir.h"
#include "catalogue/core/codes.h"
#include "catalogue/unimarc/textjoin.h"
#include "reports/core/htmlpage.h"

namespace folian::unimarc {

namespace {

// The placeholders and labels of a card, in the language of the record.
struct Words {
    const char16_t *noPlace, *noPublisher, *secondPublisherWithoutPlace, *noDate, *others, *isbn, *issn, *otherNumber;
};
const Words kFrench{u"[s.l]", u" : [s.n]", u" : [s.l]", u"[s.d]", u"...[et all.]", u"ISBN", u"ISSN", u"Numéro normalisé"};
const Words kArabic{u"[د.م]", u" : [د.ن]", u" : [د.م]", u"[د.ت]", u"...[و آخرون]", u"ر.د.م.ك", u"ر.د.م.د", u"رقم معياري"};

QString w(const char16_t *text) { return QString::fromUtf16(text); }

void join(QString &text, const char *separator, const QString &part) { joinText(text, separator, part); }

// Ends an area: "." unless there is one, then " - "; nothing after an empty text.
void areaEnd(QString &text)
{
    if (text.isEmpty())
        return;
    if (!text.endsWith(u'.'))
        text += u'.';
    text += QStringLiteral(" - ");
}

// Forenames before the surname: "Dupont, Jean" is shown "Jean Dupont".
QString personalName(const QString &stored)
{
    qsizetype comma = stored.indexOf(u',');
    if (comma < 0)
        comma = stored.indexOf(u'\u060C');  // the Arabic comma
    if (comma < 0)
        return stored;
    const QString surname = stored.left(comma).trimmed();
    const QString forenames = stored.mid(comma + 1).trimmed();
    if (forenames.isEmpty())
        return surname;
    return forenames + u' ' + surname;
}


// Escaped text with its line ends as line breaks.
QString escapedLines(const QString &text)
{
    QString html = htmlEscape(text);
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    html.replace(u'\n', QStringLiteral("<br>"));
    return html;
}

class Card
{
public:
    explicit Card(const StoredRecord &r) : r_(r), arabic_(r.arabic()), words_(arabic_ ? kArabic : kFrench) {}

    Isbd format(IsbdLayout layout, bool withSubjects)
    {
        Isbd out;
        const QString titleArea = titleAndResponsibility();
        out.mainEntry = hasMainAuthor_ ? mainEntry_ : titleText_;
        out.title = titleWithoutDesignation_;

        QString body = titleArea;
        for (const QString &area : {htmlEscape(v("DOC_EDITION")), htmlEscape(material()), htmlEscape(publication()),
                                    htmlEscape(physical()), htmlEscape(series())}) {
            if (area.isEmpty())
                continue;
            areaEnd(body);
            body += area;
        }
        if (!body.isEmpty() && !body.endsWith(u'.'))
            body += u'.';

        QString second = notes();
        if (const QString numbers = htmlEscape(standardNumbers()); !numbers.isEmpty()) {
            areaEnd(second);
            second += numbers;
        }

        const QString calls = callNumbersHtml();
        QString &html = out.html;
        if (layout == IsbdLayout::Card && !calls.isEmpty())
            html += (arabic_ ? QStringLiteral("<p dir=rtl align=left>") : QStringLiteral("<p align=right>"))
                + QStringLiteral("<b>") + calls + QStringLiteral("</b></p>");
        html += arabic_ ? QStringLiteral("<p dir=\"rtl\">") : QStringLiteral("<p>");
        html += QStringLiteral("<code></code>");
        if (hasMainAuthor_)
            html += QStringLiteral("<b>") + htmlEscape(mainEntry_) + QStringLiteral("</b><br>");
        html += body + QStringLiteral("<br>");
        if (!second.isEmpty())
            html += second + QStringLiteral("<br>");
        if (const QString parent = parentRecord(); !parent.isEmpty())
            html += htmlEscape(parent) + QStringLiteral("<br>");
        if (withSubjects) {
            html += QStringLiteral("<br>");
            for (const StoredSubject &s : r_.subjects)
                html += htmlEscape(s.name) + QStringLiteral("<br>");
            if (const QString abstract = v("DOC_RESUME"); !abstract.isEmpty())
                html += QStringLiteral("<br>") + escapedLines(abstract) + QStringLiteral("<br>");
        }
        if (layout == IsbdLayout::Catalogue && !calls.isEmpty())
            html += QStringLiteral("<br><p align=center><b>") + calls + QStringLiteral("</b></p>");
        html += QStringLiteral("</p>");
        return out;
    }

private:
    QString v(const char *column) const { return r_.value(QLatin1String(column)); }

    // The title area with its statement of responsibility, as HTML.
    QString titleAndResponsibility()
    {
        QString head = v("DOC_TITRE_ENSEMBLE");
        join(head, ". ", v("DOC_NUMERO_PARTIE"));
        join(head, ", ", v("DOC_TITRE_PROPRE"));
        QString designation;
        if (!v("IND_ID").isEmpty())
            if (const QString label = r_.indication.in(arabic_); !label.isEmpty())
                designation = u'[' + label + u']';
        const QString complement = v("DOC_TITRE_COMPLEMENT"), parallel = v("DOC_TITRE_PARALLELE");
        titleText_ = head;
        join(titleText_, " ", designation);
        join(titleText_, " : ", complement);
        join(titleText_, " = ", parallel);
        titleWithoutDesignation_ = head;
        join(titleWithoutDesignation_, " : ", complement);
        join(titleWithoutDesignation_, " = ", parallel);

        QString statement;
        const qsizetype shown = qMin<qsizetype>(3, r_.authors.size());
        for (qsizetype i = 0; i < shown; ++i) {
            const StoredAuthor &a = r_.authors.at(i);
            const QString name = a.kind == HeadingKind::PersonalName ? personalName(a.name) : a.name;
            if (a.type == AuthorType::Principal && !hasMainAuthor_) {
                mainEntry_ = a.name;
                hasMainAuthor_ = true;
            }
            if (i > 0)
                statement += a.type == AuthorType::CoAuthor ? QStringLiteral(", ") : QStringLiteral("; ");
            if (!a.function.isEmpty()) {
                if (a.function == QLatin1String("340"))
                    thesisAuthor_ = name;
                if (const QString abbreviation = a.abbreviation.in(arabic_).trimmed(); !abbreviation.isEmpty())
                    statement += abbreviation + u' ';
            }
            statement += name;
        }
        if (r_.authors.size() > 3 && !statement.isEmpty())
            statement += (r_.authors.at(3).type == AuthorType::CoAuthor ? QStringLiteral(", ") : QStringLiteral("; "))
                + w(words_.others);
        if (statement.isEmpty())
            return QStringLiteral("<b>") + htmlEscape(titleText_) + QStringLiteral("</b>");
        return htmlEscape(titleText_) + QStringLiteral(" / ") + htmlEscape(statement);
    }

    QString material() const
    {
        QString area;
        QString numbering = v("DOC_NUMEROTATION");
        if (!numbering.isEmpty()) {
            if (numbering.endsWith(u'-'))
                numbering += QStringLiteral("    ");
            else if (!numbering.contains(u'-'))
                numbering += QStringLiteral("-    ");
            area = numbering;
        }
        for (const char *c : {"DOC_MUSIQUE", "DOC_MATHEMATIQUE", "DOC_RESSOURCE"}) {
            const QString part = v(c);
            if (part.isEmpty())
                continue;
            areaEnd(area);
            area += part;
        }
        return area;
    }

    QString publication() const
    {
        if (v("TYP_ID") == QLatin1String("d"))
            return {};  // an article is published in its parent
        const QString place = v("DOC_LIEU_EDITION"), place2 = v("DOC_LIEU_EDITION2");
        const QString publisher = r_.publisher.in(arabic_), publisher2 = r_.publisher2.in(arabic_);
        QString area = place.isEmpty() ? w(words_.noPlace) : place;
        area += publisher.isEmpty() ? w(words_.noPublisher) : QStringLiteral(" : ") + publisher;
        if (!place2.isEmpty() && place2 != place)
            area += QStringLiteral(" ; ") + place2;
        else if (place2.isEmpty() && !publisher2.isEmpty())
            area += w(words_.secondPublisherWithoutPlace);
        if (!publisher2.isEmpty())
            area += QStringLiteral(" : ") + publisher2;
        else if (!place2.isEmpty())
            area += w(words_.noPublisher);
        const QString year = v("DOC_ANNEE");
        return area + QStringLiteral(", ") + (year.isEmpty() ? w(words_.noDate) : year);
    }

    QString physical() const
    {
        QString area = v("DOC_NBR_UNITE");
        join(area, " : ", v("DOC_ILLUSTRATION"));
        join(area, " ; ", v("DOC_FORMAT"));
        join(area, " + ", v("DOC_MATERIEL"));
        return area;
    }

    // A collection or sub-collection of the series area: its titles,
    // responsibility, ISSN and the record's number in it.
    static QString seriesPart(const QVariantHash &row, const char *prefix, const QString &number)
    {
        auto col = [&](const char *name) { return rowValue(row, QByteArray(QByteArray(prefix) + name).constData()); };
        QString part = col("_TITRE_PROPRE");
        join(part, " : ", col("_TITRE_COMPLEMENT"));
        join(part, " = ", col("_TITRE_PARALLELE"));
        join(part, " / ", col("_RESPONSABILITE"));
        join(part, ", ", col("_ISSN"));
        join(part, " ; ", number);
        return part;
    }

    QString series() const
    {
        const bool collection = !r_.collection.isEmpty(), sub = !r_.subCollection.isEmpty();
        if (!collection && !sub)
            return {};
        QString area;
        if (collection)
            area = u'(' + seriesPart(r_.collection, "COL", v("COL_NUMERO"));
        if (sub)
            area += (collection ? QStringLiteral(". ") : QStringLiteral("(")) + seriesPart(r_.subCollection, "SCL", v("SCL_NUMERO"));
        return area + u')';
    }

    // The notes paragraph, as HTML.
    QString notes() const
    {
        QString html = htmlEscape(r_.periodicity.in(arabic_));
        join(html, ". - ", escapedLines(v("DOC_NOTE")));
        if (!v("DIP_ID").isEmpty() || !v("SPE_ID").isEmpty() || !v("DOC_LIEU_SOUTENANCE").isEmpty()) {
            QString thesis = r_.diploma.in(arabic_);
            join(thesis, " : ", r_.speciality.in(arabic_));
            join(thesis, " : ", v("DOC_LIEU_SOUTENANCE"));
            join(thesis, " : ", thesisAuthor_);
            join(thesis, " : ", v("DOC_ANNEE"));
            join(html, "<br>", htmlEscape(thesis));
        }
        return html;
    }

    QString standardNumbers() const
    {
        QString area;
        if (const QString isbn = v("DOC_ISBN"); !isbn.isEmpty())
            area = w(words_.isbn) + u' ' + isbn;
        if (const QString issn = v("DOC_ISSN"); !issn.isEmpty()) {
            QString part = w(words_.issn) + u' ' + issn;
            join(part, " = ", v("DOC_TITRE_PROPRE"));
            join(area, ". - ", part);
        }
        if (const QString other = v("DOC_NUM"); !other.isEmpty())
            join(area, ". - ", w(words_.otherNumber) + u' ' + other);
        return area;
    }

    QString parentRecord() const
    {
        if (v("REL_ID").isEmpty())
            return {};
        QString text = r_.relation.in(arabic_) + QStringLiteral(" : ") + v("REL_TITRE");
        join(text, ", ", v("REL_VOLUME"));
        join(text, ", ", v("REL_DATE_PUB"));
        if (const QString isbn = v("REL_ISBN"); !isbn.isEmpty())
            text += QStringLiteral(", ") + w(words_.isbn) + u' ' + isbn;
        else if (const QString issn = v("REL_ISSN"); !issn.isEmpty())
            text += QStringLiteral(", ") + w(words_.issn) + u' ' + issn;
        return text;
    }

    // At most two call numbers, each once.
    QStringList callNumbers() const
    {
        QStringList shown;
        QString list;
        for (const StoredCopy &c : r_.copies) {
            if (c.shelfMark.isEmpty() || list.contains(c.shelfMark))
                continue;
            join(list, ", ", c.shelfMark);
            shown << c.shelfMark;
            if (list.indexOf(u',', 3) >= 0)
                break;
        }
        return shown;
    }

    // The call numbers as HTML. On a right-to-left card each one is isolated
    // (first strong isolate), so that "892.7 MAH" keeps its parts in order
    // instead of being turned round by the paragraph's direction.
    QString callNumbersHtml() const
    {
        QStringList parts = callNumbers();
        for (QString &p : parts) {
            p = htmlEscape(p);
            if (arabic_)
                p = u'\u2068' + p + u'\u2069';
        }
        return parts.join(QStringLiteral(", "));
    }

    const StoredRecord &r_;
    const bool arabic_;
    const Words &words_;
    QString titleText_, titleWithoutDesignation_, mainEntry_, thesisAuthor_;
    bool hasMainAuthor_ = false;
};

} // namespace

Isbd formatIsbd(const StoredRecord &record, IsbdLayout layout, bool withSubjects)
{
    return Card(record).format(layout, withSubjects);
}

QString noticePage(const QString &fragment, bool rightToLeft)
{
    return htmlPageOpening(rightToLeft) + fragment + QStringLiteral("</body></html>");
}

QString writeNoticePage(const QString &fragment, bool rightToLeft)
{
    const QString path = reportPath(QStringLiteral("notice.html"));
    return writeHtmlPage(path, noticePage(fragment, rightToLeft)) ? path : QString();
}

} // namespace folian::unimarc
