#pragma once
// Reminders of overdue loans: which readers are late, with which loans, and
// the reminder letter ("relancelecteur.html") of one of them. A loan is late
// from the day after its due date: a loan due today is not late yet. There is
// one reminder level and nothing is recorded: a letter can be written again
// at any time. Loans of the library's own copies and inter-library loans are
// reminded apart, each letter listing only its own kind.

#include "circulation/core/readers.h"
#include "reports/core/report.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace folian {

class Database;
class Dialect;
class Progress;

enum class ReminderKind {
    Loans,        // copies of the library (NOTICE_EXEMPLAIRE)
    InterLibrary  // documents borrowed from a partner library (PEB, open rows)
};

// The numbers of the readers late with the kind of loan, as a subquery
// with one bound value: today.
QString lateReaderIdsSql(ReminderKind kind);

// The late readers, by number: rows of LECTEUR with CAT_LIBELLE and
// STR_LIBELLE, the labels of their category and structure.
SqlText lateReadersSql(const Dialect &dialect, ReminderKind kind, const QDate &today);
// How many readers are late; -1 when it cannot be read.
int lateReaderCount(Database &db, ReminderKind kind, const QDate &today);

// The reader's late loans, by due date: rows of NOTICE_EXEMPLAIRE with TITRE
// (the record's title proper) and TITRE_COMPLET (followed by " : " and its
// other title information when there is one); or rows of PEB with BIB_NOM,
// the lending library's name.
SqlText lateLoansSql(const Dialect &dialect, ReminderKind kind, const QString &readerId, const QDate &today);

// The reminder letter of the reader: his number, name and address, the
// reminder text of the parameters, and the table of his late loans of that
// kind. Written as "relancelecteur.html" among the pages, or as `fileName`
// in `directory` when one is given.
ReportResult writeReminder(Database &db, ReminderKind kind, const QString &readerId, const QDate &today,
                           const QString &directory = QString(), const QString &fileName = QString());

// The letters of every late reader of both kinds, written into `directory`
// as "relance-pret-<number>.html" and "relance-peb-<number>.html" (characters
// a file name cannot hold become "_"). False when a list cannot be read, a
// letter cannot be written or `progress` stops it; `message` says why.
struct ReminderBatch {
    int loanLetters = 0;
    int interLibraryLetters = 0;
    QStringList files;     // the letters written, in order
    QString message;
};
bool writeAllReminders(Database &db, const QString &directory, const QDate &today, ReminderBatch *batch,
                       Progress *progress = nullptr);

} // namespace folian
