#pragma once
// Pages written for the operator: every value escaped, the file in
// Windows-1256 with the characters the code page lacks as numeric
// references, right to left in Arabic.

#include <QString>

namespace folian {

// Escapes &, <, >, " and ' for HTML text and attributes.
QString htmlEscape(const QString &text);

// The opening of a page: charset declaration, direction by language, title.
QString htmlPageHead(const QString &title, bool arabic);

// Writes the page; false when the file cannot be written.
bool writeHtmlPage(const QString &path, const QString &html);

} // namespace folian
