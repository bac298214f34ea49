#pragma once
// The public catalogue's connection: it only reads, and only the catalogue.
// On a shared server it connects as a role of its own that may read the
// catalogue's tables and nothing else (no reader, user, acquisition or
// loan journal table); the embedded file is opened read-only.

#include <QString>
#include <QStringList>

namespace folian {

class Database;
struct ConnectionParams;

namespace opac {

// The tables the public catalogue reads, and no other.
const QStringList &catalogueTables();

// Makes the role the catalogue server connects as (with `password` when
// it does not exist yet; its password changed when it does and one is
// given) and lets it read the catalogue's tables only, whatever it was
// given before. `db` is the schema owner's connection. One transaction;
// refused on the embedded engine, for a role that can do more than log
// in, and for an existing role that may change the tables (the
// workstations' own). `created` tells whether it was made.
bool GrantCatalogueReaderRole(Database &db, const QString &role, const QString &password, bool *created,
                              QString *why);

// The connection the catalogue server uses for the database of `params`,
// as `user` with `password` on a shared server: read-only.
ConnectionParams catalogueConnection(ConnectionParams params, const QString &user, const QString &password);

// Why the catalogue server must not serve through `db`: its role may
// write a table, or read one beyond the catalogue's. Empty when it only
// reads the catalogue (the embedded file, opened read-only, always does).
QString readerConnectionRefusal(Database &db);

} // namespace opac
} // namespace folian
