// Closed days: the due date never lands in a closed period or on a weekly
// closing day, whatever the order of the periods.

#include "admin/core/duedate.h"

#include <QRandomGenerator>
#include <QTest>

using namespace folian;

Q_DECLARE_METATYPE(QVector<ClosedPeriod>)

namespace {
ClosedPeriod period(int m1, int d1, int m2, int d2) { return {QDate(2026, m1, d1), QDate(2026, m2, d2)}; }
} // namespace

class TstDueDate : public QObject
{
    Q_OBJECT
private slots:
    void calendars_data()
    {
        QTest::addColumn<QDate>("candidate");
        QTest::addColumn<QVector<ClosedPeriod>>("periods");
        QTest::addColumn<int>("weekend1");
        QTest::addColumn<int>("weekend2");
        QTest::addColumn<QDate>("expected");
        // 2026-08-01 is a Saturday; 2026-08-16 a Sunday.
        QTest::newRow("open day unchanged") << QDate(2026, 3, 3) << QVector<ClosedPeriod>{} << 6 << 7 << QDate(2026, 3, 3);
        QTest::newRow("friday only skipped") << QDate(2026, 3, 6) << QVector<ClosedPeriod>{} << 6 << 6 << QDate(2026, 3, 7);
        QTest::newRow("friday then saturday") << QDate(2026, 3, 6) << QVector<ClosedPeriod>{} << 6 << 7 << QDate(2026, 3, 8);
        QTest::newRow("sunday coded 1") << QDate(2026, 3, 8) << QVector<ClosedPeriod>{} << 1 << 1 << QDate(2026, 3, 9);
        QTest::newRow("no closing day") << QDate(2026, 3, 6) << QVector<ClosedPeriod>{} << 0 << 0 << QDate(2026, 3, 6);
        QTest::newRow("start of august closure") << QDate(2026, 8, 1) << QVector<ClosedPeriod>{period(8, 1, 8, 15)} << 6 << 7 << QDate(2026, 8, 16);
        QTest::newRow("closure ends before weekend") << QDate(2026, 8, 1) << QVector<ClosedPeriod>{period(8, 1, 8, 14)} << 6 << 7 << QDate(2026, 8, 16);
        QTest::newRow("last closed day") << QDate(2026, 8, 15) << QVector<ClosedPeriod>{period(8, 1, 8, 15)} << 0 << 0 << QDate(2026, 8, 16);
        QTest::newRow("adjacent in order") << QDate(2026, 9, 5) << QVector<ClosedPeriod>{period(9, 1, 9, 10), period(9, 11, 9, 20)} << 0 << 0 << QDate(2026, 9, 21);
        QTest::newRow("adjacent reversed") << QDate(2026, 9, 5) << QVector<ClosedPeriod>{period(9, 11, 9, 20), period(9, 1, 9, 10)} << 0 << 0 << QDate(2026, 9, 21);
        QTest::newRow("equal periods") << QDate(2026, 9, 5) << QVector<ClosedPeriod>{period(9, 1, 9, 10), period(9, 1, 9, 10)} << 0 << 0 << QDate(2026, 9, 11);
        QTest::newRow("overlapping") << QDate(2026, 9, 5) << QVector<ClosedPeriod>{period(9, 8, 9, 12), period(9, 1, 9, 9)} << 0 << 0 << QDate(2026, 9, 13);
        QTest::newRow("weekend lands in a period") << QDate(2026, 3, 6) << QVector<ClosedPeriod>{period(3, 8, 3, 9)} << 6 << 7 << QDate(2026, 3, 10);
        QTest::newRow("one-day period") << QDate(2026, 5, 1) << QVector<ClosedPeriod>{period(5, 1, 5, 1)} << 0 << 0 << QDate(2026, 5, 2);
        QTest::newRow("inverted period ignored") << QDate(2026, 5, 5) << QVector<ClosedPeriod>{period(5, 10, 5, 1)} << 0 << 0 << QDate(2026, 5, 5);
        QTest::newRow("before the period") << QDate(2026, 7, 31) << QVector<ClosedPeriod>{period(8, 1, 8, 15)} << 0 << 0 << QDate(2026, 7, 31);
    }
    void calendars()
    {
        QFETCH(QDate, candidate);
        QFETCH(QVector<ClosedPeriod>, periods);
        QFETCH(int, weekend1);
        QFETCH(int, weekend2);
        QFETCH(QDate, expected);
        QCOMPARE(MoveToOpenDay(candidate, periods, weekend1, weekend2), expected);
    }

    // Many random calendars, each period order: the result is open, never
    // earlier than asked, and every day skipped was closed.
    void randomCalendars()
    {
        QRandomGenerator rng(20261208);
        for (int round = 0; round < 2000; ++round) {
            QVector<ClosedPeriod> periods;
            const int n = int(rng.bounded(6));
            for (int i = 0; i < n; ++i) {
                const QDate s = QDate(2026, 1, 1).addDays(rng.bounded(60));
                periods.append({s, s.addDays(rng.bounded(8))});
            }
            const int w1 = int(rng.bounded(8)), w2 = int(rng.bounded(8));
            const QDate candidate = QDate(2026, 1, 1).addDays(rng.bounded(70));
            auto closed = [&](const QDate &d) {
                for (const ClosedPeriod &p : periods)
                    if (d >= p.start && d <= p.end)
                        return true;
                const int day = d.dayOfWeek() % 7 + 1;
                return (w1 && day == w1) || (w2 && day == w2);
            };
            const QDate got = MoveToOpenDay(candidate, periods, w1, w2);
            QVERIFY(got >= candidate);
            QVERIFY2(!closed(got), qPrintable(got.toString(Qt::ISODate)));
            for (QDate d = candidate; d < got; d = d.addDays(1))
                QVERIFY(closed(d));
            std::reverse(periods.begin(), periods.end());
            QCOMPARE(MoveToOpenDay(candidate, periods, w1, w2), got);
        }
    }

    void closedPeriodCheck()
    {
        QVERIFY(CheckClosedPeriod(QDate(2026, 1, 2), QDate(2026, 1, 2)).isEmpty());
        QVERIFY(CheckClosedPeriod(QDate(2026, 1, 2), QDate(2026, 1, 9)).isEmpty());
        QCOMPARE(CheckClosedPeriod(QDate(2026, 1, 9), QDate(2026, 1, 2)),
                 QStringLiteral("La date de début est superieure à la date de fin"));
        QVERIFY(!CheckClosedPeriod(QDate(), QDate(2026, 1, 2)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstDueDate)
#include "tst_duedate.moc"
