#pragma once
// Administration services: a new database, the reset of the loan counters.

#include <QString>

namespace folian {

class Database;

// Fills an empty database: the schema, the reference data and the first
// administrator (every right), all in one transaction: on any failure
// nothing is left behind and the database can be initialised again.
bool InitialiseDatabase(Database &db, const QString &adminLogin, const QString &adminPassword, QString *why);

// Sets every record's in-house and home loan counters and every reader's
// loan count to 0, in one transaction. False (nothing changed) on failure.
bool ResetLoanStatistics(Database &db, QString *why = nullptr);

} // namespace folian
