#include "catalogue/unimarc/reader.h"

#include "base/messages.h"

#include <algorithm>

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
        v_.remarks.clear();
        return false;
    }
    void remark(qsizetype at, const QString &what)
    {
        v_.remarks << QStringLiteral("%1 (byte %2 of the record)").arg(what).arg(at);
    }
    bool readDirectory(qsizetype base, qsizetype dataEnd);
    // The field of one directory entry; false (with a remark) when it is ignored.
    bool readEntry(qsizetype e, FieldView &f, qsizetype base, qsizetype dataEnd);
    // The end of a field whose length is wrong, when its start is that of a
    // field (just after a terminator): the next terminator. -1 otherwise.
    qsizetype realEnd(qsizetype start, qsizetype base, qsizetype dataEnd) const;
    bool readIndicators(FieldView &f);
    void chooseCharsets(qsizetype base, qsizetype dataEnd);
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
    // The record ends at its terminator: a length that says otherwise is only remarked.
    const qsizetype declared = digits(b_, 0, 5);
    if (declared < 0)
        remark(0, QStringLiteral("record length \"%1\" is not five digits").arg(printable(b_.first(5))));
    else if (declared != length)
        remark(0, QStringLiteral("record length %1 declared, %2 bytes found").arg(declared).arg(length));
    v_.leader = b_.first(kLeaderLength);
    if (!readDirectory(base, dataEnd))
        return false;
    chooseCharsets(base, dataEnd);
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
        FieldView f;
        f.entry = i + 1;
        if (readEntry(kLeaderLength + i * kEntryLength, f, base, dataEnd))
            v_.fields.append(f);
    }
    return true;
}

qsizetype Scanner::realEnd(qsizetype start, qsizetype base, qsizetype dataEnd) const
{
    if (start < base || start >= dataEnd || (start > base && b_[start - 1] != kFieldTerminator))
        return -1;
    const qsizetype t = b_.sliced(start, dataEnd - start).indexOf(kFieldTerminator);
    return t > 0 ? start + t + 1 : -1;  // a field of its terminator alone holds nothing
}

bool Scanner::readEntry(qsizetype e, FieldView &f, qsizetype base, qsizetype dataEnd)
{
    f.tag = b_.sliced(e, 3);
    if (!isAlnum(f.tag[0]) || !isAlnum(f.tag[1]) || !isAlnum(f.tag[2])) {
        remark(e, QStringLiteral("directory entry %1: tag \"%2\" is not three letters or digits, entry ignored")
                      .arg(f.entry).arg(printable(f.tag)));
        return false;
    }
    const qsizetype flen = digits(b_, e + 3, 4);
    const qsizetype start = digits(b_, e + 7, 5);
    if (flen < 0 || start < 0) {
        remark(e + 3, QStringLiteral("%1: length \"%2\" or start \"%3\" is not a number, entry ignored")
                          .arg(where(f), printable(b_.sliced(e + 3, 4)), printable(b_.sliced(e + 7, 5))));
        return false;
    }
    const qsizetype fs = base + start;
    qsizetype fe = fs + flen;
    QString fault;
    if (flen == 0)
        fault = QStringLiteral("length 0");
    else if (fe > dataEnd)
        fault = QStringLiteral("points outside the record: bytes %1 to %2 of %3").arg(fs).arg(fe - 1).arg(dataEnd);
    else if (b_[fe - 1] != kFieldTerminator)
        fault = QStringLiteral("does not end with a field terminator where its length of %1 says").arg(flen);
    else if (const qsizetype inner = b_.sliced(fs, flen - 1).indexOf(kFieldTerminator); inner >= 0)
        fault = QStringLiteral("holds a field terminator before its end");
    if (!fault.isEmpty()) {
        // A field that starts where a field starts runs to its terminator.
        fe = realEnd(fs, base, dataEnd);
        if (fe < 0) {
            remark(e + 3, QStringLiteral("%1 %2, entry ignored").arg(where(f), fault));
            return false;
        }
        remark(e + 3, QStringLiteral("%1 %2, read up to its terminator").arg(where(f), fault));
    }
    f.body = b_.sliced(fs, fe - fs - 1);
    f.start = fs;
    return f.isControl() || readIndicators(f);
}

