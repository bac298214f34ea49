#include "catalogue/unimarc/importmap.h"

#include "catalogue/unimarc/textjoin.h"

#include "base/messages.h"
#include "catalogue/core/codes.h"
#include "data/core/helpers.h"

#include <cstring>

namespace folian::unimarc {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The first value of `code` that is not empty, trimmed: an empty subfield
// is skipped, never taken for the whole field.
QString first(const Field &f, char code)
{
    for (const Subfield &s : f.subfields)
        if (s.code == code)
            if (const QString v = s.text().trimmed(); !v.isEmpty())
                return v;
    return QString();
}

bool has(const Field &f, char code) { return !first(f, code).isEmpty(); }

// A standard number as stored: without blanks, hyphens and full stops, its
// qualifier kept; the qualifier of $b (010, 011) when $a gives none.
QString number(const Field &f, bool qualified)
{
    QString n = NormaliseStandardNumber(first(f, 'a')).toString();
    if (const QString b = first(f, 'b'); qualified && !n.isEmpty() && !b.isEmpty() && StandardNumberQualifier(n).isEmpty())
        n += QStringLiteral(" (") + b + u')';
    return n;
}

// A field as the log shows it: "210 $aParis$cSeuil", at most a line.
QString fieldText(const Field &f)
{
    QString text = f.tagText() + u' ';
    if (f.isControl())
        text += f.controlText();
    for (const Subfield &s : f.subfields)
        text += u'$' + QChar::fromLatin1(s.code) + s.text();
    constexpr qsizetype kShown = 120;
    return text.size() > kShown ? text.left(kShown) + QStringLiteral("...") : text;
}

// Does the field hold any value?
bool holdsValue(const Field &f)
{
    if (f.isControl())
        return !f.controlText().trimmed().isEmpty();
    for (const Subfield &s : f.subfields)
        if (!s.text().trimmed().isEmpty())
            return true;
    return false;
}

int tagNumber(const Field &f)
{
    bool ok = false;
    const int n = f.tagText().toInt(&ok);
    return ok ? n : -1;
}


// The values of every `code` subfield, trimmed, empty ones dropped.
QStringList valuesOf(const Field &f, char code)
{
    QStringList out;
    for (const Subfield &s : f.subfields)
        if (s.code == code)
            if (const QString v = s.text().trimmed(); !v.isEmpty())
                out << v;
    return out;
}

// A place or publisher list of field 210: two or more subfields are two
// names; one subfield holding a comma is cut at the first comma.
std::pair<QString, QString> firstAndSecond(const QStringList &values)
{
    if (values.isEmpty())
        return {};
    if (values.size() > 1)
        return {values.first(), values.mid(1).join(QStringLiteral(", "))};
    const QString &v = values.first();
    const qsizetype comma = v.indexOf(u',');
    if (comma < 0)
        return {v, QString()};
    return {v.left(comma).trimmed(), v.mid(comma + 1).trimmed()};
}

struct TypeName {
    const char16_t *name;
    const char *type;
};

// Document type named in 315 $a, empty when the text names none.
QString typeByName(const QString &text)
{
    static const TypeName names[] = {
        {u"Monographie", "a"}, {u"كتاب", "a"},  {u"Publication en serie", "b"}, {u"Publication en série", "b"},
        {u"دورية", "b"},       {u"These", "c"}, {u"Thèse", "c"},                 {u"أطروحة", "c"},
        {u"Article", "d"},     {u"مقالة", "d"},
    };
    for (const TypeName &n : names)
        if (text.compare(QString::fromUtf16(n.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(n.type);
    return {};
}

class Mapper
{
public:
    Mapper(const Record &record, const MappingContext &context) : record_(record), context_(context) {}

    MappedRecord run()
    {
        const QByteArray &leader = record_.leader;
        const char type = leader.size() > 6 ? leader.at(6) : ' ';
        const char level = leader.size() > 7 ? leader.at(7) : ' ';
        out_.typeId = documentTypeOfLeader(type, level);
        if (isRecordType(type))
            out_.indication = QString(QLatin1Char(type));
        hasPublication_ = record_.field("210") != nullptr;
        for (const Field &f : record_.fields)
            apply(f);
        if (!seen_.contains(QStringLiteral("4xx")) && !set_.isEmpty())
            setLink(set_);
        out_.sourceId = sourceId();
        return std::move(out_);
    }

private:
    // The first occurrence of a field the record holds once (the fields of
    // `group` fill the same columns): true. A later one is left out and said.
    bool once(const Field &f, const QString &group)
    {
        if (!holdsValue(f))
            return false;
        if (!seen_.contains(group)) {
            seen_.insert(group);
            return true;
        }
        leaveOut(f);
        return false;
    }
    void leaveOut(const Field &f)
    {
        out_.remarks << tr2(QStringLiteral("champ répété non repris : %1"), QStringLiteral("حقل مكرر لم يؤخذ: %1")).arg(fieldText(f));
    }

    // The identifier of the record in the system it comes from.
    QString sourceId() const
    {
        if (const Field *f = record_.field("001"); f && !f->controlText().trimmed().isEmpty())
            return f->controlText().trimmed();
        for (const Field *f : record_.fieldsWithTag("035"))
            if (const QString a = first(*f, 'a'); !a.isEmpty())
                return a;
        return QString();
    }

    void set(const char *column, const QString &value) { out_.columns.insert(QLatin1String(column), value); }
    void appendColumn(const char *column, const QString &separator, const QString &value)
    {
        QString v = out_.column(QLatin1String(column));
        joinText(v, separator, value);
        set(column, v);
    }

    void titles(const Field &f)
    {
        set("DOC_TITRE_PROPRE", extract(f, {{'a', "; "}, {'c', ". "}}));
        set("DOC_TITRE_PARALLELE", extract(f, {{'d', " = "}}));
        set("DOC_TITRE_COMPLEMENT", extract(f, {{'e', " : "}}));
    }

    void publication(const Field &f)
    {
        const auto [place, place2] = firstAndSecond(valuesOf(f, 'a'));
        set("DOC_LIEU_EDITION", place);
        set("DOC_LIEU_EDITION2", place2);
        const auto [publisher, publisher2] = firstAndSecond(valuesOf(f, 'c'));
        out_.publisher = publisher;
        out_.publisher2 = publisher2;
        set("DOC_ANNEE", extract(f, {{'d', ""}}));
    }

    void thesis(const Field &f)
    {
        out_.typeId = QStringLiteral("c");
        const QString a = extract(f, {{'a', ""}});
        if (f.ind2 >= '1' && f.ind2 <= '4' && !once(f, QStringLiteral("328") + QLatin1Char(f.ind2)))
            return;
        switch (f.ind2) {
        case '1': out_.diploma = a; break;
        case '2': out_.speciality = a; break;
        case '3': set("DOC_LIEU_SOUTENANCE", a); break;
        case '4': set("DOC_ANNEE", a); break;
        case '5':
            out_.authors << MappedAuthor{a, QStringLiteral("340"), HeadingKind::CorporateBody, AuthorType::Secondary};
            break;
        case '6':
            out_.authors << MappedAuthor{a, QStringLiteral("727"), HeadingKind::PersonalName, AuthorType::Secondary};
            supervisor_ = int(out_.authors.size()) - 1;
            break;
        case '7':
            if (supervisor_ >= 0) {
                joinText(out_.authors[supervisor_].name, QStringLiteral(", "), a);
                supervisor_ = -1;
            }
            break;
        default: break;
        }
    }

    // The subfields of the field embedded after "$1" + `tag` (its tag and
    // indicators), up to the next $1; with a null tag, those of the linking
    // field itself: before the first $1 that names a field, or after a $1
    // that names none.
    static QList<Subfield> embedded(const Field &f, const char *tag)
    {
        QList<Subfield> out;
        bool inside = tag == nullptr;
        for (const Subfield &s : f.subfields) {
            if (s.code == '1') {
                const bool namesField = s.value.trimmed().size() >= 3;
                inside = tag ? s.value.startsWith(tag) : !namesField;
                continue;
            }
            if (inside)
                out << s;
        }
        return out;
    }
    static QString embeddedValue(const Field &f, const char *tag, char code)
    {
        const Field inner("000", ' ', ' ', embedded(f, tag));
        return extract(inner, {{code, "; "}});
    }

    void link(const Field &f, int tag)
    {
        // The parent's own fields embedded ($1 + tag) give its title, volume,
        // date and numbers; the linking field's subfields what they do not.
        // Some systems write the title in $a where $t belongs.
        auto either = [&](const char *inner, char code, char own) {
            const QString v = embeddedValue(f, inner, code);
            return v.isEmpty() ? embeddedValue(f, nullptr, own) : v;
        };
        QString title = either("200", 'a', 't');
        if (title.isEmpty())
            title = embeddedValue(f, nullptr, 'a');
        QString volume = embeddedValue(f, "215", 'a');
        if (volume.isEmpty())
            volume = either("200", 'v', 'v');
        const QString date = either("210", 'd', 'd');
        const QString isbn = either("010", 'a', 'y');
        const QString issn = either("011", 'a', 'x');
        if (title.isEmpty() && volume.isEmpty() && date.isEmpty() && isbn.isEmpty() && issn.isEmpty()) {
            // A link by the parent's identifier alone: nothing the record can show.
            out_.remarks << tr2(QStringLiteral("lien sans titre ni numéro non repris : %1"),
                                QStringLiteral("رابط بلا عنوان ولا رقم لم يؤخذ: %1"))
                                .arg(fieldText(f));
            return;
        }
        const QStringList values{QString::number(tag), title, volume, date, isbn, issn};
        if (tag == 461) {
            // The set has columns of its own; it is the record's link only
            // when the record has no other.
            if (!once(f, QStringLiteral("461")))
                return;
            set("DOC_TITRE_ENSEMBLE", title);
            set("DOC_NUMERO_PARTIE", volume);
            set_ = values;
            return;
        }
        if (once(f, QStringLiteral("4xx")))
            setLink(values);
    }

    void setLink(const QStringList &values)
    {
        int i = 0;
        for (const char *column : {"REL_ID", "REL_TITRE", "REL_VOLUME", "REL_DATE_PUB", "REL_ISBN", "REL_ISSN"})
            set(column, values.at(i++));
    }

    void subjects(const Field &f, int kind)
    {
        const QString joined = extract(f, {{'a', ";"}, {'x', " : "}, {'y', " : "}, {'z', " : "}});
        for (const QString &piece : joined.split(u';')) {
            const QString name = piece.trimmed();
            if (!name.isEmpty())
                out_.subjects << MappedSubject{name, kind};
        }
    }

    void author(const Field &f, int tag)
    {
        const int kind = HeadingKind::kindOfTag(tag);
        // The parts of the name without the punctuation some systems carry
        // in them ($aMazzucato$b, Mariana), so that a heading is the same
        // whichever way the name came.
        QString name;
        for (const Subfield &s : f.subfields)
            if (s.code == 'a' || s.code == 'b')
                joinText(name, s.code == 'a' ? "; " : ", ", namePart(s.text()));
        if (name.isEmpty() || kind == 0)
            return;
        const int type = tag % 10 == 1 ? AuthorType::CoAuthor
            : tag % 10 == 2            ? AuthorType::Secondary
                                       : AuthorType::Principal;
        out_.authors << MappedAuthor{name, first(f, '4'), kind, type};
        if (tag == 700 && out_.firstMainAuthor.isEmpty())
            out_.firstMainAuthor = name;
    }

    void resource(const Field &f)
    {
        // Every address of the resource ($u), joined; $a when there is none.
        MappedResource r{extract(f, {{'x', "; "}}), extract(f, {{'u', ";  "}})};
        if (r.link.isEmpty())
            r.link = extract(f, {{'a', ";  "}});
        if (!r.link.isEmpty() || !r.type.isEmpty())
            out_.resources << r;
    }

    void copy(const Field &f)
    {
        qsizetype length = 0;
        for (const Subfield &s : f.subfields)
            length += 2 + s.text().size();
        if (has(f, 'a') && length < 30 && context_.classification == 3) {
            index(first(f, 'a'));
            return;
        }
        if (!has(f, 'f'))
            return;
        MappedCopy c;
        c.id = first(f, 'f');
        c.inventory = first(f, 'i');
        c.shelfMark = first(f, 'k');
        c.location = first(f, 'l');
        c.remark = extract(f, {{'u', "; "}});
        bool ok = false;
        if (const int s = first(f, 's').toInt(&ok); ok && context_.supports.contains(s))
            c.support = s;
        if (!has(f, 't'))
            c.status = CopyStatus::Available;
        else if (const int t = first(f, 't').toInt(&ok); ok && context_.copyStatuses.contains(t))
            c.status = t;
        out_.copies << c;
    }

    void index(const QString &value)
    {
        if (!value.isEmpty())
            out_.indices << value;
    }

    void apply(const Field &f)
    {
        const int tag = tagNumber(f);
        if (tag < 0 || f.isControl())
            return;
        // Fields of one text column, held once.
        static const struct {
            int tag;
            const char *column;
        } oneText[] = {{206, "DOC_MATHEMATIQUE"}, {207, "DOC_NUMEROTATION"}, {208, "DOC_MUSIQUE"}, {230, "DOC_RESSOURCE"}};
        for (const auto &t : oneText) {
            if (t.tag != tag)
                continue;
            if (once(f, f.tagText()))
                set(t.column, extract(f, {{'a', "; "}}));
            return;
        }
        switch (tag) {
        case 10:
            if (once(f, QStringLiteral("010")))
                set("DOC_ISBN", number(f, true));
            return;
        case 11:
            if (once(f, QStringLiteral("011")))
                set("DOC_ISSN", number(f, true));
            return;
        case 13: case 14: case 15: case 16: case 17: case 18:
            if (once(f, QStringLiteral("013")))
                set("DOC_NUM", number(f, false));
            return;
        case 101:
            if (once(f, QStringLiteral("101"))) {
                out_.language = first(f, 'a');
                out_.originalLanguage = first(f, 'c');
            }
            return;
        case 110:
            if (const QString a = first(f, 'a'); a.size() >= 2 && once(f, QStringLiteral("110")))
                out_.periodicity = a.mid(1, 1).trimmed();
            return;
        case 200:
            if (once(f, QStringLiteral("200")))
                titles(f);
            return;
        case 530:
            if (out_.title().isEmpty())
                titles(f);
            return;
        case 205:
            if (once(f, QStringLiteral("205")))
                set("DOC_EDITION", extract(f, {{'a', ""}, {'b', ", "}, {'d', " = "}, {'f', " / "}, {'g', "; "}}));
            return;
        case 210:
            if (once(f, QStringLiteral("210")))
                publication(f);
            return;
        case 214:
            if (!hasPublication_ && once(f, QStringLiteral("210")))
                publication(f);
            else if (hasPublication_ && holdsValue(f))
                leaveOut(f);
            return;
        case 215:
            if (once(f, QStringLiteral("215"))) {
                set("DOC_NBR_UNITE", extract(f, {{'a', ""}}));
                set("DOC_ILLUSTRATION", extract(f, {{'c', ""}}));
                set("DOC_FORMAT", extract(f, {{'d', ""}}));
                set("DOC_MATERIEL", extract(f, {{'e', ""}}));
            }
            return;
        case 225:
            if (once(f, QStringLiteral("225"))) {
                out_.collection = MappedCollection{extract(f, {{'a', ""}}), extract(f, {{'d', ""}}), extract(f, {{'e', ""}}),
                                                   extract(f, {{'f', ""}}), first(f, 'x')};
                set("COL_NUMERO", extract(f, {{'v', ""}}));
                out_.subCollection = extract(f, {{'i', ""}});
                set("SCL_NUMERO", extract(f, {{'h', ""}}));
            }
            return;
        case 300: appendColumn("DOC_NOTE", kCrLf, extract(f, {{'a', "; "}})); return;
        case 315:
            if (const QString t = typeByName(first(f, 'a')); !t.isEmpty())
                out_.typeId = t;
            return;
        case 328: thesis(f); return;
        case 330: appendColumn("DOC_RESUME", kCrLf, extract(f, {{'a', "; "}})); return;
        case 675: case 676: case 686:
            if ((tag == 675 && context_.classification == 1) || (tag == 676 && context_.classification == 2)
                || (tag == 686 && context_.classification == 3))
                index(first(f, 'a'));
            return;
        case 801:
            if (once(f, QStringLiteral("801"))) {
                out_.country = first(f, 'a');
                set("DOC_AGENCE", extract(f, {{'b', ""}}));
            }
            return;
        case 856: resource(f); return;
        case 901:
            if (const QString a = first(f, 'a'); !a.isEmpty() && context_.documentTypes.contains(a.at(0)))
                out_.typeId = a.left(1);
            return;
        case 920: case 930: appendColumn("DOC_NUMEROTATION", QStringLiteral("; "), extract(f, {{'a', "; "}})); return;
        case 985: {
            MappedIssue i{extract(f, {{'a', ""}}), extract(f, {{'d', ""}}), extract(f, {{'t', ""}})};
            if (!i.number.isEmpty() || !i.date.isEmpty() || !i.title.isEmpty())
                out_.issues << i;
            return;
        }
        case 990:
            if (const QString a = first(f, 'a'); !a.isEmpty())
                out_.shelfNumbers << a;
            return;
        case 995: copy(f); return;
        case 999: {
            QString digits;
            for (const QChar c : first(f, 'a'))
                if (c >= u'0' && c <= u'9')
                    digits += c;
            if (!digits.isEmpty() && once(f, QStringLiteral("999"))) {
                set("DOC_NBR_EXEMPLAIRE", digits);
                out_.numberOfCopiesSet = true;
            }
            return;
        }
        default: break;
        }
        if (tag >= 400 && tag < 500) {
            if (context_.relations.contains(tag))
                link(f, tag);
        } else if (tag >= 600 && tag < 700) {
            if (const int kind = HeadingKind::kindOfTag(tag); kind > 0 && HeadingKind::subjectTag(kind) == tag)
                subjects(f, kind);
        } else if (tag >= 700 && tag < 800) {
            if (HeadingKind::authorTags(HeadingKind::kindOfTag(tag)).contains(tag))
                author(f, tag);
        }
    }

    const Record &record_;
    const MappingContext &context_;
    MappedRecord out_;
    int supervisor_ = -1;
    bool hasPublication_ = false;
    QSet<QString> seen_;  // the groups of fields held once that were taken
    QStringList set_;     // the link of a 461: tag, title, volume, date, ISBN, ISSN
};

} // namespace

bool isRecordType(char c) { return c != 0 && std::strchr("abcdefgijklmr", c); }

QString documentTypeOfLeader(char recordType, char level)
{
    if (level == 'm')
        return QStringLiteral("a");
    if (level == 's')
        return QStringLiteral("b");
    switch (recordType) {
    case 'a': case 'b': return QStringLiteral("a");
    case 'c': case 'd': case 'g': case 'i': case 'j': return QStringLiteral("e");
    case 'e': case 'f': return QStringLiteral("f");
    case 'l': return QStringLiteral("g");
    default: return QStringLiteral("x");
    }
}

QString extract(const Field &field, std::initializer_list<Wanted> wanted)
{
    QString out;
    for (const Subfield &s : field.subfields) {
        for (const Wanted &w : wanted) {
            if (w.code != s.code)
                continue;
            const QString v = s.text().trimmed();
            if (!v.isEmpty())
                joinText(out, QString::fromUtf8(*w.separator ? w.separator : "; "), v);
            break;
        }
    }
    return out.trimmed();
}

QString namePart(const QString &value)
{
    // ISBD punctuation, and the blanks around it; a full stop ends
    // initials ("J.") and stays at the end, never at the start.
    static const QString ends = QStringLiteral(" ,;:/=");
    qsizetype from = 0, to = value.size();
    while (from < to && (ends.contains(value.at(from)) || value.at(from) == u'.' || value.at(from).isSpace()))
        ++from;
    while (to > from && (ends.contains(value.at(to - 1)) || value.at(to - 1).isSpace()))
        --to;
    return value.mid(from, to - from);
}

MappedRecord mapRecord(const Record &record, const MappingContext &context)
{
    return Mapper(record, context).run();
}

} // namespace folian::unimarc
