#pragma once
// Circulation's reading of a copy row and of a reader's status: a loan and
// a reservation are columns of the copy itself.

#include <QDate>
#include <QString>
#include <QVariant>

namespace folian {

enum class CopyState {
    Available,          // no borrower, no reserver
    OnLoan,             // a borrower, due date not passed
    Overdue,            // a borrower, due date passed
    OnLoanAndReserved,  // a borrower and a reserver
    HeldForReserver,    // returned, kept for the reserver until the hold date
    ReservationLapsed   // the hold date has passed: lendable to anyone
};

struct CopyCirculation {
    QVariant lecId;              // LEC_ID
    QVariant dueDate;            // EXP_DATE_RETOUR
    QVariant reserverId;         // LEC_ID2
    QVariant reservationDate;    // EXP_DATE_RESERVATION
};

CopyState copyState(const CopyCirculation &c, const QDate &today);

// Reader status (LEC_STATUT): 0 normal, 1 penalised, 2 suspended, 3 both; empty counts as 0.
namespace ReaderStatus {
constexpr int Normal = 0;
constexpr int Penalised = 1;
constexpr int Suspended = 2;
constexpr int PenalisedAndSuspended = 3;
int of(const QVariant &v);
// The text of the reader form: "Normal", "Pénalisé jusqu'au " + date,
// "Suspendu"; nothing for 3.
QString text(const QVariant &status, const QVariant &penaltyEnd);
} // namespace ReaderStatus

// The reserved category of partner-library correspondents.
constexpr int InterLibraryCategory = 9;

} // namespace folian
