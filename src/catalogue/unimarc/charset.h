#pragma once
// The character sets of UNIMARC records. A record declares its set in field
// 100 $a, positions 26-29 ("01" ISO 646, "03" ISO 5426, "50" UTF-8); many
// files declare one set and hold another, and some hold several (a note
// added in Latin-1 to a record in UTF-8). Each field is read in the
// declared set when its bytes are valid there; a field that is not is read
// in the set its bytes fit best, without changing how the other fields are
// read.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace folian::unimarc {

enum class Charset {
    Undeclared,   // no 100 $a, or no set this system knows at 26-29
    Iso646,       // "01": ASCII only
    Iso5426,      // "03" (usually with "01" as G0)
    Utf8,         // "50"
    Windows1256,  // never declared: Arabic text of older systems
    Windows1252,  // never declared: Latin-1 and its Windows superset
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

// How well bytes that are not UTF-8 read in each single-byte set, from
// their structure: ISO 5426 writes a non-spacing diacritic (0xC1-0xDF)
// before its base letter; the accented letters of Windows-1252 stand alone
// inside Latin words; Windows-1256 writes Arabic words as runs of bytes of
// its Arabic ranges. Higher is likelier; bytes a set leaves undefined count
// against it.
struct SingleByteScores {
    int iso5426 = 0;
    int windows1252 = 0;
    int windows1256 = 0;

    int of(Charset c) const;
    SingleByteScores &operator+=(const SingleByteScores &o);
};
// One value (the bytes of a subfield, or of a control field).
SingleByteScores scoreSingleByte(QByteArrayView value);

// The single-byte set of a field from its scores: the best one, ties going
// to the best of the whole record (`record`, the sum over its fields that
// are not UTF-8), then to the declared set, then Windows-1252, ISO 5426,
// Windows-1256 in that order.
Charset likeliestSingleByte(const SingleByteScores &field, const SingleByteScores &record, Charset declared);

// Appends `bytes` (one value) decoded from `charset` as UTF-8 in NFC, without
// the non-sorting markers. A value of a single-byte field that is itself
// valid UTF-8 (one subfield added later by another system) is read as UTF-8.
void appendDecoded(QByteArray &out, QByteArrayView bytes, Charset charset);
inline QByteArray decoded(QByteArrayView bytes, Charset charset)
{
    QByteArray out;
    appendDecoded(out, bytes, charset);
    return out;
}

} // namespace folian::unimarc
