#pragma once
// The statements a connection prepared, kept by their SQL text for the life
// of the connection, so that a statement run again costs the server one
// execution instead of a preparation, an execution and a release (three
// round trips on a network server).
//
// A statement whose result is still being read (an SqlRows holds it) is
// never run again under its reader: the same text asked for meanwhile gets a
// second statement of its own. Past the capacity the statement used least
// recently is released; while a transaction is open the release waits for
// its end, because a server refuses to release anything in a transaction
// that failed until it is rolled back.

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>

#include <memory>
#include <vector>

namespace folian {

struct CachedStatement {
    QString sql;
    QSqlQuery query;         // prepared, forward only, exact numbers
    bool reading = false;    // an SqlRows holds its result
    quint64 lastUse = 0;
};

class StatementCache
{
public:
    static constexpr int kDefaultCapacity = 128;

    StatementCache() = default;
    ~StatementCache() { holdReleases(false); clear(); }
    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;

    // A statement prepared for `sql` that no reader holds, prepared now on
    // `db` when there is none; null when the server refuses to prepare it,
    // with its reason in `error`.
    std::shared_ptr<CachedStatement> take(const QSqlDatabase &db, const QString &sql, QSqlError *error);
    // Drops a statement (the least recently used, or one the server no
    // longer knows); a reader still holding it keeps it until it is done.
    void forget(const std::shared_ptr<CachedStatement> &s);
    // Releases every statement (the connection closes, or the tables changed
    // shape and the statements read them as they were).
    void clear();

    // While held, the statements dropped are set aside and released when
    // the hold ends (a transaction is open).
    void holdReleases(bool hold);

    int size() const { return count_; }
    bool holds(const QString &sql) const { return bySql_.contains(sql); }
    int capacity() const { return capacity_; }
    // Releases idle statements past the new capacity (at least 1).
    void setCapacity(int n);

private:
    void release(std::shared_ptr<CachedStatement> s);
    void trim();

    QHash<QString, std::vector<std::shared_ptr<CachedStatement>>> bySql_;
    std::vector<std::shared_ptr<CachedStatement>> held_;
    int count_ = 0;
    int capacity_ = kDefaultCapacity;
    quint64 clock_ = 0;
    bool holding_ = false;
};

// The result of a statement run by Database::query, read forward only as a
// QSqlQuery is. While it lives, the statement is its own; it hands it back
// to its connection's cache when it goes (or on finish()). It cannot be
// copied, so no copy outlives that hand-back.
class SqlRows
{
public:
    SqlRows() = default;
    // A statement of the cache, or one of its own (not kept).
    explicit SqlRows(std::shared_ptr<CachedStatement> s);
    SqlRows(SqlRows &&other) noexcept = default;
    SqlRows &operator=(SqlRows &&other) noexcept;
    SqlRows(const SqlRows &) = delete;
    SqlRows &operator=(const SqlRows &) = delete;
    ~SqlRows() { finish(); }

    bool isActive() const { return s_ && s_->query.isActive(); }
    bool isSelect() const { return s_ && s_->query.isSelect(); }
    bool next() { return s_ && s_->query.next(); }
    QVariant value(int i) const { return s_ ? s_->query.value(i) : QVariant(); }
    QVariant value(const QString &name) const { return s_ ? s_->query.value(name) : QVariant(); }
    bool isNull(int i) const { return !s_ || s_->query.isNull(i); }
    int numRowsAffected() const { return s_ ? s_->query.numRowsAffected() : -1; }
    QSqlRecord record() const { return s_ ? s_->query.record() : QSqlRecord(); }
    QSqlError lastError() const { return s_ ? s_->query.lastError() : QSqlError(); }

    // Frees the result (its rows, the locks a reading statement holds) and
    // hands the statement back.
    void finish();

private:
    std::shared_ptr<CachedStatement> s_;
};

} // namespace folian
