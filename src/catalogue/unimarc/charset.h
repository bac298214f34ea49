#pragma once
// The character sets of UNIMARC records. A record declares its set in field
// 100 $a, positions 26-29 ("01" ISO 646, "03" ISO 5426, "50" UTF-8); many
// files declare one set and hold another, so the declaration is checked
// against the bytes before it is believed.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace folian::unimarc {

enum class Charset {
    Undeclared,   // no 100 $a, or no set this system knows at 26-29
    Iso646,       // "01": ASCII only
    Iso5426,      // "03" (usually with "01" as G0)
    Utf8,         // "50"
    Windows1256,  // never declared; what remains for bytes that fit nothing else
};

QString charsetName(Charset c);

// The set that 100 $a declares (the value's raw bytes; positions 26-29).
Charset declaredCharset(QByteArrayView field100a);

bool isAscii(QByteArrayView bytes);

// What one pass over the bytes finds.
struct TextFacts {
    bool ascii = true;
    bool utf8 = true;       // valid UTF-8
    bool cleanUtf8 = true;  // without non-sorting markers or marks that NFC may compose
};
TextFacts examine(QByteArrayView bytes);
inline bool isValidUtf8(QByteArrayView bytes) { return examine(bytes).utf8; }

// The set to decode with: the declared one when the bytes fit it, else UTF-8
// when they are valid UTF-8, else Windows-1256. `data` is every byte of the
// record's fields.
Charset chooseCharset(Charset declared, QByteArrayView data, const TextFacts &facts);
inline Charset chooseCharset(Charset declared, QByteArrayView data) { return chooseCharset(declared, data, examine(data)); }

// Appends `bytes` (one value) decoded from `charset` as UTF-8 in NFC, without
// the non-sorting markers.
void appendDecoded(QByteArray &out, QByteArrayView bytes, Charset charset);
inline QByteArray decoded(QByteArrayView bytes, Charset charset)
{
    QByteArray out;
    appendDecoded(out, bytes, charset);
    return out;
}

} // namespace folian::unimarc
