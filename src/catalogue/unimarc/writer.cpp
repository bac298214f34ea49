#include "catalogue/unimarc/writer.h"

#include "catalogue/unimarc/iso2709.h"
#include "base/messages.h"

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

namespace {

// The bytes a field takes in a record: its data, its terminator and its directory entry.
qsizetype sizeInRecord(const Field &f)
{
    qsizetype n = kEntryLength + 1;
    if (f.isControl())
        return n + f.data.size();
    n += 2;
    for (const Subfield &s : f.subfields)
        n += 2 + s.value.size();
    return n;
}

// `text` cut into pieces of at most `limit` bytes of UTF-8: after the last
// line end, else sentence end, else blank that leaves the piece long
// enough, else between two characters.
QStringList piecesOf(const QString &text, qsizetype limit)
{
    QStringList out;
    QString rest = text.trimmed();
    while (!rest.isEmpty()) {
        if (rest.toUtf8().size() <= limit) {
            out << rest;
            break;
        }
        // The longest beginning within the limit.
        qsizetype fits = 0, bytes = 0;
        while (fits < rest.size()) {
            const qsizetype step = rest.at(fits).isHighSurrogate() && fits + 1 < rest.size() ? 2 : 1;
            const qsizetype size = rest.mid(fits, step).toUtf8().size();
            if (bytes + size > limit)
                break;
            bytes += size;
            fits += step;
        }
        qsizetype cut = -1;
        for (const QString &after : {QStringLiteral("\n"), QStringLiteral(". "), QStringLiteral(" ")}) {
            const qsizetype at = rest.lastIndexOf(after, fits - after.size());
            if (at >= fits / 2) {
                cut = at + after.size();
                break;
            }
        }
        if (cut < 0)
            cut = fits;
        out << rest.left(cut).trimmed();
        rest = rest.mid(cut).trimmed();
    }
    return out;
}

} // namespace

Record fitRecord(const Record &record, const QList<QByteArray> &splittable, const QList<QByteArray> &droppable,
                 QStringList *leftOut)
{
    Record out;
    out.leader = record.leader;
    auto say = [&](const QString &line) {
        if (leftOut)
            *leftOut << line;
    };
    for (const Field &f : record.fields) {
        if (sizeInRecord(f) - kEntryLength <= kMaxFieldLength) {
            out.fields << f;
            continue;
        }
        if (splittable.contains(f.tag().toByteArray()) && f.subfields.size() == 1) {
            const Subfield &s = f.subfields.first();
            const qsizetype room = kMaxFieldLength - 2 - 2 - 1;  // indicators, delimiter and code, terminator
            for (const QString &piece : piecesOf(s.text(), room))
                out.fields << Field(f.tag(), f.ind1, f.ind2, {Subfield(s.code, piece)});
            continue;
        }
        say(tr2(QStringLiteral("champ %1 de %2 octets, plus que les %3 du format : non écrit"),
                QStringLiteral("الحقل %1 من %2 بايت، أكثر من %3 التي يسمح بها الشكل: لم يكتب"))
                .arg(f.tagText()).arg(sizeInRecord(f) - kEntryLength).arg(kMaxFieldLength));
    }
    qsizetype total = kLeaderLength + 1 + 1;  // directory and record terminators
    for (const Field &f : std::as_const(out.fields))
        total += sizeInRecord(f);
    for (const QByteArray &tag : droppable) {
        qsizetype dropped = 0;
        for (qsizetype i = out.fields.size() - 1; i >= 0 && total > kMaxRecordLength; --i) {
            if (out.fields.at(i).tag() != tag)
                continue;
            total -= sizeInRecord(out.fields.at(i));
            out.fields.remove(i);
            ++dropped;
        }
        if (dropped)
            say(tr2(QStringLiteral("%1 champ(s) %2 non écrit(s) : la notice dépasserait les %3 octets du format"),
                    QStringLiteral("%1 حقل %2 لم يكتب: البطاقة تتجاوز %3 بايت التي يسمح بها الشكل"))
                    .arg(dropped).arg(QString::fromLatin1(tag)).arg(kMaxRecordLength));
    }
    return out;
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
