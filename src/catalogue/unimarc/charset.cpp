#include "catalogue/unimarc/charset.h"

#include "catalogue/unimarc/iso5426.h"
#include "base/cp1256.h"

#include <cstring>

namespace folian::unimarc {

QString charsetName(Charset c)
{
    switch (c) {
    case Charset::Undeclared: return QStringLiteral("undeclared");
    case Charset::Iso646: return QStringLiteral("ISO 646");
    case Charset::Iso5426: return QStringLiteral("ISO 5426");
    case Charset::Utf8: return QStringLiteral("UTF-8");
    case Charset::Windows1256: return QStringLiteral("Windows-1256");
    }
    return QString();
}

Charset declaredCharset(QByteArrayView a)
{
    if (a.size() < 28)
        return Charset::Undeclared;
    const QByteArrayView g0 = a.sliced(26, 2);
    const QByteArrayView g1 = a.size() >= 30 ? a.sliced(28, 2) : QByteArrayView();
    if (g0 == "50" || g1 == "50")
        return Charset::Utf8;
    if (g0 == "03" || g1 == "03")
        return Charset::Iso5426;
    if (g0 == "01" || g1 == "01")
        return Charset::Iso646;
    return Charset::Undeclared;
}

bool isAscii(QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        quint64 w;
        std::memcpy(&w, p, 8);
        if (w & 0x8080808080808080ULL)
            return false;
    }
    for (; n > 0; ++p, --n)
        if (static_cast<unsigned char>(*p) & 0x80)
            return false;
    return true;
}

TextFacts examine(QByteArrayView bytes)
{
    TextFacts facts;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *end = p + bytes.size();
    while (p < end) {
        if (end - p >= 8) {
            quint64 w;
            std::memcpy(&w, p, 8);
            if (!(w & 0x8080808080808080ULL)) {
                p += 8;
                continue;
            }
        }
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        facts.ascii = false;
        int len;
        unsigned char lo = 0x80, hi = 0xBF;  // bounds of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0)
                lo = 0xA0;  // no overlong forms
            else if (b == 0xED)
                hi = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0)
                lo = 0x90;
            else if (b == 0xF4)
                hi = 0x8F;  // nothing above U+10FFFF
        } else {
            facts.utf8 = false;
            return facts;
        }
        bool valid = end - p >= len && p[1] >= lo && p[1] <= hi;
        for (int k = 2; valid && k < len; ++k)
            valid = (p[k] & 0xC0) == 0x80;
        if (!valid) {
            facts.utf8 = false;
            return facts;
        }
        // The non-sorting markers U+0088, U+0089, U+0098, U+009C; the combining
        // diacritics U+0300-U+036F; the Arabic madda and hamza marks U+0653-U+0655
        // (alef + madda is alef with madda). Other scripts' marks are left as they come.
        if ((b == 0xC2 && iso5426::isNonSortingMarker(p[1])) || b == 0xCC || b == 0xCD ||
            (b == 0xD9 && p[1] >= 0x93 && p[1] <= 0x95))
            facts.cleanUtf8 = false;
        p += len;
    }
    return facts;
}

Charset chooseCharset(Charset declared, QByteArrayView data, const TextFacts &facts)
{
    if (facts.ascii)
        return declared == Charset::Undeclared || declared == Charset::Windows1256 ? Charset::Iso646 : declared;
    switch (declared) {
    case Charset::Utf8:
        return facts.utf8 ? Charset::Utf8 : Charset::Windows1256;
    case Charset::Iso646:
    case Charset::Iso5426:
        // ISO 5426 puts its diacritics before an ASCII letter, which UTF-8 never
        // allows: bytes that are valid UTF-8 are UTF-8 whatever the declaration.
        if (facts.utf8)
            return Charset::Utf8;
        return iso5426::plausible(data) ? Charset::Iso5426 : Charset::Windows1256;
    case Charset::Undeclared:
    case Charset::Windows1256:
        break;
    }
    return facts.utf8 ? Charset::Utf8 : Charset::Windows1256;
}

namespace {

// Valid UTF-8 without the non-sorting markers, in NFC.
void appendUtf8(QByteArray &out, QByteArrayView v)
{
    if (examine(v).cleanUtf8) {
        out.append(v);
        return;
    }
    QByteArray clean;
    clean.reserve(v.size());
    const char *end = v.data() + v.size();
    for (const char *q = v.data(); q < end; ++q) {
        if (static_cast<unsigned char>(q[0]) == 0xC2 && q + 1 < end &&
            iso5426::isNonSortingMarker(static_cast<unsigned char>(q[1])))
            ++q;
        else
            clean += *q;
    }
    out += QString::fromUtf8(clean).normalized(QString::NormalizationForm_C).toUtf8();
}

} // namespace

void appendDecoded(QByteArray &out, QByteArrayView bytes, Charset charset)
{
    switch (charset) {
    case Charset::Utf8:
        appendUtf8(out, bytes);
        return;
    case Charset::Iso5426:
        if (isAscii(bytes))
            out.append(bytes);
        else
            iso5426::appendAsUtf8(out, bytes);
        return;
    case Charset::Windows1256:
        out += decodeCp1256(bytes.toByteArray()).toUtf8();
        return;
    case Charset::Iso646:
    case Charset::Undeclared:
        break;
    }
    if (isAscii(bytes))
        out.append(bytes);
    else
        iso5426::appendAsUtf8(out, bytes);  // stray high bytes read as the usual companion set
}

} // namespace folian::unimarc
