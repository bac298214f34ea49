#pragma once
// Yearly budgets (BUDGET, keyed by the year) and their chapters (CHAPITRE):
// saved, deleted, read, and the searches of the budget screen.
//
// The amounts are exact to the cent and never negative; the sum of a
// budget's chapters never goes beyond the budget; a budget or a chapter is
// not lowered below its debit (see budgetdebits.h for what the debits
// are), nor a budget below the sum of its chapters. A check refuses only
// the change that passes its limit: a row that is already beyond it (an
// older database) may still be edited in any other way.
//
// Between workstations: every change locks the budget's row first, then
// its chapter's, and reads the sums after the locks; a budget with
// chapters and a chapter with commitments or transfers are deleted only by
// a statement that finds none of them, and a refusal counts them.

#include "acquisitions/core/acqresult.h"
#include "data/core/helpers.h"

#include <QDateTime>

namespace folian {

class Database;
class Dialect;

struct BudgetSheet {
    int stored = 0;      // the year of the budget edited; 0 for a new budget
    QString year;        // BUD_ID as typed
    QString amount;      // BUD_MONTANT as typed
};
// Saves the budget, its year in the result's key. A new budget has no
// debit; a budget's year changes only while it has no chapters.
AcqResult saveBudget(Database &db, const BudgetSheet &sheet);
// Deletes the budget; refused while it has chapters, with their count.
AcqResult deleteBudget(Database &db, int year);

struct BudgetRow {
    int year = 0;        // 0 when there is none
    Money amount, debit;
    QString createdBy, updatedBy;
    QDateTime created, updated;
};
BudgetRow loadBudget(Database &db, int year);

struct ChapterSheet {
    int id = 0;          // CHP_ID; 0 for a new chapter
    int budget = 0;      // BUD_ID of a new chapter (a chapter stays in its budget)
    QString title;       // CHP_INTITULE
    QString amount;      // CHP_MONTANT as typed
};
// Saves the chapter (its debit summed again), its key in the result.
AcqResult saveChapter(Database &db, const ChapterSheet &sheet);
// Deletes the chapter; refused while it has commitments or transfers, with their counts.
AcqResult deleteChapter(Database &db, int id);

struct ChapterRow {
    int id = 0;          // 0 when there is none
    int budget = 0;
    QString title;
    Money amount, debit;
};
ChapterRow loadChapter(Database &db, int id);

// The budgets whose year matches the typed criterion ("*" the wildcard;
// blank finds none), the latest first.
SqlText budgetSearchSql(const Dialect &d, const QString &year);
// A budget's chapters; its commitments with their chapter's title
// (CHP_INTITULE); the transfers out of its chapters with the titles of
// their source (SOURCE) and destination (DESTINATION).
SqlText budgetChaptersSql(int year);
SqlText budgetCommitmentsSql(int year);
SqlText budgetTransfersSql(int year);
// The status-bar count line of the budgets (" Budgets : n enreg(s)").
QString budgetCountLine(Database &db);

} // namespace folian
