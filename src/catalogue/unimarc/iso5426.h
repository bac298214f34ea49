#pragma once
// ISO 5426, the extended Latin set of bibliographic records (G1 in the high
// half, ISO 646 / ASCII in the low half). Its diacritics come BEFORE the
// letter they belong to; Unicode puts combining marks after the letter.

#include <QByteArray>
#include <QByteArrayView>

namespace folian::unimarc::iso5426 {

// The Unicode character of a spacing byte 0x80-0xFF, 0 when undefined.
char16_t spacing(unsigned char byte);
// The combining mark of a diacritic byte (0xC0-0xDF), 0 when the byte is not one.
char16_t combining(unsigned char byte);
// The non-sorting markers (start and end of the part left out of sorting).
constexpr bool isNonSortingMarker(unsigned char b) { return b == 0x88 || b == 0x89 || b == 0x98 || b == 0x9C; }

// Appends the bytes decoded to UTF-8 in NFC, markers removed, undefined bytes as U+FFFD.
void appendAsUtf8(QByteArray &out, QByteArrayView bytes);

} // namespace folian::unimarc::iso5426
