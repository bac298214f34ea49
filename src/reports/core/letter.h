#pragma once
// A letter page (a clearance certificate, a reminder): the letterhead, a
// boxed title, the reader's particulars as caption and value, a bold text,
// a table of what the letter is about and a closing line, written like
// every page of the report writer.

#include "reports/core/report.h"

#include <QList>
#include <QPair>
#include <QString>

namespace folian {

struct Letter
{
    QString fileName;    // "quitus.html"
    QString title;       // in the session's language
    // Caption (in the session's language) and value, one table row each.
    QList<QPair<QString, QString>> fields;
    QString text;        // shown in bold, its line breaks kept (CR LF, LF or CR); none when empty
    // A bordered table under the text, as the lists write theirs; none without columns.
    QList<ReportColumn> columns;
    QList<QVariantList> rows;
    QString closing;     // the last line; none when empty
    // Where the letter and its letterhead picture go; empty: the directory of pages.
    QString directory;
};

// Writes the letter, with the letterhead, as `fileName` in its directory.
ReportResult writeLetter(Database &db, const Letter &letter);

} // namespace folian
