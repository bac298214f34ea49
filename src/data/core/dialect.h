#pragma once
// What differs between the two database engines, in one place: DDL types,
// connection set-up, error classification and the server clock.

#include "data/core/schema.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <memory>

namespace folian {

struct ConnectionParams
{
    QString engine;    // "SQLITE"/"ACCESS" or "POSTGRESQL"
    QString server;    // host[:port]
    QString catalog;   // database name, or SQLite file relative to appDir
    QString user;
    QString password;
    QString appDir;    // ends with '/'
    QString sslMode;   // PostgreSQL: how the connection is encrypted (require, verify-full, ...)
    QString sslRootCert;  // PostgreSQL: the authority that signed the server's certificate
};

class Dialect
{
public:
    virtual ~Dialect() = default;

    // The dialect of an engine name; nullptr for an unknown engine.
    static std::unique_ptr<Dialect> forEngine(const QString &engine);

    virtual QString name() const = 0;           // "SQLITE" or "POSTGRESQL"
    virtual QString driver() const = 0;         // Qt driver name
    virtual bool isPostgres() const { return false; }

    // Fills the connection fields of `db` from the parameters. Returns false
    // with a reason when the parameters cannot work (missing file, ...).
    virtual bool configure(QSqlDatabase &db, const ConnectionParams &p, bool create,
                           QString *why) const = 0;
    // Statements to run on every new connection.
    virtual QStringList sessionSetup() const = 0;
    // Anything else a new connection needs (functions the SQL relies on).
    virtual bool onConnect(QSqlDatabase &) const { return true; }
    // Can the connection be lost while the program runs (a server restarted,
    // a network cut)? The database then makes it again.
    virtual bool connectionCanBeLost() const { return false; }

    // A criterion matching `column` against one bound LIKE pattern (see
    // LikePattern) without regard to case, for every letter: é finds É.
    virtual QString likeNoCase(const QString &column) const = 0;
    // The same, also ignoring the spelling variants of Arabic words (the
    // forms of alef, taa marbuta and haa, alef maqsura and yaa) and their
    // short vowels and tatweel, as SearchFold does: "احمد" finds "أحمد".
    virtual QString likeFolded(const QString &column) const = 0;
    // The condition that the keyword column of `ix` (Schema::searchIndexes),
    // on the row of `alias`, holds each of `words` as a whole keyword ("/"
    // + word + "/"), compared as likeFolded compares, a "*" inside a word
    // standing for any characters (across the slashes too). The bound values
    // are appended to `binds`. Reads the word index when indexedSearch().
    virtual QString keywordsHold(const SearchIndexDef &ix, const QString &alias, const QStringList &words,
                                 QVariantList &binds) const;
    // An expression as the Folded search indexes hold it: case-folded for
    // every letter, compared as the engine compares bytes. Two values are
    // equal there exactly when likeNoCase finds one with the other, typed
    // without a wildcard.
    virtual QString foldedKey(const QString &expression) const = 0;
    // Do those indexes hold only the rows where the column is not NULL? A
    // condition for them then says "<column> IS NOT NULL AND ..." too.
    virtual bool foldedIndexesPartial() const = 0;

    // Whether the searches are written for the search indexes (the default)
    // or as plain scans, which find exactly the same rows. The database
    // sets it when it opens and after its schema is made or upgraded; an
    // engine that needs the indexes' tables for the indexed form says so
    // in canSearchIndexed.
    bool indexedSearch() const { return indexedSearch_; }
    void setIndexedSearch(bool on) { indexedSearch_ = on; }
    virtual bool canSearchIndexed(const QSqlDatabase &) const { return true; }

    // The statements that make a search index over the rows already there
    // (with whatever keeps it up to date), and those that drop it.
    virtual QStringList createSearchIndex(const SearchIndexDef &ix) const = 0;
    virtual QStringList dropSearchIndex(const SearchIndexDef &ix) const = 0;
    // Statements the word indexes need first (a server extension); when they
    // fail the word indexes are left out and the searches scan instead.
    virtual QStringList prepareWordIndexes() const { return {}; }

