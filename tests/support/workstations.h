#pragma once
// Several workstations at once on one database: threads with a connection
// each, all starting their work together; one workstation's work on a
// thread of its own; and the wait until a PostgreSQL session is held by a
// lock another one has.

#include "data/core/database.h"

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <functional>
#include <latch>
#include <memory>
#include <vector>

namespace folian::test {

// Runs `work(workstation, db)` on `workstations` threads with a connection
// each, released together once every connection is open; returns how many
// succeeded.
inline int atOnce(const ConnectionParams &params, int workstations, const std::function<bool(int, Database &)> &work)
{
    std::latch ready(workstations);
    std::atomic<int> done{0};
    std::vector<QThread *> threads;
    for (int i = 0; i < workstations; ++i) {
        threads.push_back(QThread::create([&, i] {
            Database db;
            QString why;
            const bool open = db.open(params, false, &why);
            if (!open)
                qWarning("workstation %d: %s", i, qPrintable(why));
            ready.arrive_and_wait();
            if (open && work(i, db))
                ++done;
            db.close();
        }));
        threads.back()->start();
    }
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
    return done;
}

// One workstation's work on a thread of its own, with a connection of its
// own, started at once; wait() gives its result.
class Workstation
{
public:
    Workstation(const ConnectionParams &params, std::function<bool(Database &)> work)
    {
        thread_.reset(QThread::create([this, params, work] {
            Database db;
            QString why;
            if (!db.open(params, false, &why)) {
                qWarning("workstation: %s", qPrintable(why));
                return;
            }
            result_ = work(db);
            db.close();
        }));
        thread_->start();
    }
    ~Workstation() { wait(); }
    bool wait()
    {
        thread_->wait();
        return result_;
    }
    bool finished() const { return thread_->isFinished(); }

private:
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> result_{false};
};

// Waits until `sessions` sessions of the test's PostgreSQL database wait for
// a lock another session holds (the observer's connection is not one of
// them). False when that did not happen within the time.
inline bool waitForLockWaits(Database &observer, int sessions, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        const int waiting = observer
                                .scalar(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                                       "AND wait_event_type = 'Lock'"))
                                .toInt();
        if (waiting >= sessions)
            return true;
        QThread::msleep(20);
    }
    return false;
}

// Waits until the workstation has finished, or until `sessions` sessions
// (it among them) are held by a lock (PostgreSQL): what it does next can
// only happen after the lock is given back. False when neither happened
// within the time.
inline bool finishedOrHeld(Database &observer, const Workstation &w, int sessions = 1, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (w.finished())
            return true;
        if (observer.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                           "AND wait_event_type = 'Lock'"))
                .toInt()
            >= sessions)
            return true;
        QThread::msleep(20);
    }
    return false;
}

} // namespace folian::test
