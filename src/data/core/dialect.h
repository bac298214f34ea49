#pragma once
// What differs between the two database engines, in one place: DDL types,
// connection set-up, error classification and the server clock.

#include "data/core/helpers.h"
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
    // A connection that only reads: the embedded file is opened read-only,
    // every transaction on the server is a read-only one.
    bool readOnly = false;
};

// Server = host[:port]; an IPv6 address between brackets when a port
// follows it ([::1]:5432), with or without them when none does. False when
// the text is not of that form.
bool splitServer(const QString &server, QString *host, int *port);

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
    // Statements to run on every new connection (`readOnly`: one that only reads).
    virtual QStringList sessionSetup(bool readOnly) const = 0;
    // Anything else a new connection needs (functions the SQL relies on).
    virtual bool onConnect(QSqlDatabase &) const { return true; }
    // Can the connection be lost while the program runs (a server restarted,
    // a network cut)? The database then makes it again.
    virtual bool connectionCanBeLost() const { return false; }

    // A criterion matching `column` against one bound LIKE pattern (see
    // LikePattern) without regard to case, for every letter: é finds É.
    virtual QString likeNoCase(const QString &column) const = 0;
    // The same, both sides folded as SearchFold folds them (case, accents,
    // apostrophes, the spelling variants of Arabic words): "احمد" finds
    // "أحمد", "ecole" finds "École".
    virtual QString likeFolded(const QString &column) const = 0;
    // The condition that the keyword column of `ix` (Schema::searchIndexes),
    // on the row of `alias`, holds each of `words` as a whole keyword ("/"
    // + word + "/"), compared as likeFolded compares, a "*" inside a word
    // standing for any characters (across the slashes too). The bound values
    // are appended to `binds`. When indexedSearch(), reads the word index,
    // which holds the folded words the program stored; else the keywords
    // themselves, folded as they are read.
    virtual QString keywordsHold(const SearchIndexDef &ix, const QString &alias, const QStringList &words,
                                 QVariantList &binds) const;
    // The same test made on the row's own folded words, never through the
    // word index: for a query that reads its rows along another index (the
    // title order) and tests each row it reads.
    virtual QString keywordsHoldOnRow(const SearchIndexDef &ix, const QString &alias, const QStringList &words,
                                      QVariantList &binds) const
    {
        return keywordsHold(ix, alias, words, binds);
    }
    // A condition the engine tests on each row it reads, never through an
    // index, so that the rows are read along the index of the query's order.
    virtual QString withoutIndex(const QString &condition) const { return condition; }
    // The rows of `table` (named `alias`) that hold `condition`, as a source
    // the engine finds first and then sorts: its planner may not read them
    // along the index of the order instead, however few rows it expects to
    // read that way before a page is full.
    virtual QString foundFirst(const QString &table, const QString &alias, const QString &condition) const = 0;
    // An expression as the Folded search indexes hold it: case-folded,
    // compared as the engine compares bytes. Two values are equal there
    // exactly when likeNoCase finds one with the other, typed without a
    // wildcard, for every value typed that foldedKeyFits.
    virtual QString foldedKey(const QString &expression) const = 0;
    // Does foldedKey fold the letters of a value typed as likeNoCase does?
    virtual bool foldedKeyFits(const QString &) const { return true; }
    // Do those indexes hold only the rows where the column is not NULL? A
    // condition for them then says "<column> IS NOT NULL AND ..." too.
    virtual bool foldedIndexesPartial() const = 0;

    // Whether the searches are written for the search indexes (the default)
    // or as plain scans, which find the same rows (those whose search
    // columns the program wrote; a scan also finds the rows another tool
    // wrote without them). The database sets it when it opens and after its
    // schema is made or upgraded: the indexed form needs every word index.
    bool indexedSearch() const { return indexedSearch_; }
    void setIndexedSearch(bool on) { indexedSearch_ = on; }
    bool canSearchIndexed(const QSqlDatabase &db) const;

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
    // The statements, run by the owner, that let `role` read the rows of
    // `tables` on the database `catalog` and nothing else: whatever it was
    // given on other tables is taken back, and nothing it is given later
    // by default. `role` is a plain lower-case name, `tables` the schema's.
    virtual QStringList readOnlyGrants(const QString &, const QString &, const QStringList &) const { return {}; }
    virtual bool hasSearchIndex(const QSqlDatabase &db, const SearchIndexDef &ix) const = 0;

    // The exact whole number of cents of an amount (an amount column or
    // expression), an integer that sums, compares and orders amounts with
    // no binary rounding on either engine: SUM(moneyCents(ACQ_MONTANT)),
    // moneyCents(ACQ_PRIX) > ? with the cents bound. NULL stays NULL.
    virtual QString moneyCents(const QString &expression) const = 0;

    // The year of a date or timestamp column, as an integer.
    virtual QString yearOf(const QString &column) const = 0;
    // The month of a date or timestamp column as text "YYYY-MM", which
    // sorts as the months follow one another.
    virtual QString yearMonthOf(const QString &column) const = 0;

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

    // The statement that begins a transaction; empty for the driver's own.
    // The embedded engine takes its one write lock there, so that a
    // transaction that reads and then writes never finds the database
    // changed by another program between the two (it waits for the lock
    // instead of failing).
    virtual QString beginTransaction() const { return {}; }

    // A statement with the bound values of `condition` that locks the rows
    // of `table` it selects until the transaction ends: what the
    // transaction reads next, no other workstation can change before it
    // commits. A shared lock lets other transactions take the same shared
    // lock, and keeps out those that change or delete the rows.
    virtual QString lockRows(const QString &table, const QString &condition, bool shared = false) const = 0;
    // The row of `table` whose `keyColumn` is the one bound key.
    QString lockRow(const QString &table, const QString &keyColumn) const
    {
        return lockRows(table, keyColumn + QStringLiteral(" = ?"));
    }

    // Does the error come from a duplicate primary or unique key?
    virtual bool isDuplicateKey(const QSqlError &e) const = 0;
    // Did the tables change shape (another connection altered one) since
    // the last call on this connection? Statements prepared before are then
    // prepared anew: the embedded engine's driver cannot run a kept
    // statement again once its columns changed. A server tells that itself
    // when the statement runs (see isStatementForgotten).
    virtual bool schemaChangedSinceLastAsked(const QSqlDatabase &) const { return false; }
    // Does the error say that the server no longer knows a statement it
    // prepared (its session was reset) or can no longer run it as prepared
    // (a table it reads changed shape)? It can then be prepared again.
    virtual bool isStatementForgotten(const QSqlError &) const { return false; }

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
    // A text compared and ranged by the codes of its characters, the same
    // way on both engines whatever the server's collation ("100" < "20",
    // "B" < "a"): the embedded engine's own comparison.
    virtual QString byteOrder(const QString &expression) const { return expression; }

    // The condition that `expression` is one of the texts `values` (at least
    // one), with its bound values: a placeholder a value here; on the
    // server one bound array, so that a list of thousands is one value to
    // send and one plan whatever its length.
    virtual SqlText oneOf(const QString &expression, const QStringList &values) const;

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
