#pragma once
// One database connection with its dialect, the statements helpers every
// service uses and RAII transactions. A workstation holds this one
// connection: datasets read their results in pages on it.
//
// A statement with bound values is prepared once per connection and kept by
// its text (see StatementCache): run again, it is only executed. A statement
// without bound values is sent as it stands.

#include "data/core/dialect.h"
#include "data/core/statementcache.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <functional>
#include <memory>
#include <vector>

namespace folian {

class Dataset;

class Database
{
public:
    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens a connection. `create` lets the embedded engine create a missing
    // file (used only to build a new database). On failure returns false and
    // `why` tells the reason.
    bool open(const ConnectionParams &p, bool create = false, QString *why = nullptr);
    void close();
    bool isOpen() const;

    const Dialect &dialect() const { return *dialect_; }
    QSqlDatabase connection() const;
    QString connectionName() const { return name_; }
    const ConnectionParams &params() const { return params_; }

    // A connection the server dropped (restarted, or cut by the network) is
    // made again, once, by the first statement outside a transaction that
    // finds it gone; that statement then runs on the new connection. When
    // it cannot be made, the operator is told once and every statement
    // fails with the reason, until a later attempt (a few seconds on) works.
    // Inside a transaction nothing is made again: the transaction fails.
    bool connectionLost() const { return lost_; }
    // Runs after the connection was made again: what the server kept for
    // the old one (the logon marker) is to be taken again.
    void setAfterReconnect(std::function<void()> f) { afterReconnect_ = std::move(f); }

    // Prepares and runs a statement with bound values. On failure `lastError()` tells why.
    bool exec(const QString &sql, const QVariantList &binds = {});
    // Runs a query and returns its result positioned before its first row
    // (inactive on failure).
    SqlRows query(const QString &sql, const QVariantList &binds = {});
    // First column of the first row; invalid QVariant when no row or on failure.
    QVariant scalar(const QString &sql, const QVariantList &binds = {}, bool *ok = nullptr);
    QSqlError lastError() const { return lastError_; }

    QDateTime serverDate() const { return dialect_->serverDate(connection()); }

    // Writes the searches for the search indexes when the database has
    // what that needs (see Dialect::indexedSearch); asked again when the
    // connection opens and after the schema changes.
    void refreshIndexedSearch();
    // Searches as plain scans (false) or for the indexes: the rows found are
    // the same, which the tests compare.
    void setIndexedSearch(bool on) { dialect_->setIndexedSearch(on); }

    // Transactions nest: the outermost begins and commits, inner ones use savepoints.
    bool begin();
    bool commit();
    bool rollback();
    bool inTransaction() const { return depth_ > 0; }
    int transactionDepth() const { return depth_; }

    // A dataset posted a row inside the current transaction: when that
    // transaction (or the savepoint it posted in) rolls back, the dataset
    // reads the database again.
    void posted(Dataset *d);
    void forget(Dataset *d);

    // The statements kept prepared on the connection.
    StatementCache &statements() { return statements_; }
    // The tables changed shape: statements prepared on them are prepared anew.
    void schemaChanged();

    // A connection of its own for one long forward-only read (a report, an
    // export), opened on demand and closed when given back; empty on failure.
    QString acquireStreamConnection();
    void releaseStreamConnection(const QString &name);

private:
    bool runSetup(QSqlDatabase &db);
    SqlRows run(const QString &sql, const QVariantList &binds);
    // After a failed statement: was the connection lost and is it there again?
    bool reconnect();
    void afterRollback();
    SqlRows runPrepared(const QString &sql, const QVariantList &binds);

    QString name_;
    ConnectionParams params_;
    std::unique_ptr<Dialect> dialect_;
    QSqlError lastError_;
    int depth_ = 0;
    StatementCache statements_;
    struct Posted {
        Dataset *dataset;
        int depth;
    };
    std::vector<Posted> posted_;
    QStringList streams_;
    int streamSerial_ = 0;
    bool lost_ = false;
    QElapsedTimer lastAttempt_;
    std::function<void()> afterReconnect_;
};

// Commits on `commit()`, rolls back when it goes out of scope uncommitted.
class Transaction
{
public:
    explicit Transaction(Database &db) : db_(db), active_(db.begin()) {}
    ~Transaction()
    {
        if (active_)
            db_.rollback();
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isActive() const { return active_; }
    bool commit()
    {
        if (!active_)
            return false;
        active_ = false;
        return db_.commit();
    }

private:
    Database &db_;
    bool active_;
};

} // namespace folian
