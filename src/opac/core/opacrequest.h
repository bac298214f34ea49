#pragma once
// A reader's request to the public catalogue, read from its method and its
// target (path and query) before anything touches the database, with the
// limits that keep every request short: a target of a few kilobytes, a
// criterion of a few hundred characters and a few words, a page number
// within reach. A request beyond them is refused (400) with its reason.

#include <QByteArray>
#include <QString>

namespace folian::opac {

// The limits of a request.
inline constexpr int kMaxTarget = 4096;      // bytes of the path and query
inline constexpr int kMaxHeaders = 8192;     // bytes of the header lines
inline constexpr int kMaxCriterion = 200;    // characters of one criterion
inline constexpr int kMaxWords = 12;         // words of one criterion
inline constexpr int kMaxPage = 10000;       // the highest page number read
inline constexpr int kPageSize = 20;         // results per page

// The criteria of the public search: the desktop's words and codes.
struct Criteria {
    QString title, author, subject, number;
    QString type;      // TYP_ID, one character
    QString language;  // LAN_ID, three letters
    bool isEmpty() const;
};

enum class Page {
    Home,      // the search form
    Search,    // the form and a page of results
    Record,    // one record with its copies
    Root,      // "/" when the catalogue lives under a directory: sent there
    NotFound,
    Refused    // 400
};

struct Request {
    Page page = Page::NotFound;
    bool arabic = false;
    Criteria criteria;
    int pageNumber = 1;
    int record = 0;     // DOC_ID of a record page
    QString refusal;    // why a refused request is refused, in its language
    int status() const;  // the HTTP status it is answered with
};

// Reads a request: `method` ("GET", ...), `target` as sent ("/opac/search?title=..."),
// `headerBytes` the size of its header lines; `basePath` the catalogue's
// directory (opacBasePath). Only GET and HEAD are answered. The page's
// language is its lang parameter; without one, Arabic when the browser
// prefers it (`acceptLanguage`, its Accept-Language), else French.
Request parseRequest(const QByteArray &method, const QByteArray &target, qsizetype headerBytes,
                     const QString &basePath, const QByteArray &acceptLanguage = {});

// The query of a search page for these criteria in a language, from page
// `page` (1: no page parameter), every value percent-encoded.
QString searchQuery(const Criteria &c, bool arabic, int page = 1);

} // namespace folian::opac
