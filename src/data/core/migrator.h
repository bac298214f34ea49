#pragma once
// Creating and upgrading the database from the one schema description.

#include <QString>

namespace folian {

class Database;

// Tables of the database (upper-cased) that the schema knows.
int schemaVersion(Database &db);

// Creates every table, index and the reference data in one transaction.
// Refuses a database that already holds tables.
bool createSchema(Database &db, QString *why);

// Brings an older database to the current version: missing tables, columns
// and indexes are added, then the steps of each later version run. Nothing
// is dropped. One transaction.
bool upgradeSchema(Database &db, QString *why);

// Makes the search indexes of the schema that are missing, over the rows
// already there. A word index the engine cannot make (a PostgreSQL server
// without the trigram extension, which only an administrator may add) is
// left out: the searches then scan, finding the same rows more slowly.
// False only on another failure. The database's searches follow what is
// there afterwards.
bool createSearchIndexes(Database &db, QString *why);
// Drops the search indexes (and what keeps them up to date).
bool dropSearchIndexes(Database &db, QString *why);
// The search indexes the database lacks, by name.
QStringList missingSearchIndexes(Database &db);

// Inserts rows into a table, converting each value to the column's type;
// records, headings and publishers with their search columns.
bool insertRows(Database &db, const QString &table, const QStringList &columns,
                const QVector<QVariantList> &rows, QString *why);

} // namespace folian
