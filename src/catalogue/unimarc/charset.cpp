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
    case Charset::Windows1252: return QStringLiteral("Windows-1252");
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

namespace {

bool isAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isSmallAscii(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool isCapitalAscii(unsigned char c) { return c >= 'A' && c <= 'Z'; }

// Windows-1252 bytes 0x80-0x9F (0 where undefined); from 0xA0 it is Latin-1.
constexpr char16_t k1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t cp1252Char(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? k1252[b - 0x80] : char16_t(b);
}

bool isArabic1256(unsigned char b)
{
    return b >= 0x80 && QChar(cp1256Char(b)).script() == QChar::Script_Arabic;
}

bool isCasedLetter(QChar c)
{
    return c.category() == QChar::Letter_Uppercase || c.category() == QChar::Letter_Lowercase;
}

// A letter of a Latin set between its neighbours `p` and `q`: likely
// beside an ASCII letter, unlikely against the case of the word or
// between two other high bytes.
int latinLetter(QChar c, unsigned char p, unsigned char q)
{
    if ((c.isUpper() && isSmallAscii(p)) || (c.isLower() && isCapitalAscii(q)))
        return -2;
    if (isAsciiLetter(p) || isAsciiLetter(q))
        return 2;
    if (p >= 0x80 && q >= 0x80)
        return -1;
    return 0;
}

// A typographic apostrophe or quote inside a word ("l\x92enfant").
int quoteInWord(unsigned char b, unsigned char p, unsigned char q)
{
    return (b == 0x91 || b == 0x92) && isAsciiLetter(p) && isAsciiLetter(q) ? 2 : 0;
}

bool isAsciiVowel(unsigned char c) { return c && std::strchr("aeiouyAEIOUY", c); }

// The capital vowels with an accent of Latin-1 (À-Å, È-Ï, Ò-Ö, Ù-Ü): the
// bytes of the ISO 5426 diacritics that go on vowels.
bool isAccentedCapitalVowel(unsigned char b)
{
    return (b >= 0xC0 && b <= 0xC5) || (b >= 0xC8 && b <= 0xCF) || (b >= 0xD2 && b <= 0xD6) || (b >= 0xD9 && b <= 0xDC);
}

int score1252(unsigned char b, unsigned char p, unsigned char q)
{
    const char16_t u = cp1252Char(b);
    if (!u)
        return -4;
    // An accented capital vowel before a vowel is a diacritic before its letter.
    if (isAccentedCapitalVowel(b) && isAsciiVowel(q))
        return -2;
    if (isCasedLetter(QChar(u)))
        return latinLetter(QChar(u), p, q);
    return quoteInWord(b, p, q);
}

int score1256(unsigned char b, unsigned char p, unsigned char q)
{
    const QChar c(cp1256Char(b));
    if (c.script() == QChar::Script_Arabic) {
        if (isArabic1256(p) || isArabic1256(q))
            return 2;
        if (isAsciiLetter(p) && isAsciiLetter(q))
            return -2;
        return isAsciiLetter(p) || isAsciiLetter(q) ? -1 : 0;
    }
    if (isCasedLetter(c))  // the French letters the code page shares with Latin-1
        return latinLetter(c, p, q);
    return quoteInWord(b, p, q);
}

// A diacritic and the letter it comes before: a letter of the Latin
// alphabets of Western and Central Europe, another letter, or nothing.
int composedScore(char16_t mark, unsigned char base)
{
    const QString pair = QString(QChar(char16_t(base))) + QChar(mark);
    const QString composed = pair.normalized(QString::NormalizationForm_C);
    if (composed.size() != 1)
        return 0;
    return composed.at(0).unicode() >= 0x00C0 && composed.at(0).unicode() < 0x0180 ? 3 : 1;
}

int score5426(QByteArrayView v, qsizetype i, unsigned char p)
{
    const auto b = static_cast<unsigned char>(v[i]);
    if (iso5426::isNonSortingMarker(b))
        return 1;
    if (const char16_t mark = iso5426::combining(b)) {
        qsizetype j = i + 1;
        while (j < v.size() && iso5426::combining(static_cast<unsigned char>(v[j])))
            ++j;
        const unsigned char base = j < v.size() ? static_cast<unsigned char>(v[j]) : 0;
        if (isAsciiLetter(base))
            return composedScore(mark, base);
        if (base >= 0xE0 && iso5426::spacing(base))
            return 1;
        return -4;
    }
    const char16_t u = iso5426::spacing(b);
    if (!u)
        return -4;
    if (b >= 0xE0 && QChar(u).isUpper() && isSmallAscii(p))
        return -2;  // a special capital inside a small word: Latin-1 é read as Ø
    return 0;
}

} // namespace

int SingleByteScores::of(Charset c) const
{
    switch (c) {
    case Charset::Iso5426: return iso5426;
    case Charset::Windows1252: return windows1252;
    case Charset::Windows1256: return windows1256;
    default: return 0;
    }
}

SingleByteScores &SingleByteScores::operator+=(const SingleByteScores &o)
{
    iso5426 += o.iso5426;
    windows1252 += o.windows1252;
    windows1256 += o.windows1256;
    return *this;
}

SingleByteScores scoreSingleByte(QByteArrayView v)
{
    SingleByteScores s;
    const qsizetype n = v.size();
    auto at = [&](qsizetype i) -> unsigned char { return i >= 0 && i < n ? static_cast<unsigned char>(v[i]) : 0; };
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char b = at(i);
        if (b < 0x80)
            continue;
        const unsigned char p = at(i - 1), q = at(i + 1);
        s.iso5426 += score5426(v, i, p);
        s.windows1252 += score1252(b, p, q);
        s.windows1256 += score1256(b, p, q);
    }
    return s;
}

