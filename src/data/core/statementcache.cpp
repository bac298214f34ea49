#include "data/core/statementcache.h"

#include <algorithm>

namespace folian {

std::shared_ptr<CachedStatement> StatementCache::take(const QSqlDatabase &db, const QString &sql, QSqlError *error)
{
    auto it = bySql_.find(sql);
    if (it != bySql_.end()) {
        for (const std::shared_ptr<CachedStatement> &s : *it)
            if (!s->reading) {
                s->lastUse = ++clock_;
                return s;
            }
    }
    auto s = std::make_shared<CachedStatement>();
    s->sql = sql;
    s->query = QSqlQuery(db);
    s->query.setForwardOnly(true);
    s->query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!s->query.prepare(sql)) {
        if (error)
            *error = s->query.lastError();
        // Nothing was prepared: there is nothing to release either.
        return nullptr;
    }
    s->lastUse = ++clock_;
    bySql_[sql].push_back(s);
    ++count_;
    trim();  // never the new one: it is the most recent
    return s;
}

void StatementCache::forget(const std::shared_ptr<CachedStatement> &s)
{
    auto it = bySql_.find(s->sql);
    if (it == bySql_.end())
        return;
    auto &list = *it;
    const auto at = std::find(list.begin(), list.end(), s);
    if (at == list.end())
        return;
    list.erase(at);
    if (list.empty())
        bySql_.erase(it);
    --count_;
    release(s);
}

void StatementCache::trim()
{
    while (count_ > capacity_) {
        std::shared_ptr<CachedStatement> oldest;
        for (const auto &list : std::as_const(bySql_))
            for (const std::shared_ptr<CachedStatement> &s : list)
                if (!s->reading && (!oldest || s->lastUse < oldest->lastUse))
                    oldest = s;
        if (!oldest)
            return;  // every statement is being read: the cache grows for a while
        forget(oldest);
    }
}

void StatementCache::release(std::shared_ptr<CachedStatement> s)
{
    // A reader still holding the statement keeps it alive until it is done.
    if (holding_)
        held_.push_back(std::move(s));
}

void StatementCache::clear()
{
    for (auto &list : bySql_)
        for (std::shared_ptr<CachedStatement> &s : list)
            release(std::move(s));
    bySql_.clear();
    count_ = 0;
}

void StatementCache::holdReleases(bool hold)
{
    holding_ = hold;
    if (!hold)
        held_.clear();
}

void StatementCache::setCapacity(int n)
{
    capacity_ = std::max(1, n);
    trim();
}

SqlRows::SqlRows(std::shared_ptr<CachedStatement> s) : s_(std::move(s)) { s_->reading = true; }

SqlRows &SqlRows::operator=(SqlRows &&other) noexcept
{
    if (this != &other) {
        finish();
        s_ = std::move(other.s_);
    }
    return *this;
}

void SqlRows::finish()
{
    if (!s_)
        return;
    s_->query.finish();
    s_->reading = false;
    s_.reset();
}

} // namespace folian
