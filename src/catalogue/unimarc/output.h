#pragma once
// The UNIMARC output of a stored record: its fields, shown as tagged HTML
// (every value escaped) or written in the ISO 2709 exchange structure, and
// the export of records one after the other into a file that the import
// reads back.

#include "catalogue/unimarc/storedrecord.h"
#include "catalogue/unimarc/writer.h"

namespace folian {
class Progress;
}

namespace folian::unimarc {

// The fields of the record in output order, with its leader.
// `classification` is PARAMETRE.CLASSIFICATION (the tag of the indices).
Record unimarcRecord(const StoredRecord &record, int classification);

// The tagged display, "<p>", one line per field, "</p>": every value
// escaped; a resource's web or mail address is a link (SafeLinkUrl), a
// file or any other address is shown as text.
QString unimarcHtml(const StoredRecord &record, int classification);

// The ISO 2709 bytes of the record, in UTF-8 and declaring it in field 100.
WriteResult exchangeRecord(const StoredRecord &record, int classification);

struct ExportCounts {
    qint64 written = 0;
    qint64 failed = 0;       // records missing or that could not be written
    QStringList failures;    // one line each: the record and why
    qint64 incomplete = 0;   // of the written records, those written without fields the format cannot hold
    QStringList leftOut;     // one line each: the record and what was left out
    bool completed = false;  // every record asked for was tried
    QString error;           // the file could not be written
};

// Writes the records `ids` one after the other into `path` (replaced).
ExportCounts exportRecords(Database &db, const QString &path, const QList<int> &ids, Progress *progress = nullptr);
// Every DOC_ID of the catalogue, in order.
QList<int> allRecordIds(Database &db, QString *why = nullptr);
// "Exportation terminé." or "Exportation interrompue." with the counts.
QString exportSummary(const ExportCounts &counts);

} // namespace folian::unimarc
