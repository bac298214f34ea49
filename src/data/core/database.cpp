#include "data/core/database.h"

#include "base/messages.h"
#include "data/core/connectiontexts.h"
#include "data/core/dataset.h"

#include <QAtomicInt>
#include <QSqlDriver>

namespace folian {

namespace {
QAtomicInt g_serial;
}

Database::~Database() { close(); }

bool Database::open(const ConnectionParams &p, bool create, QString *why)
{
    close();
    QString reason;
    dialect_ = Dialect::forEngine(p.engine);
    if (!dialect_) {
        if (why)
            *why = unknownEngineMessage(p.engine, QString());
        return false;
    }
    params_ = p;
    name_ = QStringLiteral("folian-%1").arg(g_serial.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(dialect_->driver(), name_);
    if (!db.isValid()) {
        if (why)
            *why = driverMissingMessage(dialect_->driver());
        QSqlDatabase::removeDatabase(name_);
        name_.clear();
        return false;
    }
    if (!dialect_->configure(db, p, create, &reason) || !db.open() || !runSetup(db)) {
        if (why)
            *why = !reason.isEmpty()             ? reason
                : dialect_->connectionCanBeLost() ? serverUnreachableMessage(db.lastError().text())
                                                  : db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        name_.clear();
        return false;
    }
    lost_ = false;
    refreshIndexedSearch();
    return true;
}

void Database::refreshIndexedSearch()
{
    if (dialect_)
        dialect_->setIndexedSearch(dialect_->canSearchIndexed(connection()));
}

bool Database::runSetup(QSqlDatabase &db)
{
    if (!dialect_->onConnect(db))
        return false;
    for (const QString &s : dialect_->sessionSetup()) {
        QSqlQuery q(db);
        if (!q.exec(s)) {
            lastError_ = q.lastError();
            return false;
        }
    }
    return true;
}

void Database::close()
{
    if (name_.isEmpty())
        return;
    for (const QString &n : std::as_const(streams_)) {
        QSqlDatabase::database(n, false).close();
        QSqlDatabase::removeDatabase(n);
    }
    streams_.clear();
    failed_.clear();
    posted_.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
    depth_ = 0;
}

bool Database::isOpen() const
{
    return !name_.isEmpty() && QSqlDatabase::database(name_, false).isOpen();
}

QSqlDatabase Database::connection() const { return QSqlDatabase::database(name_, false); }

QSqlQuery Database::query(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = run(sql, binds);
    if (!q.isActive() && reconnect())
        q = run(sql, binds);
    return q;
}

bool Database::reconnect()
{
    if (depth_ > 0 || name_.isEmpty() || !dialect_ || !dialect_->connectionCanBeLost())
        return false;
    QSqlDatabase db = connection();
    if (db.isOpen()) {
        QSqlQuery probe(db);
        if (probe.exec(QStringLiteral("SELECT 1")))
            return false;  // the statement failed on its own
    }
    if (lost_ && lastAttempt_.isValid() && lastAttempt_.elapsed() < 5000)
        return false;  // lastError_ still tells why
    lastAttempt_.start();
    db.close();
    if (db.open() && runSetup(db)) {
        lost_ = false;
        if (afterReconnect_)
            afterReconnect_();
        return true;
    }
    const QString reason = db.lastError().text().trimmed().isEmpty() ? lastError_.text() : db.lastError().text();
    const QString message = connectionLostMessage(reason);
    lastError_ = QSqlError(message, reason, QSqlError::ConnectionError);
    if (!lost_) {
        lost_ = true;
        error(message);  // once: the reads that fail next say it too
    }
    return false;
}

QSqlQuery Database::run(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    bool ok;
    if (binds.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        if (ok) {
            for (const QVariant &b : binds)
                q.addBindValue(b);
            ok = q.exec();
        }
    }
    if (!ok) {
        lastError_ = q.lastError();
        // In a failed transaction the server refuses to free the statement
        // until the rollback: keep it until then.
        if (depth_ > 0)
            failed_.push_back(std::make_unique<QSqlQuery>(std::move(q)));
        return QSqlQuery();
    }
    return q;
}

bool Database::exec(const QString &sql, const QVariantList &binds)
{
    return query(sql, binds).isActive();
}

QVariant Database::scalar(const QString &sql, const QVariantList &binds, bool *ok)
{
    QSqlQuery q = query(sql, binds);
    const bool good = q.isActive();
    if (ok)
        *ok = good;
    if (good && q.next())
        return q.value(0);
    return {};
}

bool Database::begin()
{
    bool ok;
    if (depth_ == 0) {
        ok = connection().transaction();
        if (!ok) {
            lastError_ = connection().lastError();
            if (reconnect())
                ok = connection().transaction();
            if (!ok && !lost_)
                lastError_ = connection().lastError();
        }
    } else {
        ok = exec(QStringLiteral("SAVEPOINT sp%1").arg(depth_));
    }
    if (!ok)
        return false;
    ++depth_;
    return true;
}

bool Database::commit()
{
    if (depth_ == 0)
        return false;
    --depth_;
    if (depth_ == 0) {
        const bool ok = connection().commit();
        if (!ok) {
            lastError_ = connection().lastError();
            connection().rollback();
        }
        failed_.clear();
        if (ok)
            posted_.clear();
        else
            afterRollback();
        return ok;
    }
    // What was posted in the savepoint now belongs to the enclosing level.
    for (Posted &p : posted_)
        p.depth = std::min(p.depth, depth_);
    return exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth_));
}

bool Database::rollback()
{
    if (depth_ == 0)
        return false;
    --depth_;
    bool ok;
    if (depth_ == 0) {
        ok = connection().rollback();
    } else {
        ok = exec(QStringLiteral("ROLLBACK TO SAVEPOINT sp%1").arg(depth_));
        exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth_));
    }
    failed_.clear();
    afterRollback();
    return ok;
}

QString Database::acquireStreamConnection()
{
    const QString n = name_ + QStringLiteral("-stream-%1").arg(++streamSerial_);
    QSqlDatabase s = QSqlDatabase::cloneDatabase(name_, n);
    if (!s.open() || !runSetup(s)) {
        lastError_ = s.lastError();
        s = QSqlDatabase();
        QSqlDatabase::removeDatabase(n);
        return {};
    }
    streams_ << n;
    return n;
}

void Database::releaseStreamConnection(const QString &name)
{
    if (!streams_.removeOne(name))
        return;
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

void Database::posted(Dataset *d)
{
    if (depth_ == 0)
        return;
    for (Posted &p : posted_)
        if (p.dataset == d) {
            p.depth = std::max(p.depth, depth_);
            return;
        }
    posted_.push_back({d, depth_});
}

void Database::forget(Dataset *d)
{
    std::erase_if(posted_, [d](const Posted &p) { return p.dataset == d; });
}

void Database::afterRollback()
{
    // Everything posted deeper than the level now current was undone.
    std::vector<Dataset *> undone;
    std::erase_if(posted_, [&](const Posted &p) {
        if (p.depth <= depth_)
            return false;
        undone.push_back(p.dataset);
        return true;
    });
    for (Dataset *d : undone)
        d->rolledBack();
}

} // namespace folian
