#pragma once
// The public catalogue's pages, whole HTML documents in UTF-8, in French or
// in Arabic (right to left). Every value that comes from a reader or from
// the database is escaped; the pages hold no script.

#include "opac/core/opaccatalogue.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace folian::opac {

// The search form alone (`results` null; `askCriterion`: a search was
// asked without any criterion) or with a page of results.
QString searchPage(const QString &base, const Criteria &c, const Choices &choices, const Results *results,
                   bool arabic, bool askCriterion = false);
// One record: its ISBD card and its copies.
QString recordPage(const QString &base, int id, const RecordView &record, bool arabic);
// A refusal or a failure: its status, what went wrong, and the way back.
QString problemPage(const QString &base, int status, const QString &message, bool arabic);

// An answer to a request: status, headers and body.
struct Response {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
};

// The headers every page is sent with: its type and character set, and a
// policy that lets it run no script and load nothing from elsewhere.
QList<QPair<QByteArray, QByteArray>> pageHeaders();

// Whether the answer to a request reads the database (the others are
// answered at once: refusals, unknown pages, the way to the catalogue).
bool readsCatalogue(const Request &request);

// The answer to a request, read through `catalogue` (null for a request
// that reads nothing); `base` is the catalogue's base path. A database
// failure is a 503 page, its reason in `failure` for the log.
Response answer(Catalogue *catalogue, const Request &request, const QString &base, QString *failure);

} // namespace folian::opac
