#include "catalogue/unimarc/reader.h"

#include "app/core/messages.h"
#include "catalogue/unimarc/iso2709.h"

#include <QVarLengthArray>

namespace folian::unimarc {

namespace {

// The number written in `width` decimal digits at `at`, or -1.
qsizetype digits(QByteArrayView b, qsizetype at, int width)
{
    qsizetype v = 0;
    for (int k = 0; k < width; ++k) {
        const char c = b[at + k];
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool isAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isPrintable(char c) { return c >= 0x20 && c <= 0x7E; }

QString printable(QByteArrayView v)
{
    QString s;
    for (const char c : v)
        s += isPrintable(c) ? QChar::fromLatin1(c) : QChar(u'?');
    return s;
}

struct RawField {
    QByteArrayView tag;
    QByteArrayView body;  // without its terminator
    qsizetype start;      // position of the body in the record
    qsizetype entry;      // directory entry number, from 1
};

// The raw value of the first $a of field 100, for its character set positions.
QByteArrayView raw100a(const QVarLengthArray<RawField, 64> &fields)
{
    for (const RawField &f : fields) {
        if (f.tag != "100")
            continue;
        const QByteArrayView b = f.body;
        for (qsizetype i = 0; i + 1 < b.size(); ++i) {
            if (b[i] == kSubfieldDelimiter && b[i + 1] == 'a') {
                qsizetype end = i + 2;
                while (end < b.size() && b[end] != kSubfieldDelimiter)
                    ++end;
                return b.sliced(i + 2, end - i - 2);
            }
        }
    }
    return {};
}

class Parser
{
public:
    explicit Parser(QByteArrayView bytes) : b_(bytes) {}
    ParseResult run();

private:
    ParseResult &fail(qsizetype at, const QString &why)
    {
        r_.record = Record();
        r_.error = why;
        r_.errorAt = at;
        return r_;
    }
    bool readDirectory(qsizetype base, qsizetype dataEnd);
    bool readDataField(const RawField &raw, Field &f);
    QString where(const RawField &raw) const
    {
        return QStringLiteral("field %1 (directory entry %2)").arg(printable(raw.tag)).arg(raw.entry);
    }

    QByteArrayView b_;
    ParseResult r_;
    QVarLengthArray<RawField, 64> raw_;
};

ParseResult Parser::run()
{
    const qsizetype n = b_.size();
    if (n == 0)
        return fail(0, QStringLiteral("empty record"));
    const bool terminated = b_[n - 1] == kRecordTerminator;
    const qsizetype length = terminated ? n : n + 1;
    if (n < kLeaderLength)
        return fail(0, QStringLiteral("%1 bytes, shorter than the 24-byte leader").arg(n));
    const qsizetype declared = digits(b_, 0, 5);
    if (declared < 0)
        return fail(0, QStringLiteral("record length \"%1\" is not five digits").arg(printable(b_.first(5))));
    if (declared != length)
        return fail(0, QStringLiteral("record length %1 declared, %2 bytes found").arg(declared).arg(length));
    for (const qsizetype at : {10, 11})
        if (b_[at] != '2' && b_[at] != ' ')
            return fail(at, QStringLiteral("%1 '%2' in the leader, where UNIMARC has 2")
                                .arg(at == 10 ? QStringLiteral("indicator count") : QStringLiteral("subfield code length"),
                                     printable(b_.sliced(at, 1))));
    const qsizetype base = digits(b_, 12, 5);
    if (base < 0)
        return fail(12, QStringLiteral("base address \"%1\" is not five digits").arg(printable(b_.sliced(12, 5))));
    const qsizetype dataEnd = terminated ? n - 1 : n;
    if (base < kLeaderLength + 1 || base > dataEnd)
        return fail(12, QStringLiteral("base address %1 outside the record of %2 bytes").arg(base).arg(length));
    if (b_[base - 1] != kFieldTerminator)
        return fail(base - 1, QStringLiteral("no directory terminator before the base address %1").arg(base));
    if ((b_[20] != '4' && b_[20] != ' ') || (b_[21] != '5' && b_[21] != ' '))
        return fail(20, QStringLiteral("directory entry map \"%1\" in the leader, where UNIMARC has 45")
                            .arg(printable(b_.sliced(20, 2))));
    if (!readDirectory(base, dataEnd))
        return r_;

    r_.declared = declaredCharset(raw100a(raw_));
    r_.charset = chooseCharset(r_.declared, b_.sliced(base, dataEnd - base));

    Record &rec = r_.record;
    rec.leader = b_.first(kLeaderLength).toByteArray();
    rec.fields.reserve(raw_.size());
    for (const RawField &raw : raw_) {
        if (Field::isControlTag(raw.tag)) {
            rec.fields.append(Field::control(raw.tag, decoded(raw.body, r_.charset)));
            continue;
        }
        Field f(raw.tag, ' ', ' ');
        if (!readDataField(raw, f))
            return r_;
        rec.fields.append(std::move(f));
    }
    return r_;
}

bool Parser::readDirectory(qsizetype base, qsizetype dataEnd)
{
    const qsizetype dirLength = base - 1 - kLeaderLength;
    if (dirLength % kEntryLength != 0) {
        fail(kLeaderLength, QStringLiteral("directory of %1 bytes is not a whole number of 12-byte entries").arg(dirLength));
        return false;
    }
    const qsizetype entries = dirLength / kEntryLength;
    raw_.reserve(entries);
    for (qsizetype i = 0; i < entries; ++i) {
        const qsizetype e = kLeaderLength + i * kEntryLength;
        RawField raw{b_.sliced(e, 3), {}, 0, i + 1};
        if (!isAlnum(raw.tag[0]) || !isAlnum(raw.tag[1]) || !isAlnum(raw.tag[2])) {
            fail(e, QStringLiteral("directory entry %1: tag \"%2\" is not three letters or digits").arg(i + 1).arg(printable(raw.tag)));
            return false;
        }
        const qsizetype flen = digits(b_, e + 3, 4);
        const qsizetype start = digits(b_, e + 7, 5);
        if (flen < 0 || start < 0) {
            fail(e + 3, QStringLiteral("%1: length \"%2\" or start \"%3\" is not a number")
                            .arg(where(raw), printable(b_.sliced(e + 3, 4)), printable(b_.sliced(e + 7, 5))));
            return false;
        }
        if (flen == 0) {
            fail(e + 3, QStringLiteral("%1: length 0").arg(where(raw)));
            return false;
        }
        const qsizetype fs = base + start;
        const qsizetype fe = fs + flen;
        if (fe > dataEnd) {
            fail(e + 7, QStringLiteral("%1 points outside the record: bytes %2 to %3 of %4")
                            .arg(where(raw)).arg(fs).arg(fe - 1).arg(dataEnd));
            return false;
        }
        if (b_[fe - 1] != kFieldTerminator) {
            fail(fe - 1, QStringLiteral("%1 does not end with a field terminator where its length of %2 says")
                             .arg(where(raw)).arg(flen));
            return false;
        }
        raw.body = b_.sliced(fs, flen - 1);
        raw.start = fs;
        if (const qsizetype inner = raw.body.indexOf(kFieldTerminator); inner >= 0) {
            fail(fs + inner, QStringLiteral("%1 holds a field terminator before its end").arg(where(raw)));
            return false;
        }
        raw_.append(raw);
    }
    return true;
}

bool Parser::readDataField(const RawField &raw, Field &f)
{
    QByteArrayView rest = raw.body;
    // Two indicators, unless the field starts at once with a subfield.
    for (char *ind : {&f.ind1, &f.ind2}) {
        if (rest.isEmpty() || rest[0] == kSubfieldDelimiter)
            break;
        if (!isPrintable(rest[0])) {
            fail(raw.start + (raw.body.size() - rest.size()),
                 QStringLiteral("%1: indicator byte 0x%2 is not a printable character")
                     .arg(where(raw)).arg(uint(static_cast<unsigned char>(rest[0])), 2, 16, QChar(u'0')));
            return false;
        }
        *ind = rest[0];
        rest = rest.sliced(1);
    }
    // Text before the first delimiter belongs to no subfield and is not kept.
    qsizetype p = rest.indexOf(kSubfieldDelimiter);
    f.subfields.reserve(rest.count(kSubfieldDelimiter));
    while (p >= 0) {
        qsizetype next = rest.indexOf(kSubfieldDelimiter, p + 1);
        const qsizetype end = next < 0 ? rest.size() : next;
        if (end > p + 1) {
            const char code = rest[p + 1];
            if (!isPrintable(code)) {
                fail(raw.start + (raw.body.size() - rest.size()) + p + 1,
                     QStringLiteral("%1: subfield code byte 0x%2 is not a printable character")
                         .arg(where(raw)).arg(uint(static_cast<unsigned char>(code)), 2, 16, QChar(u'0')));
                return false;
            }
            Subfield s;
            s.code = code;
            appendDecoded(s.value, rest.sliced(p + 2, end - p - 2), r_.charset);
            f.subfields.append(std::move(s));
        }
        p = next;
    }
    return true;
}

} // namespace

QString ParseResult::reason() const
{
    return errorAt >= 0 ? QStringLiteral("%1 (byte %2 of the record)").arg(error).arg(errorAt) : error;
}

bool ParseResult::charsetMismatch() const
{
    if (declared == Charset::Undeclared || charset == Charset::Iso646)
        return false;
    return declared != charset && !(declared == Charset::Iso646 && charset == Charset::Iso5426);
}

ParseResult parseRecord(QByteArrayView bytes)
{
    ParseResult r = Parser(bytes).run();
    if (r.ok() || bytes.indexOf('\0') < 0)
        return r;
    // Some systems pad their records with NUL bytes that no length counts.
    QByteArray clean = bytes.toByteArray();
    clean.removeIf([](char c) { return c == '\0'; });
    ParseResult again = Parser(clean).run();
    return again.ok() ? again : r;
}

ParseResult parseRecord(const RawRecord &raw)
{
    if (!raw.oversize)
        return parseRecord(raw.bytes);
    ParseResult r;
    r.error = QStringLiteral("no record terminator within %1 bytes, the format's longest record").arg(kMaxRecordLength);
    r.errorAt = kMaxRecordLength;
    return r;
}

QString rejectionMessage(qint64 ordinal, qint64 offset, const QString &reason)
{
    return tr2(QStringLiteral("Notice n° %1 (octet %2) rejetée : %3").arg(ordinal).arg(offset).arg(reason),
               QStringLiteral("البطاقة رقم %1 (البايت %2) مرفوضة: %3").arg(ordinal).arg(offset).arg(reason));
}

} // namespace folian::unimarc
