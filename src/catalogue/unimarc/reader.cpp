#include "catalogue/unimarc/reader.h"

#include "base/messages.h"

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

QString hexByte(char c) { return QStringLiteral("0x%1").arg(uint(static_cast<unsigned char>(c)), 2, 16, QChar(u'0')); }

// The raw value of the first $a of field 100, for its character set positions.
QByteArrayView raw100a(const RecordView &v)
{
    for (const FieldView &f : v.fields) {
        if (f.tag != "100" || f.isControl())
            continue;
        QByteArrayView a;
        bool found = false;
        forEachSubfield(f.subfields, [&](char code, QByteArrayView value) {
            if (!found && code == 'a') {
                a = value;
                found = true;
            }
        });
        if (found)
            return a;
    }
    return {};
}

class Scanner
{
public:
    Scanner(QByteArrayView bytes, RecordView &view) : b_(bytes), v_(view) {}
    bool run();

private:
    bool fail(qsizetype at, const QString &why)
    {
        v_.error = why;
        v_.errorAt = at;
        v_.fields.clear();
        return false;
    }
    bool readDirectory(qsizetype base, qsizetype dataEnd);
    bool readIndicators(FieldView &f);
    QString where(const FieldView &f) const
    {
        return QStringLiteral("field %1 (directory entry %2)").arg(printable(f.tag)).arg(f.entry);
    }

    QByteArrayView b_;
    RecordView &v_;
};

bool Scanner::run()
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
    v_.leader = b_.first(kLeaderLength);
    if (!readDirectory(base, dataEnd))
        return false;

    const QByteArrayView data = b_.sliced(base, dataEnd - base);
    v_.declared = declaredCharset(raw100a(v_));
    const TextFacts facts = examine(data);
    v_.charset = chooseCharset(v_.declared, data, facts);
    v_.verbatim = facts.ascii || (v_.charset == Charset::Utf8 && facts.cleanUtf8);
    return true;
}

bool Scanner::readDirectory(qsizetype base, qsizetype dataEnd)
{
    const qsizetype dirLength = base - 1 - kLeaderLength;
    if (dirLength % kEntryLength != 0)
        return fail(kLeaderLength,
                    QStringLiteral("directory of %1 bytes is not a whole number of 12-byte entries").arg(dirLength));
    const qsizetype entries = dirLength / kEntryLength;
    v_.fields.reserve(entries);
    for (qsizetype i = 0; i < entries; ++i) {
        const qsizetype e = kLeaderLength + i * kEntryLength;
        FieldView f;
        f.tag = b_.sliced(e, 3);
        f.entry = i + 1;
        if (!isAlnum(f.tag[0]) || !isAlnum(f.tag[1]) || !isAlnum(f.tag[2]))
            return fail(e, QStringLiteral("directory entry %1: tag \"%2\" is not three letters or digits")
                               .arg(i + 1).arg(printable(f.tag)));
        const qsizetype flen = digits(b_, e + 3, 4);
        const qsizetype start = digits(b_, e + 7, 5);
        if (flen < 0 || start < 0)
            return fail(e + 3, QStringLiteral("%1: length \"%2\" or start \"%3\" is not a number")
                                   .arg(where(f), printable(b_.sliced(e + 3, 4)), printable(b_.sliced(e + 7, 5))));
        if (flen == 0)
            return fail(e + 3, QStringLiteral("%1: length 0").arg(where(f)));
        const qsizetype fs = base + start;
        const qsizetype fe = fs + flen;
        if (fe > dataEnd)
            return fail(e + 7, QStringLiteral("%1 points outside the record: bytes %2 to %3 of %4")
                                   .arg(where(f)).arg(fs).arg(fe - 1).arg(dataEnd));
        if (b_[fe - 1] != kFieldTerminator)
            return fail(fe - 1, QStringLiteral("%1 does not end with a field terminator where its length of %2 says")
                                    .arg(where(f)).arg(flen));
        f.body = b_.sliced(fs, flen - 1);
        f.start = fs;
        if (const qsizetype inner = f.body.indexOf(kFieldTerminator); inner >= 0)
            return fail(fs + inner, QStringLiteral("%1 holds a field terminator before its end").arg(where(f)));
        if (!f.isControl() && !readIndicators(f))
            return false;
        v_.fields.append(f);
    }
    return true;
}

