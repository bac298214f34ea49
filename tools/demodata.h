#pragma once
// Demonstration content for a newcomer: one user per role, records in French
// and Arabic with authors, subjects, publishers and copies, readers, loan
// rules and suppliers.

#include <QString>

namespace folian {

class Database;

struct DemoSummary {
    int users = 0;
    int records = 0;
    int copies = 0;
    int readers = 0;
};

// Writes the demo in one transaction; on failure nothing is kept.
bool populateDemo(Database &db, DemoSummary *summary, QString *why);

} // namespace folian
