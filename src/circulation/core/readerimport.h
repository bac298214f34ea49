#pragma once
// Reader import: a text file of readers, one a line, the fields separated
// by ";" and trimmed: number; surname; first name; date of birth; address.
// Text after a fifth ";" is ignored, missing trailing fields stay empty,
// blank lines are skipped. Lines end with LF, CR LF or CR alone. The file
// is UTF-16 when it begins with its byte-order mark, UTF-8 when its bytes
// are valid UTF-8 (with or without a mark), else Windows-1256.
//
// Every reader gets the chosen category, the chosen structure (if any),
// the registration date, and the defaults of a new reader. A line that
// cannot be imported (no number, a number already taken, by a reader or
// by an earlier line, a date of birth that cannot be read, a text too long
// for its field, a NUL character) is skipped and listed with its line
// number and the reason. The rows are saved as the file is read, in
// batches that each hold the category and the structure (neither is
// deleted meanwhile; the import stops when one is gone), so a stop keeps
// every row saved before it.

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

namespace folian {

class Database;
class Progress;

struct ReaderImportOptions {
    int categoryId = 0;
    QVariant structureId;    // none when null
    QDate registrationDate;  // today (server date) when not valid
};

struct SkippedLine {
    int line = 0;            // 1-based, blank lines counted
    QString reason;
};

struct ReaderImportResult {
    bool readable = false;   // the file could be read
    QString error;           // why not, or why the import could not start
    bool stopped = false;
    int lines = 0;           // lines read, blank ones included
    int blank = 0;
    int imported = 0;
    QList<SkippedLine> skipped;

    // "Importation terminé." or "Importation interrompue.", then the counts.
    QString summary() const;
    // One line per skipped line: "Ligne 4 : ...".
    QStringList skippedLines() const;
};

// A date of birth as the file gives it: day/month/year with "/", "-" or
// "." (a two-digit year put in the last hundred years), or
// year-month-day, whatever the workstation's locale. Invalid otherwise.
QDate parseImportDate(const QString &text);

// Imports the file. `progress` hears of each line and may stop the import.
ReaderImportResult importReaders(Database &db, const QString &path, const ReaderImportOptions &options,
                                 Progress *progress = nullptr);

} // namespace folian
