#pragma once
// Pages written for the operator: every value escaped, the file in
// Windows-1256 with the characters the code page lacks as numeric
// references, right to left in Arabic.

#include <QString>

namespace folian {

// Escapes &, <, >, " and ' for HTML text and attributes.
QString htmlEscape(const QString &text);
// Every character above ASCII as a numeric reference ("Pr&#233;nom"); the
// rest unchanged.
QString htmlReferences(const QString &text);
// A local file as an escaped URL, ready to stand between quotes in an attribute.
QString htmlFileUrl(const QString &path);

// The first line of every page: the charset declaration, and the
// right-to-left direction in Arabic.
QString htmlPageOpening(bool arabic);

// Writes the page; false when the file cannot be written.
bool writeHtmlPage(const QString &path, const QString &html);
// Reads a page in the character set it declares (windows-1256 or UTF-8;
// undeclared: UTF-8 when valid, else Windows-1256). False when the file
// cannot be read.
bool readHtmlPage(const QString &path, QString *html);

// The page as the preview's rich-text engine must be given it: that engine
// lays table columns out left to right whatever the page's direction, so
// the cells of every row of a right-to-left page are put in reverse order
// and its tables against the right margin. Other pages are returned as
// they are.
QString previewHtml(const QString &html);

} // namespace folian
