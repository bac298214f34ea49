#pragma once
// The nine lists of the circulation editions: documents borrowed, overdue,
// lost and reserved; readers suspended, penalised and late; inter-library
// loans open and overdue. Each is one query, shown in the editions screen's
// grid and written as its page by the report writer, so that the screen and
// the page always list the same rows.

#include "circulation/core/readers.h"
#include "reports/core/report.h"

#include <QDate>
#include <QList>
#include <QString>

namespace folian {

class Dialect;

enum class CirculationList {
    Borrowed,             // "Documents empruntés"
    Overdue,              // "Documents non remis": on loan, due before today
    Lost,                 // "Documents perdus": copy status 6
    Reserved,             // "Documents réservés"
    Suspended,            // "Lecteurs suspendus": status 2 or 3
    Penalised,            // "Lecteurs pénalisés": status 1 or 3
    LateReaders,          // "Lecteurs retardataires": a loan or an open inter-library loan overdue
    InterLibraryBorrowed, // "Documents empruntés(PEB)": open inter-library loans
    InterLibraryOverdue   // "Documents non remis(PEB)": open and due before today
};

// The tab of the editions screen that holds a list.
enum class EditionTab { Documents, Readers, InterLibrary };

struct EditionColumn {
    QString field;         // the column of the list's query
    QString french;        // grid title
    QString arabic;
    ReportColumn page;     // heading cell, width and kind on the page
};

struct CirculationEdition {
    CirculationList list;
    EditionTab tab;
    QString button;        // objectName of its button ("BtnDocEmpruntes")
    QString caption;       // French caption of the button
    QString screenFrench;  // the title shown over the list ("Edition - Documents empruntés")
    QString screenArabic;
    QString fileName;      // "DocEmpruntes.html"
    QString pageFrench;    // title of the page
    QString pageArabic;
    QString table;         // the table a row of the list comes from
    QList<EditionColumn> columns;

    QString screenTitle() const;  // in the session's language
};

// The nine lists, in the order of their buttons.
const QList<CirculationEdition> &circulationEditions();
const CirculationEdition &circulationEdition(CirculationList list);

// The list's query: the columns of the edition in order (then the table's
// key when it is not shown), sorted by that key. Type labels are read in the
// session's language.
SqlText circulationListSql(const Dialect &dialect, CirculationList list, const QDate &today);

// The page of the list, with the letterhead.
Report circulationListReport(const Dialect &dialect, CirculationList list, const QDate &today);

} // namespace folian
