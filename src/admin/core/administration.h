#pragma once
// Administration services: a new database, the reset of the loan counters.

#include <QString>

namespace folian {

class Database;

// Fills an empty database: the schema, the reference data and the first
// administrator (every right), all in one transaction: on any failure
// nothing is left behind and the database can be initialised again. The
// administrator's password may not be empty.
bool InitialiseDatabase(Database &db, const QString &adminLogin, const QString &adminPassword, QString *why);

// Brings an older database to this version's schema and stores as a hash
// every password still kept the old way (recoverable from it), in one
// transaction. How many passwords were hashed in `rehashed`.
bool UpgradeDatabase(Database &db, int *rehashed, QString *why);

// Stores as a hash every password still kept the old way: the operators'
// (UTILISATEUR) and the readers' (LECTEUR, the correspondents of partner
// libraries). An empty or missing password hides nothing and stays.
bool RehashOldPasswords(Database &db, int *rehashed, QString *why);

// The role the workstations of a shared server connect as: it reads and
// writes the rows of every table, the schema stays its owner's (the
// connection `db` is the owner's, as init-db and upgrade-db use it). Made
// with `password` when it does not exist yet (its password changed when it
// does and one is given), then granted; a role that could do more (a
// superuser, one that creates roles or databases, the owner of the tables)
// is refused. One transaction. `created` tells whether it was made.
bool GrantRuntimeRole(Database &db, const QString &role, const QString &password, bool *created, QString *why);

// The login role of a shared server that a program of ours connects as
// (`db` is the schema owner's connection), inside the caller's
// transaction: made with `password` when it does not exist yet, its
// password changed when it does and one is given. A role that could do
// more than log in (a superuser, one that creates roles or databases, the
// owner of the tables) is refused. `existed` tells whether it was there.
bool MakeLoginRole(Database &db, const QString &role, const QString &password, bool *existed, QString *why);

// Sets every record's in-house and home loan counters and every reader's
// loan count to 0, in one transaction; only an administrator does. False
// (nothing changed) on a refusal or a failure, with the reason in `why`.
bool ResetLoanStatistics(Database &db, QString *why = nullptr);

} // namespace folian
