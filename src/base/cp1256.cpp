#include "base/cp1256.h"

#include <QHash>
#include <QStringDecoder>

namespace folian {

namespace {
// Windows-1256 bytes 0x80..0xFF as Unicode; below 0x80 it is ASCII.
constexpr char16_t kHigh[128] = {
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688,
    0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA,
    0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F,
    0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F,
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7,
    0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643,
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF,
    0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7,
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2,
};
} // namespace

char16_t cp1256Char(unsigned char b)
{
    return b < 0x80 ? char16_t(b) : kHigh[b - 0x80];
}

QString decodeCp1256(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        out += QChar(cp1256Char(static_cast<unsigned char>(c)));
    return out;
}

QByteArray encodeCp1256(const QString &text, bool htmlReferences)
{
    QByteArray out;
    out.reserve(text.size());
    const QList<uint> codes = text.toUcs4();
    for (const uint u : codes) {
        if (u < 0x80) {
            out += char(u);
            continue;
        }
        static const QHash<uint, char> reverse = [] {
            QHash<uint, char> r;
            for (int i = 0; i < 128; ++i)
                r.insert(kHigh[i], char(0x80 + i));
            return r;
        }();
        const auto found = reverse.constFind(u);
        if (found != reverse.constEnd())
            out += *found;
        else if (htmlReferences)
            out += "&#" + QByteArray::number(u) + ';';
        else
            out += '?';
    }
    return out;
}

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        return utf16(bytes.mid(2));
    }
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(b);
    return utf8.hasError() ? decodeCp1256(b) : text;
}

} // namespace folian