Charset likeliestSingleByte(const SingleByteScores &field, const SingleByteScores &record, Charset declared)
{
    Charset order[4];
    int n = 0;
    if (declared == Charset::Iso5426)
        order[n++] = declared;
    for (const Charset c : {Charset::Windows1252, Charset::Iso5426, Charset::Windows1256})
        if (c != declared)
            order[n++] = c;
    Charset best = order[0];
    for (int k = 1; k < n; ++k) {
        const Charset c = order[k];
        const int byField = field.of(c) - field.of(best);
        if (byField > 0 || (byField == 0 && record.of(c) > record.of(best)))
            best = c;
    }
    return best;
}

namespace {

// Valid UTF-8 without the non-sorting markers, in NFC.
void appendUtf8(QByteArray &out, QByteArrayView v, const TextFacts &facts)
{
    if (facts.cleanUtf8) {
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
    if (isAscii(bytes)) {
        out.append(bytes);
        return;
    }
    const TextFacts facts = examine(bytes);
    if (charset == Charset::Utf8 || facts.utf8) {
        if (facts.utf8) {
            appendUtf8(out, bytes, facts);
            return;
        }
        charset = Charset::Windows1252;  // not UTF-8 after all: never lost as U+FFFD
    }
    switch (charset) {
    case Charset::Windows1256:
        out += decodeCp1256(bytes.toByteArray()).toUtf8();
        return;
    case Charset::Windows1252: {
        QString text;
        text.reserve(bytes.size());
        for (const char c : bytes) {
            const char16_t u = cp1252Char(static_cast<unsigned char>(c));
            text += QChar(u ? u : char16_t(0xFFFD));
        }
        out += text.toUtf8();
        return;
    }
    case Charset::Iso5426:
    case Charset::Iso646:
    case Charset::Undeclared:
    case Charset::Utf8:
        break;
    }
    iso5426::appendAsUtf8(out, bytes);  // stray high bytes read as the usual companion set
}

} // namespace folian::unimarc
