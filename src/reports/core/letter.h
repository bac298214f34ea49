#pragma once
// A letter page (a clearance certificate, a reminder, a claim): the
// letterhead, a boxed title, the particulars of whom it is sent to as
// caption and value, a bold text, the tables of what the letter is about,
// each under its caption, and a closing line, written like every page of
// the report writer.

#include "reports/core/report.h"

#include <QList>
#include <QPair>
#include <QString>

namespace folian {

// A bordered table of a letter, as the lists write theirs, under its
// caption (none when empty).
struct LetterSection
{
    QString caption;     // in the session's language
    QList<ReportColumn> columns;
    QList<QVariantList> rows;
};

struct Letter
{
    QString fileName;    // "quitus.html"
    QString title;       // in the session's language
    // Caption (in the session's language) and value, one table row each.
    QList<QPair<QString, QString>> fields;
    QString text;        // shown in bold, its line breaks kept (CR LF, LF or CR); none when empty
    // The tables under the text, in this order.
    QList<LetterSection> tables;
    QString closing;     // the last line; none when empty
    // Where the letter and its letterhead picture go; empty: the directory of pages.
    QString directory;
};

// Writes the letter, with the letterhead, as `fileName` in its directory.
ReportResult writeLetter(Database &db, const Letter &letter);

} // namespace folian
