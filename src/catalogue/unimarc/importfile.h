#pragma once
// Importing a file of UNIMARC records: the loop around the record-level
// import, with its log, its counts, its progress and its stop; and the
// forced integration of the duplicates it logged ("Intégrer").

#include "catalogue/unimarc/importer.h"

#include <QList>
#include <QString>

namespace folian {
class Progress;
}

namespace folian::unimarc {

// One line of the import log.
struct ImportLogLine {
    enum class Kind {
        Duplicate,  // "Existe --> " + title: can be integrated from its offset
        Error,      // " Erreur --> " + title and why: the record or one of its rows was not written
        Rejected,   // a record the reader refused
        Remark      // "Remarque --> " + title and what: read otherwise than it says, or not all of it kept
    };
    Kind kind = Kind::Error;
    QString text;         // as the operator reads it
    QString title;
    qint64 offset = -1;   // Duplicate: where the record begins in the file

    // The line as the log keeps it: a duplicate ends with "~" and its offset.
    QString stored() const;
    bool canIntegrate() const { return kind == Kind::Duplicate && offset >= 0; }
};

struct ImportCounts {
    qint64 read = 0;         // records found in the file
    qint64 deleted = 0;      // flagged deleted ("d", "x"): skipped
    qint64 imported = 0;     // stored, or attached to another library's match
    qint64 attached = 0;     // of which attached
    qint64 duplicates = 0;   // found in the catalogue and not stored
    qint64 untitled = 0;     // without title proper: dropped
    qint64 malformed = 0;    // refused by the reader
    qint64 failed = 0;       // could not be written
    qint64 skippedRows = 0;  // rows left out of stored records
    qint64 charsetMismatches = 0;  // records some of whose text was not in the declared set
    qint64 repaired = 0;     // records read without the fields of their damaged directory entries
    qint64 leftOut = 0;      // fields and values the record cannot hold, left out
    bool completed = false;  // the whole file was read
    QString error;           // why the file could not be read to its end

    qint64 rejected() const { return untitled + malformed + failed; }
};

// Imports every record of the file that is not flagged deleted, for
// `options.library`. Lines for duplicates, failures and refused records go to
// `log` (may be null). Each record is atomic; records are committed in
// batches, so a stop keeps every record written before it.
ImportCounts importFile(Database &db, const QString &path, const RecordOptions &options,
                        QList<ImportLogLine> *log, Progress *progress = nullptr);

// Imports, without the duplicate test, the duplicates of `log` at the
// positions `lines` (our own library), reading each from its offset in the
// file through the same splitter; removes from the log only the lines it
// imported. A line whose record is no longer at its offset stays.
ImportCounts integrateDuplicates(Database &db, const QString &path, QList<ImportLogLine> &log,
                                 const QList<int> &lines, Progress *progress = nullptr);

// The closing message of an import: "Importation terminé." or
// "Importation interrompue." with the counts and the reasons of rejection.
QString importSummary(const ImportCounts &counts);
// The closing message of an integration ("Opération terminé.").
QString integrationSummary(const ImportCounts &counts);
// The counts alone, one clause each, for the messages and folianctl.
QString countsText(const ImportCounts &counts);

// The log as a text file, one line each (UTF-8); false when it cannot be written.
bool saveImportLog(const QString &path, const QList<ImportLogLine> &log);

} // namespace folian::unimarc
