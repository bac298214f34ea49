#pragma once
// A letter page (a clearance certificate, a reminder): the letterhead, a
// boxed title, the reader's particulars as caption and value, a bold text
// and a closing line, written like every page of the report writer.

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
    QString text;        // shown in bold, its line breaks kept; none when empty
    QString closing;     // the last line
};

// Writes the letter to reportPath(letter.fileName), with the letterhead.
ReportResult writeLetter(Database &db, const Letter &letter);

} // namespace folian
