#include "circulation/core/copystate.h"

#include "circulation/core/circulationtexts.h"
#include "data/core/helpers.h"

namespace folian {

CopyState copyState(const CopyCirculation &c, const QDate &today)
{
    const bool onLoan = !IsBlank(c.lecId);
    const bool reserved = !IsBlank(c.reserverId);
    if (onLoan) {
        if (reserved)
            return CopyState::OnLoanAndReserved;
        const QDate due = c.dueDate.toDate();
        return due.isValid() && due < today ? CopyState::Overdue : CopyState::OnLoan;
    }
    if (!reserved)
        return CopyState::Available;
    const QDate hold = c.reservationDate.toDate();
    return hold.isValid() && hold < today ? CopyState::ReservationLapsed : CopyState::HeldForReserver;
}

int ReaderStatus::of(const QVariant &v) { return IsBlank(v) ? Normal : v.toInt(); }

QString ReaderStatus::text(const QVariant &status, const QVariant &penaltyEnd)
{
    switch (of(status)) {
    case Normal:
        return circ::statusNormal();
    case Penalised:
        return circ::statusPenalisedUntil(penaltyEnd.toDate());
    case Suspended:
        return circ::statusSuspended();
    default:
        return {};
    }
}

} // namespace folian
