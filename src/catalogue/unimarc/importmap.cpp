#include "catalogue/unimarc/importmap.h"

#include "catalogue/unimarc/textjoin.h"

#include "catalogue/core/codes.h"
#include "data/core/helpers.h"

#include <cstring>

namespace folian::unimarc {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString first(const Field &f, char code) { return f.value(code).trimmed(); }

// A standard number as stored: without blanks, hyphens and full stops.
QString number(const Field &f) { return NormaliseStandardNumber(first(f, 'a')).toString(); }

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
        if (type != 0 && std::strchr("abcdefgijklmr", type))
            out_.indication = QString(QLatin1Char(type));
        hasPublication_ = record_.field("210") != nullptr;
        for (const Field &f : record_.fields)
            apply(f);
        return std::move(out_);
    }

private:
    void set(const char *column, const QString &value) { out_.columns.insert(QLatin1String(column), value); }
    void setOnce(const char *column, const QString &value)
    {
        if (!value.isEmpty() && out_.column(QLatin1String(column)).isEmpty())
            set(column, value);
    }
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

    // The subfields of the field embedded after "$1" + `tag`, up to the next $1.
    static QList<Subfield> embedded(const Field &f, const char *tag)
    {
        QList<Subfield> out;
        bool inside = false;
        for (const Subfield &s : f.subfields) {
            if (s.code == '1') {
                inside = s.value.startsWith(tag);
                continue;
            }
            if (inside)
                out << s;
        }
        return out;
    }
    static QString embeddedValues(const Field &f, const char *tag, char code)
    {
        Field inner("000", ' ', ' ', embedded(f, tag));
        return extract(inner, {{code, "; "}});
    }

    void link(const Field &f, int tag)
    {
        set("REL_ID", QString::number(tag));
        // A field that embeds the parent's own fields ($1 + tag) gives its
        // title, volume and ISSN from them; otherwise from $t, $v, $d, $y, $x.
        QString title = embeddedValues(f, "200", 'a');
        QString volume = embeddedValues(f, "215", 'a');
        const QString issn = embeddedValues(f, "011", 'a');
        const bool embeds = !title.isEmpty() || !volume.isEmpty() || !issn.isEmpty();
        if (!embeds) {
            title = extract(f, {{'t', ""}});
            volume = extract(f, {{'v', ""}});
        }
        set("REL_TITRE", title);
        set("REL_VOLUME", volume);
        set("REL_DATE_PUB", embeds ? QString() : extract(f, {{'d', ""}}));
        set("REL_ISBN", embeds ? QString() : first(f, 'y'));
        set("REL_ISSN", embeds ? issn : first(f, 'x'));
        if (tag == 461) {
            set("DOC_TITRE_ENSEMBLE", title);
            set("DOC_NUMERO_PARTIE", volume);
        }
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
        const QString name = extract(f, {{'a', ""}, {'b', ", "}});
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
        MappedResource r{extract(f, {{'x', "; "}}), first(f, 'u')};
        if (r.link.isEmpty())
            r.link = first(f, 'a');
        if (!r.link.isEmpty() || !r.type.isEmpty())
            out_.resources << r;
    }

    void copy(const Field &f)
    {
        qsizetype length = 0;
        for (const Subfield &s : f.subfields)
            length += 2 + s.text().size();
        if (f.has('a') && length < 30 && context_.classification == 3) {
            index(first(f, 'a'));
            return;
        }
        if (!f.has('f'))
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
        if (!f.has('t'))
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
        switch (tag) {
        case 10: setOnce("DOC_ISBN", number(f)); return;
        case 11: setOnce("DOC_ISSN", number(f)); return;
        case 13: case 14: case 15: case 16: case 17: case 18: setOnce("DOC_NUM", number(f)); return;
        case 101:
            out_.language = first(f, 'a');
            out_.originalLanguage = first(f, 'c');
            return;
        case 110:
            if (const QString a = first(f, 'a'); a.size() >= 2)
                out_.periodicity = a.mid(1, 1).trimmed();
            return;
        case 200: titles(f); return;
        case 530:
            if (out_.title().isEmpty())
                titles(f);
            return;
        case 205: set("DOC_EDITION", extract(f, {{'a', ""}, {'b', ", "}, {'d', " = "}, {'f', " / "}, {'g', "; "}})); return;
        case 206: set("DOC_MATHEMATIQUE", extract(f, {{'a', "; "}})); return;
        case 207: set("DOC_NUMEROTATION", extract(f, {{'a', "; "}})); return;
        case 208: set("DOC_MUSIQUE", extract(f, {{'a', "; "}})); return;
        case 210: publication(f); return;
        case 214:
            if (!hasPublication_)
                publication(f);
            return;
        case 215:
            set("DOC_NBR_UNITE", extract(f, {{'a', ""}}));
            set("DOC_ILLUSTRATION", extract(f, {{'c', ""}}));
            set("DOC_FORMAT", extract(f, {{'d', ""}}));
            set("DOC_MATERIEL", extract(f, {{'e', ""}}));
            return;
        case 225:
            out_.collection = MappedCollection{extract(f, {{'a', ""}}), extract(f, {{'d', ""}}), extract(f, {{'e', ""}}),
                                               extract(f, {{'f', ""}}), first(f, 'x')};
            set("COL_NUMERO", extract(f, {{'v', ""}}));
            out_.subCollection = extract(f, {{'i', ""}});
            set("SCL_NUMERO", extract(f, {{'h', ""}}));
            return;
        case 230: set("DOC_RESSOURCE", extract(f, {{'a', "; "}})); return;
        case 300: appendColumn("DOC_NOTE", kCrLf, extract(f, {{'a', "; "}})); return;
        case 315:
            if (const QString t = typeByName(first(f, 'a')); !t.isEmpty())
                out_.typeId = t;
            return;
        case 328: thesis(f); return;
        case 330: set("DOC_RESUME", extract(f, {{'a', "; "}})); return;
        case 675: case 676: case 686:
            if ((tag == 675 && context_.classification == 1) || (tag == 676 && context_.classification == 2)
                || (tag == 686 && context_.classification == 3))
                index(first(f, 'a'));
            return;
        case 801:
            out_.country = first(f, 'a');
            set("DOC_AGENCE", extract(f, {{'b', ""}}));
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
            for (const QChar c : f.value('a'))
                if (c >= u'0' && c <= u'9')
                    digits += c;
            if (!digits.isEmpty()) {
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
};

} // namespace

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

MappedRecord mapRecord(const Record &record, const MappingContext &context)
{
    return Mapper(record, context).run();
}

} // namespace folian::unimarc
