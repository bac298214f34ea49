#pragma once
// A bibliographic record in the ISO 2709 structure: a 24-byte leader and an
// ordered list of fields. A control field (tags 001-009) holds one value; a
// data field holds two indicators and an ordered list of subfields. Values
// are kept as UTF-8 text, already decoded from the file's character set, so
// that a "$" in a value is just a character and never a subfield delimiter.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace folian::unimarc {

struct Subfield {
    char code = 0;
    QByteArray value;  // UTF-8

    Subfield() = default;
    Subfield(char c, QByteArray utf8) : code(c), value(std::move(utf8)) {}
    Subfield(char c, const QString &text) : code(c), value(text.toUtf8()) {}
    QString text() const { return QString::fromUtf8(value); }
    friend bool operator==(const Subfield &, const Subfield &) = default;
};

class Field
{
public:
    Field() = default;
    // A data field; blanks are ' '.
    Field(QByteArrayView tag, char ind1, char ind2, QList<Subfield> subfields = {});
    // A control field.
    static Field control(QByteArrayView tag, QByteArray utf8Data);
    static Field control(QByteArrayView tag, const QString &data) { return control(tag, data.toUtf8()); }

    // "001" to "009" (any tag beginning with "00") are control fields.
    static bool isControlTag(QByteArrayView tag) { return tag.size() == 3 && tag[0] == '0' && tag[1] == '0'; }

    QByteArrayView tag() const { return QByteArrayView(tag_.data(), 3); }
    QString tagText() const { return QString::fromLatin1(tag_.data(), 3); }
    bool hasTag(QByteArrayView t) const { return t == tag(); }
    bool isControl() const { return isControlTag(tag()); }

    char ind1 = ' ';
    char ind2 = ' ';
    QByteArray data;              // control fields only, UTF-8
    QList<Subfield> subfields;    // data fields only, in record order

    QString controlText() const { return QString::fromUtf8(data); }
    // The first subfield with `code`, or null.
    const Subfield *subfield(char code) const;
    bool has(char code) const { return subfield(code) != nullptr; }
    // The first value of `code` (empty when there is none) and every value of it, in order.
    QString value(char code) const;
    QStringList values(char code) const;

    Field &append(char code, const QString &text);
    Field &append(char code, QByteArray utf8);

    friend bool operator==(const Field &, const Field &) = default;

private:
    std::array<char, 3> tag_{{' ', ' ', ' '}};
};

class Record
{
public:
    // A new record's leader; the writer fills in the lengths and the base address.
    static constexpr char kDefaultLeader[] = "00000nam  2200000   450 ";

    Record() : leader(kDefaultLeader) {}

    QByteArray leader;     // 24 bytes
    QList<Field> fields;   // in record order

    // Leader position 5: 'n' new, 'c' corrected, 'd' deleted, ...
    char status() const { return leader.size() > 5 ? leader.at(5) : ' '; }
    bool isDeleted() const { return status() == 'd'; }

    // The first field with `tag`, or null; every field with it, in order.
    const Field *field(QByteArrayView tag) const;
    Field *field(QByteArrayView tag);
    QList<const Field *> fieldsWithTag(QByteArrayView tag) const;
    // The first `code` value among the fields with `tag` ("the first 101 $a"), empty when none.
    QString value(QByteArrayView tag, char code) const;
    // Every `code` value of every field with `tag`, in record order.
    QStringList values(QByteArrayView tag, char code) const;

    Field &append(Field f);
    // Inserts after the last field whose tag sorts before or equal to f's tag.
    Field &insertInTagOrder(Field f);

    friend bool operator==(const Record &, const Record &) = default;
};

} // namespace folian::unimarc
