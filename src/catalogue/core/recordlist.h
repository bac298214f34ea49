#pragma once
// The list of records "liste.html": standard number, title, main author,
// first shelf mark and number of copies of each record of a search's
// result or of the basket.

#include "catalogue/core/recordsearch.h"
#include "reports/core/report.h"

#include <QList>

namespace folian {

// The page for the records the criteria find, in the order of their sort.
bool recordListReport(const Dialect &d, const RecordCriteria &c, Report *out, QString *why);
// The page for the records of the basket, in its order: their rows are
// read by batches (a basket may hold a whole result). False with the reason
// when they cannot be read.
bool basketListReport(Database &db, const QList<int> &ids, Report *out, QString *why);

} // namespace folian
