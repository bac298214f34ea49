#pragma once
// Windows-1256, the Arabic code page of the files the system exchanges.

#include <QByteArray>
#include <QString>

namespace folian {

// The character of one byte.
char16_t cp1256Char(unsigned char byte);
QString decodeCp1256(const QByteArray &bytes);
// Characters the code page lacks become numeric character references
// (`&#233;`) when `htmlReferences`, else '?'.
QByteArray encodeCp1256(const QString &text, bool htmlReferences = true);
// UTF-16 when the bytes begin with its byte-order mark (either order),
// UTF-8 when they are valid UTF-8 (a mark is dropped), else Windows-1256.
QString decodeText(const QByteArray &bytes);

} // namespace folian
