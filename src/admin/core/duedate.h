#pragma once
// Closed days: a due date never falls in a closed period of the library
// nor on one of its two weekly closing days.

#include <QDate>
#include <QVector>

namespace folian {

class Database;

struct ClosedPeriod {
    QDate start;  // first closed day
    QDate end;    // last closed day (inclusive)
};

// Moves `candidate` forward past every closed period it falls in and past
// the weekly closing days (1 Sunday .. 7 Saturday; 0 or out of range = none),
// until the date is open. The order of the periods does not matter.
QDate MoveToOpenDay(QDate candidate, const QVector<ClosedPeriod> &periods, int weekend1, int weekend2);

// Reads the closed periods (JOUR_EXCEPTION) and the closing days
// (PARAMETRE.WEEKEND1/2) and moves the date.
QDate MoveToOpenDay(Database &db, QDate candidate);

// Today + `days`, moved to an open day: the due date of a loan.
QDate DueDate(Database &db, QDate today, int days);

// A closed period is accepted when both dates are given and the end is not
// before the start; the message otherwise (empty when accepted).
QString CheckClosedPeriod(const QDate &start, const QDate &end);

} // namespace folian
