#include "circulation/core/copystate.h"

#include "base/messages.h"
#include "data/core/helpers.h"

#include <QLocale>

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
        return tr2(QStringLiteral("Normal"), QStringLiteral("عادي"));
    case Penalised:
        return tr2(QStringLiteral("Pénalisé jusqu'au "), QStringLiteral("معاقب إلى غاية "))
            + QLocale().toString(penaltyEnd.toDate(), QLocale::ShortFormat);
    case Suspended:
        return tr2(QStringLiteral("Suspendu"), QStringLiteral("موقوف"));
    default:
        return {};
    }
}

} // namespace folian