    // Whether the engine has roles: a server where the workstations may
    // connect as a role of their own rather than as the schema's owner.
    virtual bool hasRoles() const { return false; }
    // The statements, run by the owner, that give `role` what the program
    // needs at run time on the database `catalog` and no more: reading,
    // adding, changing and deleting the rows of every table, those that
    // upgrades add later included; never creating, changing or dropping a
    // table. `role` is a plain lower-case name.
    virtual QStringList runtimeGrants(const QString &, const QString &) const { return {}; }
    virtual bool hasSearchIndex(const QSqlDatabase &db, const SearchIndexDef &ix) const = 0;

    // The exact whole number of cents of an amount (an amount column or
    // expression), an integer that sums, compares and orders amounts with
    // no binary rounding on either engine: SUM(moneyCents(ACQ_MONTANT)),
    // moneyCents(ACQ_PRIX) > ? with the cents bound. NULL stays NULL.
    virtual QString moneyCents(const QString &expression) const = 0;

    // The year of a date or timestamp column, as an integer.
    virtual QString yearOf(const QString &column) const = 0;

    virtual QString columnType(const ColumnDef &c) const = 0;
    // A bound value standing where nothing gives it a type (the select list
    // of an INSERT ... SELECT): "?" where values need no type, else "?" cast
    // to the column's type.
    virtual QString typedParameter(const ColumnDef &c) const = 0;
    QString createTable(const TableDef &t) const;
    QString createIndex(const TableDef &t, const IndexDef &ix) const;
    QString addColumn(const QString &table, const ColumnDef &c) const;
    // Gives an existing column the type the schema now gives it (a longer
    // text); empty when the engine needs nothing for that.
    virtual QString changeColumnType(const QString &table, const ColumnDef &c) const = 0;

    // Is each statement a round trip to a server, worth saving by doing two
    // things in one statement? (An embedded engine runs them in the process,
    // where the simpler statements are the faster.)
    virtual bool statementsAreRoundTrips() const = 0;

    // The statement that brings the planner's knowledge of a table up to date
    // after it has grown (plans made when it was small stop fitting); empty
    // when the engine needs none.
    virtual QString refreshStatistics(const QString &table) const = 0;

    // A statement with one bound key that locks the row of `table` whose
    // `keyColumn` is the key until the transaction ends: what the
    // transaction reads next, no other workstation can change before it
    // commits.
    virtual QString lockRow(const QString &table, const QString &keyColumn) const = 0;

    // Does the error come from a duplicate primary or unique key?
    virtual bool isDuplicateKey(const QSqlError &e) const = 0;

    // The server's date and time, or the workstation's date for the
    // embedded engine; invalid when it cannot be read.
    virtual QDateTime serverDate(const QSqlDatabase &db) const = 0;

    // Can a result read forward only stay open on a connection while other
    // statements run on it? When not, a long read (a report, an export)
    // streams on a connection of its own for its duration.
    virtual bool streamsOnMainConnection() const = 0;

    // Where NULL sorts in an ascending order with no NULLS clause: first
    // (the smallest value) or last. Pages keep the engine's own order so that
    // its indexes serve them.
    virtual bool nullsSortFirst() const = 0;
    // A sort column as a page's condition compares it beyond the last row
    // read when NULLs follow that row ("c < ? OR c IS NULL"). The embedded
    // engine would answer that OR from two ranges of the column's index,
    // collecting and sorting every row below the last one for each page:
    // there the column is compared without its index, so that the page is
    // read along the index of its order and stops at its last row.
    virtual QString pageBeyondOperand(const QString &column) const { return column; }

    // The clause that sorts and compares text alphabetically in a language
    // ("FR" or "AR"): " COLLATE ..." after a column.
    virtual QString collate(const QString &language) const = 0;

    // The statement with each `?` placeholder replaced by its value, quoted by
    // the driver of `db` (for statements the server cannot prepare, such as a
    // cursor declaration). Placeholders inside quotes are left alone.
    static QString inlineBinds(const QSqlDatabase &db, const QString &sql, const QVariantList &binds);

    // Values as stored and as read, for a column of a known type.
    virtual QVariant toDb(const QVariant &v, ColType t) const;
    virtual QVariant fromDb(const QVariant &v, ColType t) const;

    // Lists the user tables of the database, upper-cased.
    virtual QStringList tables(const QSqlDatabase &db) const;
    // Lists the columns of a table, upper-cased.
    virtual QStringList columns(const QSqlDatabase &db, const QString &table) const;

private:
    bool indexedSearch_ = true;
};

} // namespace folian
