#include "admin/core/duedate.h"

#include "base/messages.h"
#include "data/core/database.h"

namespace folian {

namespace {
// 1 Sunday .. 7 Saturday, as the parameters store them.
int libraryDayOfWeek(const QDate &d) { return d.dayOfWeek() % 7 + 1; }

bool isClosingDay(const QDate &d, int w1, int w2)
{
    const int day = libraryDayOfWeek(d);
    return (w1 >= 1 && w1 <= 7 && day == w1) || (w2 >= 1 && w2 <= 7 && day == w2);
}
} // namespace

QDate MoveToOpenDay(QDate candidate, const QVector<ClosedPeriod> &periods, int weekend1, int weekend2)
{
    if (!candidate.isValid())
        return candidate;
    // Repeat until no period and no closing day moves the date: a move past
    // one period can land in another listed before it, or on a closing day.
    for (;;) {
        bool moved = false;
        for (const ClosedPeriod &p : periods) {
            if (p.start.isValid() && p.end.isValid() && p.start <= p.end && candidate >= p.start
                && candidate <= p.end) {
                candidate = p.end.addDays(1);
                moved = true;
            }
        }
        while (isClosingDay(candidate, weekend1, weekend2)) {
            candidate = candidate.addDays(1);
            moved = true;
        }
        if (!moved)
            return candidate;
    }
}

QDate MoveToOpenDay(Database &db, QDate candidate)
{
    // The closed periods, then the row of the weekly closing days, in one statement.
    QVector<ClosedPeriod> periods;
    int w1 = 0, w2 = 0;
    bool weekRead = false;
    SqlRows q = db.query(QStringLiteral("SELECT 1, DATE_DEBUT, DATE_FIN, NULL, NULL FROM JOUR_EXCEPTION "
                                        "UNION ALL SELECT 2, NULL, NULL, WEEKEND1, WEEKEND2 FROM PARAMETRE"));
    while (q.next()) {
        if (q.value(0).toInt() == 1) {
            periods.append({db.dialect().fromDb(q.value(1), ColType::Date).toDate(),
                            db.dialect().fromDb(q.value(2), ColType::Date).toDate()});
        } else if (!weekRead) {
            w1 = q.value(3).toInt();
            w2 = q.value(4).toInt();
            weekRead = true;
        }
    }
    return MoveToOpenDay(candidate, periods, w1, w2);
}

QDate DueDate(Database &db, QDate today, int days) { return MoveToOpenDay(db, today.addDays(days)); }

QString CheckClosedPeriod(const QDate &start, const QDate &end)
{
    if (!start.isValid() || !end.isValid())
        return tr2(QStringLiteral("Les deux dates sont obligatoires."), QStringLiteral("التاريخان إجباريان."));
    if (end < start)
        return tr2(QStringLiteral("La date de début est superieure à la date de fin"),
                   QStringLiteral("تاريخ البدء أكبر من تاريخ الإنتهاء"));
    return {};
}

} // namespace folian
