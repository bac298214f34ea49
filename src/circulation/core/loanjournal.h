#pragma once
// The loan journal (HISTORIQUE_PRET): one row per operation done at the
// loan desk, at the in-house consultation and by the inter-library loan,
// written inside the operation's own transaction so that the journal holds
// exactly what was done.

#include "circulation/core/readers.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace folian {

class Database;

// The operations, as stored in HIS_OPERATION.
enum class LoanOperation {
    Loan = 1,
    Return = 2,
    Reservation = 3,
    Renewal = 4,
    Cancellation = 5,
    Consultation = 6,
    ConsultationReturn = 7,
    InterLibraryLoan = 8,
    InterLibraryReturn = 9
};

struct JournalEntry {
    LoanOperation operation = LoanOperation::Loan;
    QString copyId;
    QVariant docId;
    QString readerId;
    QDate due;            // the due date it set, or the last day of a hold
    QDateTime when;       // when it was done; the server's clock when invalid
};

// Writes one row: the key is the largest + 1, taken again when another
// workstation took it first; the operator is the session's login. Run it
// inside the operation's transaction. On failure `why` tells the reason.
bool writeJournal(Database &db, const JournalEntry &entry, QString *why = nullptr);

// The name of an operation in the session's language.
QString operationName(int operation);

// A copy's journal, latest first: HIS_DATE, HIS_OPERATION, LEC_ID (with
// LEC_NOM and LEC_PRENOM), HIS_DATE_RETOUR, HIS_USER.
SqlText copyHistorySql(const QString &copyId);

} // namespace folian
