#pragma once
// The debits of the budgets, always what they stand for, summed exactly in
// SQL from the rows they count:
//   - a commitment's debit (ENG_DEBIT) is the sum of its invoices;
//   - a chapter's debit (CHP_DEBIT) is the sum of its commitments, plus the
//     transfers out of it, minus the transfers into it;
//   - a budget's debit (BUD_DEBIT) is the sum of its chapters' commitments.
// Whoever changes one of those rows stores the debits it changes again, in
// the same transaction.
//
// Between workstations: the rows are locked in one order, the budgets by
// year, then the chapters by key, then the commitments by key, so that two
// workstations never wait for each other in a circle. What is summed after
// the locks counts everything the other workstations committed before.

#include "data/core/documenttotal.h"
#include "data/core/money.h"

#include <QList>
#include <optional>

namespace folian {

class Database;

// Locks the rows of these keys, each once, in key order, until the
// transaction ends; false on failure.
bool lockBudgets(Database &db, QList<int> years);
bool lockChapters(Database &db, QList<int> chapters);
bool lockCommitments(Database &db, QList<int> commitments);

// The debits as the rows give them now; nullopt when they cannot be read.
std::optional<Money> commitmentDebit(Database &db, int commitment);
std::optional<Money> chapterDebit(Database &db, int chapter);
std::optional<Money> budgetDebit(Database &db, int year);
// The sum of the amounts of a budget's chapters, `except` one of them.
std::optional<Money> chaptersAllotted(Database &db, int year, int except = 0);

// Each stores the debit of its row as summed now (its value in `debit` when
// given); a sum beyond what an amount column holds is not stored.
TotalStored storeCommitmentDebit(Database &db, int commitment, Money *debit = nullptr);
TotalStored storeChapterDebit(Database &db, int chapter, Money *debit = nullptr);
TotalStored storeBudgetDebit(Database &db, int year, Money *debit = nullptr);

} // namespace folian
