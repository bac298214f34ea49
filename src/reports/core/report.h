#pragma once
// The report writer: a list of rows written as one HTML page in the
// operator's directory of pages, in the session's language. Every printed
// list of the system (readers, loans, reminders, statistics, acquisition
// lists) is a Report given to writeReport(); the screen then previews the
// page, or shows the message of a failure.
//
// The page, one line each: the opening (right to left in Arabic), the
// letterhead when asked, the title, the table with its header row and one
// row per record, the closing. Values are escaped; the file is Windows-1256
// with numeric references for what the code page lacks.

#include <QList>
#include <QString>
#include <QVariant>

namespace folian {

class Database;
class Progress;

enum class ColumnKind {
    Text,    // the value as it stands
    Number,  // the value as it stands, centred
    Rate,    // a ratio in fixed notation with two decimals ("12.50"), centred
    Date,    // a day in the workstation's short date format
    Money,   // an amount with two decimals ("1850.00"), exact, centred
    Code     // replaced by its label in a reference table
};

// Where the label of a code column is read: `label` + the session's
// language suffix, from `table`, for the row whose `key` is the value.
struct CodeLookup
{
    QString table;
    QString key;
    QString label;
};

struct ReportColumn
{
    QString french;
    QString arabic;        // empty: the French title
    int width = 0;         // header cell width; 0 writes none
    ColumnKind kind = ColumnKind::Text;
    bool centered = false; // Number and Rate columns are centred whatever this says
    CodeLookup lookup;     // for Code columns
};

// A column of these titles, width and kind.
ReportColumn reportColumn(const QString &french, const QString &arabic, int width,
                          ColumnKind kind = ColumnKind::Text);

struct Report
{
    QString fileName;      // "lecteur.html"
    QString french;        // title of the page
    QString arabic;        // empty: the French title
    bool letterhead = false;
    // Empty with a query: the query's own columns, as text titled by their names.
    QList<ReportColumn> columns;
    // The rows: a query (its columns in the order of `columns`) with its
    // bound values, or, when `sql` is empty, the rows given here.
    QString sql;
    QVariantList binds;
    QList<QVariantList> rows;
    // Where the page and its letterhead picture go; empty: the directory of pages.
    QString directory;

    // The title in the session's language.
    QString title() const;
};

struct ReportResult
{
    enum class Status { Written, Stopped, Failed };
    Status status = Status::Failed;
    QString path;          // the page (written only with Written)
    int rows = 0;          // rows written
    QString message;       // why it failed, in the session's language

    bool written() const { return status == Status::Written; }
};

// Writes the letterhead picture PARAMETRE.ENTETE as "entete.bmp" in
// `directory` (empty: the directory of pages). `path` is the picture, empty
// when none is set; on failure (false) it is the file that could not be
// written.
bool writeLetterhead(Database &db, QString *path, const QString &directory = QString());
// The centred picture and the blank paragraph under it; empty without a picture.
QString letterheadHtml(const QString &picture);

// The header row of a table of these columns, and the row of one record,
// as the pages write them (for tables inside other pages, such as letters).
// Code columns show nothing here: their labels are read by writeReport.
QString reportHeaderRow(const QList<ReportColumn> &columns);
QString reportBodyRow(const QList<ReportColumn> &columns, const QVariantList &row);

// Writes the page of `report` to reportPath(report.fileName) (or into its
// directory). After each
// row `progress` is told "Création [page] : n" and asked whether to stop;
// a stopped or failed run leaves the previous page as it was.
ReportResult writeReport(Database &db, const Report &report, Progress *progress = nullptr);

} // namespace folian
