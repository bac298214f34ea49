#include "catalogue/unimarc/charset.h"

#include "catalogue/unimarc/iso5426.h"
#include "i18n/core/cp1256.h"

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

bool isValidUtf8(QByteArrayView bytes)
{
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
            return false;
        }
        if (end - p < len || p[1] < lo || p[1] > hi)
            return false;
        for (int k = 2; k < len; ++k)
            if ((p[k] & 0xC0) != 0x80)
                return false;
        p += len;
    }
    return true;
}

Charset chooseCharset(Charset declared, QByteArrayView data)
{
    if (isAscii(data))
        return declared == Charset::Undeclared || declared == Charset::Windows1256 ? Charset::Iso646 : declared;
    const bool utf8 = isValidUtf8(data);
    switch (declared) {
    case Charset::Utf8:
        return utf8 ? Charset::Utf8 : Charset::Windows1256;
    case Charset::Iso646:
    case Charset::Iso5426:
        // ISO 5426 puts its diacritics before an ASCII letter, which UTF-8 never
        // allows: bytes that are valid UTF-8 are UTF-8 whatever the declaration.
        if (utf8)
            return Charset::Utf8;
        return iso5426::plausible(data) ? Charset::Iso5426 : Charset::Windows1256;
    case Charset::Undeclared:
    case Charset::Windows1256:
        break;
    }
    return utf8 ? Charset::Utf8 : Charset::Windows1256;
}

namespace {

// U+0088, U+0089, U+0098 and U+009C, the non-sorting markers as UTF-8 writes them.
bool isMarkerAt(const char *p, const char *end)
{
    if (end - p < 2 || static_cast<unsigned char>(p[0]) != 0xC2)
        return false;
    const auto b = static_cast<unsigned char>(p[1]);
    return iso5426::isNonSortingMarker(b);
}

// Whether UTF-8 text may hold a sequence that NFC changes: the combining
// diacritics U+0300-U+036F and the Arabic madda and hamza marks U+0653-U+0655
// (alef + madda is alef with madda). Other scripts' marks are left as they come.
bool mayNeedComposition(QByteArrayView v)
{
    const qsizetype n = v.size();
    for (qsizetype i = 0; i + 1 < n; ++i) {
        const auto b = static_cast<unsigned char>(v[i]);
        if (b == 0xCC || b == 0xCD)
            return true;
        if (b == 0xD9) {
            const auto c = static_cast<unsigned char>(v[i + 1]);
            if (c >= 0x93 && c <= 0x95)
                return true;
        }
    }
    return false;
}

void appendUtf8(QByteArray &out, QByteArrayView v)
{
    if (isAscii(v)) {
        out.append(v);
        return;
    }
    QByteArray clean;
    const char *p = v.data();
    const char *end = p + v.size();
    bool markers = false;
    for (const char *q = p; q < end; ++q)
        if (isMarkerAt(q, end)) {
            markers = true;
            break;
        }
    if (markers) {
        clean.reserve(v.size());
        for (const char *q = p; q < end;) {
            if (isMarkerAt(q, end)) {
                q += 2;
            } else {
                clean += *q;
                ++q;
            }
        }
        v = clean;
    }
    if (mayNeedComposition(v))
        out += QString::fromUtf8(v).normalized(QString::NormalizationForm_C).toUtf8();
    else
        out.append(v);
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
