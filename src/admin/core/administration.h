#pragma once
// Administration services: the reset of the loan counters.

#include <QString>

namespace folian {

class Database;

// Sets every record's in-house and home loan counters and every reader's
// loan count to 0, in one transaction. False (nothing changed) on failure.
bool ResetLoanStatistics(Database &db, QString *why = nullptr);

} // namespace folian
