#pragma once
// Statements prepared once and run for every record of a long batch (an
// import): the server parses them once, and every value is bound.

#include "data/core/database.h"
#include "data/core/schema.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantHash>

#include <memory>

namespace folian::unimarc {

// A prepared query with bound values.
class PreparedQuery
{
public:
    PreparedQuery(Database &db, const QString &sql);
    // Runs it; false with the server's error in error().
    bool run(const QVariantList &binds);
    // After run(): the next row, then value(i) of it.
    bool next() { return q_.next(); }
    QVariant value(int i) const { return q_.value(i); }
    // The columns of the result.
    QSqlRecord record() const { return q_.record(); }
    // Frees the result (the statement stays prepared).
    void finish() { q_.finish(); }
    // The first column of the first row (null when no row), the result freed.
    bool first(const QVariantList &binds, QVariant *out);
    QSqlError error() const { return error_; }

private:
    Database &db_;
    QString sql_;
    QSqlQuery q_;
    bool prepared_ = false;
    QSqlError error_;
};

// A prepared INSERT into one table. Values are converted and checked by the
// column types of the schema before anything is sent: a value too long for
// its column is refused with a message naming the column, never cut. A table
// keyed by a counter gets its largest key plus one, computed by the server
// in the INSERT itself, and the new key is returned.
class PreparedInsert
{
public:
    enum class Result { Inserted, Refused, Failed };

    // `counter`: the key column that receives MAX + 1 (empty: the key is among
    // the columns); `sameAsCounter`: columns that receive the new key too.
    PreparedInsert(Database &db, const QString &table, const QStringList &columns, const QString &counter = {},
                   const QStringList &sameAsCounter = {});

    // Columns missing from `values` are NULL. With a counter, `key` receives the new key.
    Result insert(const QVariantHash &values, QVariant *key = nullptr);
    // The row, unless `condition` (a query, with its bound values) finds a
    // row: then nothing is inserted and `key` is null.
    Result insertUnless(const QVariantHash &values, const QString &condition, const QVariantList &conditionBinds,
                        QVariant *key);
    // Several rows in as few statements as can be. With a counter, `keys`
    // (when given) receives the new keys in the order of the rows.
    Result insertRows(const QList<QVariantHash> &rows, QList<QVariant> *keys = nullptr);
    QString refusal() const { return refusal_; }
    QSqlError error() const { return error_; }
    QString table() const { return table_; }
    bool hasCounter() const { return !counter_.isEmpty(); }

    // Why `value` does not fit `column`; empty when it fits.
    QString refusalOf(const QString &column, const QVariant &value) const;
    // Why the row cannot be inserted as it stands; empty when it can.
    QString refusalOf(const QVariantHash &values) const;

private:
    // The INSERT of a row, or of a row unless `condition` finds one.
    PreparedQuery &statementFor(const QString &condition);
    // Checks and converts the values of a row as the table's columns hold
    // them; false with `refusal` naming the first value that does not fit.
    bool convert(const QVariantHash &values, QVariantList &binds, QString *refusal) const;
    // The INSERT of `rows` rows; the counter of the n-th row is MAX + n.
    static QString sqlOf(const QString &table, const QStringList &columns, const QString &counter,
                         const QStringList &same, int rows = 1, bool returning = false);

    Database &db_;
    QString table_;
    QStringList columns_;
    QString counter_;
    QVector<const ColumnDef *> defs_;  // of columns_, null for a column the schema does not know
    struct Memo {
        bool valid = false;
        QVariant in, out;  // the last value given to a column and how it was bound
    };
    mutable QVector<Memo> memo_;
    QStringList same_;
    PreparedQuery query_;
    QHash<int, std::shared_ptr<PreparedQuery>> multi_;  // by number of rows, negative when returning the keys
    QHash<QString, std::shared_ptr<PreparedQuery>> unless_;  // by condition
    QHash<QString, qsizetype> position_;  // of each column in columns_
    QString refusal_;
    QSqlError error_;
};

} // namespace folian::unimarc
