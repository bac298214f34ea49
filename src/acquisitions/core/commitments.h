#pragma once
// Commitments (ENGAGEMENT: sums earmarked on a chapter) and transfers of
// credit between two chapters of one budget (TRANSFERT), with the debits
// they move summed again exactly in the same transaction (see
// budgetdebits.h): a commitment never takes its chapter beyond the
// chapter's amount, nor is it lowered below what its invoices charge it; a
// transfer never takes its source beyond its amount, and is not deleted
// once its destination has committed the credit it brought. Amounts are
// exact to the cent and never negative. A commitment moved to another
// chapter gives both chapters (and both budgets) their debits again. A
// commitment with invoices may be deleted: the invoices keep its number,
// which no new commitment takes again.
//
// Between workstations: the budget's row is locked first, then the
// chapters' rows by key, then the commitment's; the sums are read after
// the locks. Transfers A→B and B→A at once therefore wait for each other
// instead of deadlocking.

#include "acquisitions/core/acqresult.h"

#include <QDate>

namespace folian {

class Database;

struct CommitmentSheet {
    int id = 0;              // ENG_ID; 0 for a new commitment
    int chapter = 0;         // CHP_ID, required
    QDate date;              // ENG_DATE; today when not given
    QString paymentNumber;   // ENG_NUMERO_PAIEMENT
    QString paymentMode;     // ENG_MODE_PAIEMENT
    QDate paymentDate;       // ENG_DATE_PAIEMENT; none when not given
    QString amount;          // ENG_MONTANT as typed
};
// Saves the commitment, its key in the result; the debits of its chapter
// (both, when it moves) and of the budgets summed again.
AcqResult saveCommitment(Database &db, const CommitmentSheet &sheet);
// Deletes the commitment and sums its chapter's and budget's debits again.
AcqResult deleteCommitment(Database &db, int id);

struct CommitmentRow {
    int id = 0;              // 0 when there is none
    int chapter = 0;
    QDate date, paymentDate;
    QString paymentNumber, paymentMode;
    Money amount, debit;
};
CommitmentRow loadCommitment(Database &db, int id);
// The sheet that edits the stored commitment as it stands.
CommitmentSheet commitmentSheet(const CommitmentRow &row);

struct TransferSheet {
    int from = 0, to = 0;    // CHP_ID, CHP_ID2: two chapters of one budget
    QString amount;          // TRS_MONTANT as typed
};
// Adds the transfer, its key in the result. (A transfer is never changed.)
AcqResult addTransfer(Database &db, const TransferSheet &sheet);
// Deletes the transfer and gives its chapters their debits again.
AcqResult deleteTransfer(Database &db, int id);

} // namespace folian
