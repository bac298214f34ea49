#pragma once
// The small data-access and text helpers every screen and service calls.

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

namespace folian {

class Database;

// SQL text with its bound values.
struct SqlText {
    QString sql;
    QVariantList binds;
};

// Largest key + 1: runs "SELECT " + expression + "FROM " + table (+ extra),
// NULL counts as 0; any failure gives 1.
int NextId(Database &db, const QString &table, const QString &expression,
           const QString &extra = QString());

// The status-bar count line " label : count unit"; empty when the count fails.
QString LookupCountText(Database &db, const QString &table, const QString &label, const QString &unit);
// Writes the count line into status panel 2 through the installed writer;
// a failed count leaves the panel unchanged.
void LookupCount(Database &db, const QString &table, const QString &label, const QString &unit);
// The main window installs the writer of its status panels.
void setStatusPanelWriter(std::function<void(int panel, const QString &text)> writer);
void writeStatusPanel(int panel, const QString &text);

// Server date and time (PostgreSQL) or today's date at midnight (SQLite);
// a null QVariant when not connected or on failure.
QVariant ServerDate(Database &db);

// Today, as the server sees it (the workstation's date on the embedded
// engine); the workstation's date when the server cannot be asked.
QDate serverToday(Database &db);

// A day as a bound value of a date column.
QVariant dateValue(Database &db, const QDate &d);

// True when the value is NULL or its text, trimmed, is empty.
bool IsBlank(const QVariant &v);

// Skips separators from `pos` (1-based), returns the characters up to the
// next separator and leaves `pos` one past it; empty at the end of the text.
QString NextToken(const QString &text, int &pos, const QString &separators);

// Replaces each character of `chars` by `replacement` (empty deletes them).
QString ReplaceChars(const QString &text, const QString &chars, const QString &replacement = QString());

// Decimal of |n| left-padded with zeros to `width`; never truncated.
QString ZeroPad(qint64 n, int width);

// XOR of every character with a one-byte key: its own inverse.
QString ScrambleText(const QString &text, unsigned char key);
// The key with which passwords were scrambled before they were hashed.
constexpr unsigned char PasswordKey = 0x5A;

// Keyword text: each word of the source between slashes, concatenated.
QString BuildKeywords(const QString &text);
// The keywords of a record (DOC_KEYWORDS): the words of its four titles.
QString RecordKeywords(const QString &titreProp, const QString &complement, const QString &parallele,
                       const QString &ensemble);
// The word separators of the keyword columns (the typographic apostrophes
// ’ and ʼ with the plain one).
const QString &KeywordSeparators();

// A standard number (ISBN, ISSN, ...) as stored: the number without blanks,
// hyphens and full stops, then its qualifier in parentheses as given, after
// one blank ("2-07-036024-8 (br.)" is "2070360248 (br.)"); NULL stays NULL.
QVariant NormaliseStandardNumber(const QVariant &v);
// The number of a standard number, as numbers are compared: stored form
// without its qualifier ("2070360248"). Comparisons ignore case as well.
QString StandardNumberKey(const QString &text);
// The qualifier of a standard number, without its parentheses ("br."); empty when none.
QString StandardNumberQualifier(const QString &text);


// Is a resource link an address rather than a file: a scheme of two or more
// letters ("http:", "ftp:", "mailto:", "file:", ...) or a name beginning
// with "www."? A drive letter ("C:\\...") is a file.
bool IsResourceAddress(const QString &link);
// The address a preview may open for a link: a web (http, https) or mail
// (mailto) address, a name beginning with "www." standing for its http
// address. Anything else (a local file, a relative path, another scheme) is
// no link there, only text: an invalid URL.
QUrl SafeLinkUrl(const QString &link);
// The stored form of a resource link: an address is kept whole, a file path
// is cut to its file name; a link that is neither (an address miswritten
// "http.//...") is kept as given; blank stays as it is.
QVariant ResourceLinkName(const QVariant &v);

// A criterion typed by the operator as a LIKE pattern: "*" is the wildcard;
// "%", "_" and "\\" stand for themselves (escaped with "\\"). With
// `contains`, the pattern matches anywhere in the text.
QString LikePattern(const QString &typed, bool contains = false);

// Equality of two field values across the engines' representations.
bool sameValue(const QVariant &a, const QVariant &b);

} // namespace folian
