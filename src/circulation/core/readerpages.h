#pragma once
// The printed pages of the reader screens: the clearance certificate of
// one reader ("quitus.html") and the list of the listed readers
// ("lecteur.html").

#include "reports/core/report.h"

namespace folian {

class Dataset;

// The certificate of the reader, with the text of PARAMETRE.QUITUS. The
// caller has checked that he holds nothing (checkReader, Clearance).
ReportResult writeClearance(Database &db, const QString &readerId);

// The list page of the rows of a reader search (see readerSearchSql),
// every row of the result.
Report readerListReport(Dataset &readers);

} // namespace folian