bool Scanner::readIndicators(FieldView &f)
{
    QByteArrayView rest = f.body;
    // Two indicators, unless the field starts at once with a subfield.
    for (char *ind : {&f.ind1, &f.ind2}) {
        if (rest.isEmpty() || rest[0] == kSubfieldDelimiter)
            break;
        if (!isPrintable(rest[0]))
            return fail(f.start + (f.body.size() - rest.size()),
                        QStringLiteral("%1: indicator byte %2 is not a printable character").arg(where(f), hexByte(rest[0])));
        *ind = rest[0];
        rest = rest.sliced(1);
    }
    f.subfields = rest;
    qsizetype bad = -1;
    forEachSubfield(rest, [&](char code, QByteArrayView value) {
        if (bad < 0 && !isPrintable(code))
            bad = value.data() - 1 - b_.data();
    });
    if (bad >= 0)
        return fail(bad, QStringLiteral("%1: subfield code byte %2 is not a printable character").arg(where(f), hexByte(b_[bad])));
    return true;
}

} // namespace

Record RecordView::toRecord() const
{
    Record rec;
    rec.leader = leader.toByteArray();
    rec.fields.reserve(fields.size());
    for (const FieldView &fv : fields) {
        if (fv.isControl()) {
            QByteArray data;
            appendValue(data, fv.body);
            rec.fields.append(Field::control(fv.tag, std::move(data)));
            continue;
        }
        Field f(fv.tag, fv.ind1, fv.ind2);
        forEachSubfield(fv.subfields, [&](char code, QByteArrayView raw) {
            Subfield s;
            s.code = code;
            appendValue(s.value, raw);
            f.subfields.append(std::move(s));
        });
        rec.fields.append(std::move(f));
    }
    return rec;
}

bool scanRecord(QByteArrayView bytes, RecordView &view, QByteArray *scratch)
{
    view.fields.clear();
    view.error.clear();
    view.errorAt = -1;
    view.declared = view.charset = Charset::Undeclared;
    view.verbatim = false;
    if (Scanner(bytes, view).run() || !scratch || bytes.indexOf('\0') < 0)
        return view.ok();
    // Some systems pad their records with NUL bytes that no length counts.
    const QString error = view.error;
    const qsizetype errorAt = view.errorAt;
    *scratch = bytes.toByteArray();
    scratch->removeIf([](char c) { return c == '\0'; });
    view.error.clear();
    if (Scanner(*scratch, view).run())
        return true;
    view.error = error;
    view.errorAt = errorAt;
    return false;
}

bool scanRecord(const RawRecord &raw, RecordView &view, QByteArray *scratch)
{
    if (!raw.oversize)
        return scanRecord(raw.bytes, view, scratch);
    view.fields.clear();
    view.error = QStringLiteral("no record terminator within %1 bytes, the format's longest record").arg(kMaxRecordLength);
    view.errorAt = kMaxRecordLength;
    return false;
}

namespace {
ParseResult resultOf(const RecordView &view)
{
    ParseResult r;
    r.declared = view.declared;
    r.charset = view.charset;
    if (view.ok())
        r.record = view.toRecord();
    r.error = view.error;
    r.errorAt = view.errorAt;
    return r;
}
} // namespace

ParseResult parseRecord(QByteArrayView bytes)
{
    RecordView view;
    QByteArray scratch;
    scanRecord(bytes, view, &scratch);
    return resultOf(view);
}

ParseResult parseRecord(const RawRecord &raw)
{
    RecordView view;
    QByteArray scratch;
    scanRecord(raw, view, &scratch);
    return resultOf(view);
}

namespace {
QString withPosition(const QString &error, qsizetype at)
{
    return at >= 0 ? QStringLiteral("%1 (byte %2 of the record)").arg(error).arg(at) : error;
}
} // namespace

QString ParseResult::reason() const { return withPosition(error, errorAt); }

QString reason(const RecordView &view) { return withPosition(view.error, view.errorAt); }

bool ParseResult::charsetMismatch() const
{
    if (declared == Charset::Undeclared || charset == Charset::Iso646)
        return false;
    return declared != charset && !(declared == Charset::Iso646 && charset == Charset::Iso5426);
}

QString rejectionMessage(qint64 ordinal, qint64 offset, const QString &reason)
{
    return tr2(QStringLiteral("Notice n° %1 (octet %2) rejetée : %3").arg(ordinal).arg(offset).arg(reason),
               QStringLiteral("البطاقة رقم %1 (البايت %2) مرفوضة: %3").arg(ordinal).arg(offset).arg(reason));
}

} // namespace folian::unimarc