bool Scanner::readIndicators(FieldView &f)
{
    QByteArrayView rest = f.body;
    // Two indicators, unless the field starts at once with a subfield.
    for (char *ind : {&f.ind1, &f.ind2}) {
        if (rest.isEmpty() || rest[0] == kSubfieldDelimiter)
            break;
        if (!isPrintable(rest[0])) {
            remark(f.start + (f.body.size() - rest.size()),
                   QStringLiteral("%1: indicator byte %2 is not a printable character, field ignored")
                       .arg(where(f), hexByte(rest[0])));
            return false;
        }
        *ind = rest[0];
        rest = rest.sliced(1);
    }
    f.subfields = rest;
    qsizetype bad = -1;
    forEachSubfield(rest, [&](char code, QByteArrayView value) {
        if (bad < 0 && !isPrintable(code))
            bad = value.data() - 1 - b_.data();
    });
    if (bad >= 0) {
        remark(bad, QStringLiteral("%1: subfield code byte %2 is not a printable character, field ignored")
                        .arg(where(f), hexByte(b_[bad])));
        return false;
    }
    return true;
}

// The values of a field, each by itself: a control field's body, or its subfields.
template <class F>
void forEachValue(const FieldView &f, F &&take)
{
    if (f.isControl())
        take(f.body);
    else
        forEachSubfield(f.subfields, [&](char, QByteArrayView value) { take(value); });
}

void Scanner::chooseCharsets(qsizetype base, qsizetype dataEnd)
{
    const QByteArrayView data = b_.sliced(base, dataEnd - base);
    v_.declared = declaredCharset(raw100a(v_));
    const TextFacts facts = examine(data);
    if (facts.ascii) {
        v_.charset = v_.declared == Charset::Undeclared ? Charset::Iso646 : v_.declared;
        v_.verbatim = true;
        return;
    }
    if (facts.utf8) {
        // Every field is valid UTF-8 too: the delimiters are ASCII.
        v_.charset = Charset::Utf8;
        v_.verbatim = facts.cleanUtf8;
        CharsetUse use{Charset::Utf8, {}};
        for (FieldView &f : v_.fields) {
            f.charset = Charset::Utf8;
            if (v_.declared != Charset::Utf8 && v_.declared != Charset::Undeclared && !isAscii(f.body))
                use.tags << printable(f.tag);
        }
        if (!use.tags.isEmpty())
            v_.readOtherwise << use;
        return;
    }
    // Each field by itself: UTF-8 when it is valid UTF-8, else the single-byte
    // set its bytes fit best, the record's other such fields breaking ties.
    QVarLengthArray<SingleByteScores, 48> scores(v_.fields.size());
    SingleByteScores record;
    for (qsizetype i = 0; i < v_.fields.size(); ++i) {
        FieldView &f = v_.fields[i];
        const TextFacts ff = examine(f.body);
        if (ff.ascii) {
            f.charset = Charset::Iso646;
        } else if (ff.utf8) {
            f.charset = Charset::Utf8;
        } else {
            f.charset = Charset::Undeclared;  // decided below
            forEachValue(f, [&](QByteArrayView value) { scores[i] += scoreSingleByte(value); });
            record += scores[i];
        }
    }
    int fieldsIn[int(Charset::Windows1252) + 1] = {};
    for (qsizetype i = 0; i < v_.fields.size(); ++i) {
        FieldView &f = v_.fields[i];
        if (f.charset == Charset::Undeclared)
            f.charset = likeliestSingleByte(scores[i], record, v_.declared);
        if (f.charset == Charset::Iso646)
            continue;
        ++fieldsIn[int(f.charset)];
        const bool asDeclared = v_.declared == Charset::Undeclared ? f.charset == Charset::Utf8 : f.charset == v_.declared;
        if (asDeclared)
            continue;
        auto use = std::find_if(v_.readOtherwise.begin(), v_.readOtherwise.end(),
                                [&](const CharsetUse &u) { return u.charset == f.charset; });
        if (use == v_.readOtherwise.end())
            use = v_.readOtherwise.insert(v_.readOtherwise.end(), CharsetUse{f.charset, {}});
        use->tags << printable(f.tag);
    }
    v_.charset = Charset::Iso646;
    int most = 0;
    for (int c = 0; c < int(std::size(fieldsIn)); ++c)
        if (fieldsIn[c] > most || (fieldsIn[c] > 0 && fieldsIn[c] == most && Charset(c) == v_.declared)) {
            most = fieldsIn[c];
            v_.charset = Charset(c);
        }
    v_.verbatim = false;
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
            appendValue(data, fv, fv.body);
            rec.fields.append(Field::control(fv.tag, std::move(data)));
            continue;
        }
        Field f(fv.tag, fv.ind1, fv.ind2);
        forEachSubfield(fv.subfields, [&](char code, QByteArrayView raw) {
            Subfield s;
            s.code = code;
            appendValue(s.value, fv, raw);
            f.subfields.append(std::move(s));
        });
        rec.fields.append(std::move(f));
    }
    return rec;
}

