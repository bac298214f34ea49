#include "catalogue/unimarc/record.h"

namespace folian::unimarc {

namespace {
std::array<char, 3> tagBytes(QByteArrayView tag)
{
    std::array<char, 3> t{{' ', ' ', ' '}};
    for (qsizetype i = 0; i < 3 && i < tag.size(); ++i)
        t[size_t(i)] = tag[i];
    return t;
}
} // namespace

Field::Field(QByteArrayView tag, char i1, char i2, QList<Subfield> subs)
    : ind1(i1), ind2(i2), subfields(std::move(subs)), tag_(tagBytes(tag))
{
}

Field Field::control(QByteArrayView tag, QByteArray utf8Data)
{
    Field f;
    f.tag_ = tagBytes(tag);
    f.data = std::move(utf8Data);
    return f;
}

const Subfield *Field::subfield(char code) const
{
    for (const Subfield &s : subfields)
        if (s.code == code)
            return &s;
    return nullptr;
}

QString Field::value(char code) const
{
    const Subfield *s = subfield(code);
    return s ? s->text() : QString();
}

QStringList Field::values(char code) const
{
    QStringList out;
    for (const Subfield &s : subfields)
        if (s.code == code)
            out << s.text();
    return out;
}

Field &Field::append(char code, const QString &text)
{
    subfields.append(Subfield(code, text));
    return *this;
}

Field &Field::append(char code, QByteArray utf8)
{
    subfields.append(Subfield(code, std::move(utf8)));
    return *this;
}

const Field *Record::field(QByteArrayView tag) const
{
    for (const Field &f : fields)
        if (f.hasTag(tag))
            return &f;
    return nullptr;
}

Field *Record::field(QByteArrayView tag)
{
    for (Field &f : fields)
        if (f.hasTag(tag))
            return &f;
    return nullptr;
}

QList<const Field *> Record::fieldsWithTag(QByteArrayView tag) const
{
    QList<const Field *> out;
    for (const Field &f : fields)
        if (f.hasTag(tag))
            out << &f;
    return out;
}

QString Record::value(QByteArrayView tag, char code) const
{
    for (const Field &f : fields)
        if (f.hasTag(tag))
            if (const Subfield *s = f.subfield(code))
                return s->text();
    return QString();
}

QStringList Record::values(QByteArrayView tag, char code) const
{
    QStringList out;
    for (const Field &f : fields)
        if (f.hasTag(tag))
            out << f.values(code);
    return out;
}

Field &Record::append(Field f)
{
    fields.append(std::move(f));
    return fields.last();
}

Field &Record::insertInTagOrder(Field f)
{
    qsizetype at = fields.size();
    while (at > 0 && fields.at(at - 1).tag() > f.tag())
        --at;
    fields.insert(at, std::move(f));
    return fields[at];
}

} // namespace folian::unimarc
