#include "catalogue/unimarc/writer.h"

#include "catalogue/unimarc/iso2709.h"

#include <cstdio>

namespace folian::unimarc {

namespace {

void appendNumber(QByteArray &out, qsizetype value, int width)
{
    char digits[8];
    std::snprintf(digits, sizeof digits, "%0*d", width, int(value));
    out.append(digits, width);
}

bool holdsStructureByte(QByteArrayView v)
{
    for (const char c : v)
        if (isStructureByte(c))
            return true;
    return false;
}

bool validTag(QByteArrayView tag)
{
    for (const char c : tag)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    return true;
}

bool printable(char c) { return c >= 0x20 && c <= 0x7E; }

// The field's bytes after its tag, terminator included; empty with `error` set when it cannot be written.
QByteArray fieldBytes(const Field &f, QString *error)
{
    auto refuse = [&](const QString &why) {
        *error = QStringLiteral("field %1: %2").arg(f.tagText(), why);
        return QByteArray();
    };
    QByteArray out;
    if (f.isControl()) {
        if (f.data.contains(kFieldTerminator) || f.data.contains(kRecordTerminator))
            return refuse(QStringLiteral("its value holds a terminator byte"));
        out = f.data;
    } else {
        if (!printable(f.ind1) || !printable(f.ind2))
            return refuse(QStringLiteral("an indicator is not a printable character"));
        out.reserve(2 + f.subfields.size() * 16);
        out += f.ind1;
        out += f.ind2;
        for (const Subfield &s : f.subfields) {
            if (!printable(s.code))
                return refuse(QStringLiteral("a subfield code is not a printable character"));
            if (holdsStructureByte(s.value))
                return refuse(QStringLiteral("the value of $%1 holds a delimiter or terminator byte").arg(QChar::fromLatin1(s.code)));
            out += kSubfieldDelimiter;
            out += s.code;
            out += s.value;
        }
    }
    out += kFieldTerminator;
    if (out.size() > kMaxFieldLength)
        return refuse(QStringLiteral("%1 bytes, longer than the format's %2").arg(out.size()).arg(kMaxFieldLength));
    return out;
}

} // namespace

WriteResult writeRecord(const Record &record)
{
    WriteResult r;
    if (record.leader.size() != kLeaderLength || holdsStructureByte(record.leader)) {
        r.error = QStringLiteral("the leader is not 24 characters");
        return r;
    }
    QByteArray directory;
    QByteArray data;
    directory.reserve(record.fields.size() * kEntryLength + 1);
    for (const Field &f : record.fields) {
        if (!validTag(f.tag())) {
            r.error = QStringLiteral("tag \"%1\" is not three letters or digits").arg(f.tagText());
            return r;
        }
        const QByteArray bytes = fieldBytes(f, &r.error);
        if (!r.ok())
            return r;
        if (data.size() + bytes.size() > kMaxRecordLength) {
            r.error = QStringLiteral("the fields need more than the format's %1 bytes").arg(kMaxRecordLength);
            return r;
        }
        directory.append(f.tag());
        appendNumber(directory, bytes.size(), 4);
        appendNumber(directory, data.size(), 5);
        data += bytes;
    }
    directory += kFieldTerminator;
    data += kRecordTerminator;
    const qsizetype base = kLeaderLength + directory.size();
    const qsizetype length = base + data.size();
    if (length > kMaxRecordLength) {
        r.error = QStringLiteral("%1 bytes, longer than the format's %2").arg(length).arg(kMaxRecordLength);
        return r;
    }
    QByteArray leader = record.leader;
    leader.replace(0, 5, QByteArray::number(length).rightJustified(5, '0'));
    leader[10] = '2';
    leader[11] = '2';
    leader.replace(12, 5, QByteArray::number(base).rightJustified(5, '0'));
    leader.replace(20, 3, "450");
    r.bytes.reserve(length);
    r.bytes += leader;
    r.bytes += directory;
    r.bytes += data;
    return r;
}

void declareUtf8(Record &record)
{
    Field *f = record.field("100");
    if (!f)
        f = &record.insertInTagOrder(Field("100", ' ', ' '));
    Subfield *a = nullptr;
    for (Subfield &s : f->subfields)
        if (s.code == 'a') {
            a = &s;
            break;
        }
    if (!a) {
        f->subfields.prepend(Subfield('a', QByteArray()));
        a = &f->subfields.first();
    }
    // Positions count characters; 100 $a is ASCII, but be safe with what came in.
    QString v = a->text();
    if (v.size() < 36)
        v = v.leftJustified(36, u' ');
    v.replace(26, 4, QStringLiteral("50  "));
    a->value = v.toUtf8();
}

} // namespace folian::unimarc