bool scanRecord(QByteArrayView bytes, RecordView &view, QByteArray *scratch)
{
    auto scan = [&view](QByteArrayView b) {
        view.fields.clear();
        view.error.clear();
        view.errorAt = -1;
        view.declared = view.charset = Charset::Undeclared;
        view.readOtherwise.clear();
        view.remarks.clear();
        view.verbatim = false;
        return Scanner(b, view).run();
    };
    if ((scan(bytes) && view.remarks.isEmpty()) || !scratch || bytes.indexOf('\0') < 0)
        return view.ok();
    // Some systems pad their records with NUL bytes that no length counts:
    // without them the record may read whole.
    *scratch = bytes.toByteArray();
    scratch->removeIf([](char c) { return c == '\0'; });
    if (scan(*scratch) && view.remarks.isEmpty())
        return true;
    return scan(bytes);
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
    r.readOtherwise = view.readOtherwise;
    r.remarks = view.remarks;
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

QString ParseResult::charsetRemark() const
{
    if (readOtherwise.isEmpty())
        return QString();
    QStringList parts;
    for (const CharsetUse &u : readOtherwise)
        parts << tr2(QStringLiteral("%1 (champs %2)"), QStringLiteral("%1 (الحقول %2)"))
                     .arg(charsetName(u.charset), u.tags.join(QStringLiteral(", ")));
    const QString used = parts.join(QStringLiteral(", "));
    if (declared == Charset::Undeclared)
        return tr2(QStringLiteral("jeu de caractères non déclaré, lu en %1"), QStringLiteral("مجموعة المحارف غير مصرح بها، قرئت بـ %1"))
            .arg(used);
    return tr2(QStringLiteral("jeu de caractères déclaré %1, lu en %2"), QStringLiteral("مجموعة المحارف المصرح بها %1، قرئت بـ %2"))
        .arg(charsetName(declared), used);
}

QString rejectionMessage(qint64 ordinal, qint64 offset, const QString &reason)
{
    return tr2(QStringLiteral("Notice n° %1 (octet %2) rejetée : %3").arg(ordinal).arg(offset).arg(reason),
               QStringLiteral("البطاقة رقم %1 (البايت %2) مرفوضة: %3").arg(ordinal).arg(offset).arg(reason));
}

QString ignoredEntryMessage(const QString &remark)
{
    return tr2(QStringLiteral("répertoire endommagé : %1"), QStringLiteral("دليل تالف: %1")).arg(remark);
}

QString ignoredEntryMessage(qint64 ordinal, qint64 offset, const QString &remark)
{
    return tr2(QStringLiteral("Notice n° %1 (octet %2) : %3"), QStringLiteral("البطاقة رقم %1 (البايت %2): %3"))
        .arg(ordinal)
        .arg(offset)
        .arg(ignoredEntryMessage(remark));
}

} // namespace folian::unimarc
