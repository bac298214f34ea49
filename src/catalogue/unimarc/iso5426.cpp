#include "catalogue/unimarc/iso5426.h"

#include <QString>

namespace folian::unimarc::iso5426 {

namespace {

// Bytes 0xA0-0xBF: punctuation and signs.
constexpr char16_t kSigns[32] = {
    0,      0x00A1, 0x201E, 0x00A3, 0x0024, 0x00A5, 0x2020, 0x00A7,  // A0-A7
    0x2032, 0x2018, 0x201C, 0x00AB, 0x266D, 0x00A9, 0x2117, 0x00AE,  // A8-AF
    0x02BB, 0x02BC, 0x201A, 0,      0,      0,      0x2021, 0x00B7,  // B0-B7
    0x2033, 0x2019, 0x201D, 0x00BB, 0x266F, 0x02B9, 0x02BA, 0x00BF,  // B8-BF
};

// Bytes 0xC0-0xDF: non-spacing diacritics, written before their letter.
constexpr char16_t kMarks[32] = {
    0x0309, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307,  // C0 hook, grave, acute, circumflex, tilde, macron, breve, dot
    0x0308, 0x0308, 0x030A, 0x0315, 0x0313, 0x030B, 0x031B, 0x030C,  // C8 diaeresis, umlaut, ring, comma right, high comma, double acute, horn, caron
    0x0327, 0x031C, 0x0326, 0x0328, 0x0325, 0x032E, 0x0323, 0x0324,  // D0 cedilla, left hook, right hook, ogonek, ring below, breve below, dot below, double dot below
    0x0332, 0x0333, 0x0329, 0x032D, 0,      0x0360, 0,      0,       // D8 underline, double underline, vertical line below, circumflex below, -, double tilde
};

// Bytes 0xE0-0xFF: special letters.
constexpr char16_t kLetters[32] = {
    0,      0x00C6, 0x0110, 0,      0,      0,      0x0132, 0x013F,  // E0 -, Æ, Đ, -, -, -, Ĳ, Ŀ
    0x0141, 0x00D8, 0x0152, 0,      0x00DE, 0,      0,      0,       // E8 Ł, Ø, Œ, -, Þ
    0,      0x00E6, 0x0111, 0x00F0, 0,      0x0131, 0x0133, 0x0140,  // F0 -, æ, đ, ð, -, ı, ĳ, ŀ
    0x0142, 0x00F8, 0x0153, 0x00DF, 0x00FE, 0,      0,      0,       // F8 ł, ø, œ, ß, þ
};

} // namespace

char16_t spacing(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b >= 0xA0 && b < 0xC0)
        return kSigns[b - 0xA0];
    if (b >= 0xE0)
        return kLetters[b - 0xE0];
    return 0;
}

char16_t combining(unsigned char b)
{
    return b >= 0xC0 && b < 0xE0 ? kMarks[b - 0xC0] : 0;
}

void appendAsUtf8(QByteArray &out, QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    bool marks = false;
    char16_t pending[8];
    int npending = 0;
    auto flush = [&] {
        for (int k = 0; k < npending; ++k)
            text += QChar(pending[k]);
        npending = 0;
    };
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (isNonSortingMarker(b))
            continue;
        if (const char16_t m = combining(b)) {
            if (npending == int(std::size(pending)))
                flush();  // a run that long is garbage; keep the marks, unattached
            pending[npending++] = m;
            marks = true;
            continue;
        }
        const char16_t u = spacing(b);
        text += QChar(u ? u : char16_t(0xFFFD));
        flush();  // the marks go after their letter
    }
    flush();
    out += (marks ? text.normalized(QString::NormalizationForm_C) : text).toUtf8();
}

} // namespace folian::unimarc::iso5426
