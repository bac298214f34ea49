#pragma once
// The loan desk and the in-house consultation: the reader check, the copy
// checks, the due date and the operations (loan, return, reservation,
// renewal, cancellation of a reservation, consultation and its return),
// with their messages in French or Arabic. The screens and folianctl are
// faces of this one service.
//
// Every operation is one transaction: the copy, the record's counter, the
// reader's counter and status and the journal change together or not at
// all. The copy is written only in the state that was checked (a loan only
// of a copy still free, a return only of the loan that was seen, ...); when
// another workstation changed it in between, nothing is written and the
// result tells the copy's real state. A loan, a reservation and a
// consultation first lock the reader's row, so that two desks lending to
// one reader at once count each other's loans and the reader is not
// deleted meanwhile; they hold the loan rule they apply (shared), so that
// it is not deleted under them. A refusal keeps what the reader check
// wrote (the end of a penalty that is over).

#include "circulation/core/loanjournal.h"
#include "circulation/core/readerstanding.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace folian {

class Database;

// The copy as the desk reads it, with its record's type and title.
struct DeskCopy {
    bool found = false;
    QString id;              // EXP_ID as stored
    QVariant docId;
    QVariant status;         // STA_EXP_ID
    QString borrower;        // LEC_ID
    QDate loanDate;          // EXP_DATE_PRET
    QDate due;               // EXP_DATE_RETOUR
    QString reserver;        // LEC_ID2
    QDate hold;              // EXP_DATE_RESERVATION
    QString cote;
    QString typeId;
    QString title;
};

struct DeskResult {
    bool passed = false;     // the check passed, or the operation was done
    bool blue = false;       // shown in blue; a return that penalises is done, shown in red
    QStringList lines;       // the message, one line each
    QString readerId;        // the reader concerned (the borrower of a return, the reserver of a cancellation)
    DeskCopy copy;           // the copy as read before the operation
    QString message() const { return lines.join(u'\n'); }
};

// The copy checks that need nothing but the copy row: the refusal of `op`
// for the copy numbered `typed` (read as `copy`) on `today`, or nothing.
QStringList copyRefusal(LoanOperation op, const QString &typed, const DeskCopy &copy, const QDate &today);

class LoanDesk
{
public:
    // With a valid `today`, that day stands for the server's date in every
    // rule (a desk replayed from a file).
    explicit LoanDesk(Database &db, const QDate &today = QDate());

    QDate today();
    Database &db() { return db_; }

    // The reader check of the desk (clears a penalty that is over).
    ReaderCheck checkReader(const QString &typed);
    // The copy check of an operation; for a renewal it also checks the
    // borrower. readerId is the borrower (return, renewal) or the reserver
    // (cancellation).
    DeskResult checkCopy(LoanOperation op, const QString &typed);
    DeskCopy readCopy(const QString &typed);

    DeskResult lend(const QString &reader, const QString &copy);
    DeskResult giveBack(const QString &copy, const QString &reader = QString());
    DeskResult reserve(const QString &reader, const QString &copy);
    DeskResult renew(const QString &copy, const QString &reader = QString());
    DeskResult cancelReservation(const QString &copy, const QString &reader = QString());
    DeskResult consult(const QString &reader, const QString &copy);
    DeskResult endConsultation(const QString &copy, const QString &reader = QString());
    // One of the above by its operation.
    DeskResult run(LoanOperation op, const QString &reader, const QString &copy);

private:
    struct Outcome;
    template <typename Body>
    DeskResult perform(LoanOperation op, const QString &copyTyped, Body body);
    Outcome lendIn(const QString &reader, const QString &copyTyped);
    Outcome giveBackIn(const QString &copyTyped, const QString &reader);
    Outcome reserveIn(const QString &reader, const QString &copyTyped);
    Outcome renewIn(const QString &copyTyped, const QString &reader);
    Outcome cancelIn(const QString &copyTyped, const QString &reader);
    Outcome consultIn(const QString &reader, const QString &copyTyped);
    Outcome endConsultationIn(const QString &copyTyped, const QString &reader);
    std::optional<ReaderCheck> readerAndCopy(LoanOperation op, const QString &readerTyped, const QString &copyTyped,
                                             const QDate &day, Outcome &o);
    bool journal(LoanOperation op, const DeskCopy &c, const QString &reader, const QDate &due);
    // Locks the row of the reader numbered `typed` until the transaction
    // ends: he is not deleted while a copy goes to him, and a second loan
    // to him waits for the first. False when the statement failed.
    bool lockReader(const QString &typed);
    // A reader number typed beside a lent copy must be its borrower's; an
    // empty one stands for him. False, with the refusal in `r`, otherwise.
    static bool typedIsBorrower(const QString &readerTyped, const DeskCopy &c, DeskResult &r);

    Database &db_;
    QDate fixedToday_;
    QDateTime clock_;  // the server's clock, read once for the operation under way
};

} // namespace folian
