#pragma once
// Several workstations at once on one database: threads with a connection
// each, all starting their work together.

#include "data/core/database.h"

#include <QThread>
#include <atomic>
#include <functional>
#include <latch>
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

} // namespace folian::test
