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
    for (const QString &s : dialect_->sessionSetup(params_.readOnly)) {
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
    statements_.holdReleases(false);
    statements_.clear();
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

namespace {
// A statement that may change the shape of tables.
bool changesSchema(const QString &sql)
{
    const QString s = sql.trimmed();
    for (const char *word : {"CREATE", "ALTER", "DROP"})
        if (s.startsWith(QLatin1String(word), Qt::CaseInsensitive))
            return true;
    return false;
}
} // namespace

SqlRows Database::query(const QString &sql, const QVariantList &binds)
{
    SqlRows q = run(sql, binds);
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
        statements_.clear();  // they belonged to the connection that was lost
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

SqlRows Database::run(const QString &sql, const QVariantList &binds)
{
    if (!binds.isEmpty())
        return runPrepared(sql, binds);
    auto own = std::make_shared<CachedStatement>();
    own->query = QSqlQuery(connection());
    own->query.setForwardOnly(true);
    own->query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!own->query.exec(sql)) {
        lastError_ = own->query.lastError();
        return {};
    }
    // The statements kept may read the tables as they were.
    if (changesSchema(sql))
        statements_.clear();
    return SqlRows(std::move(own));
}

SqlRows Database::runPrepared(const QString &sql, const QVariantList &binds)
{
    // Outside a transaction another connection may have changed the tables
    // since the last statement (inside one, begin() asked).
    if (depth_ == 0 && dialect_->schemaChangedSinceLastAsked(connection()))
        statements_.clear();
    // A second attempt only when the server no longer knows a statement it
    // prepared (a session reset, a table that changed shape), outside a
    // transaction: inside one, the failure has already undone it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::shared_ptr<CachedStatement> s = statements_.take(connection(), sql, &lastError_);
        if (!s)
            return {};
        for (int i = 0; i < binds.size(); ++i)
            s->query.bindValue(i, binds.at(i));
        if (s->query.exec())
            return SqlRows(std::move(s));
        lastError_ = s->query.lastError();
        if (!dialect_->isStatementForgotten(lastError_))
            return {};
        statements_.forget(s);  // the next use prepares it anew
        if (depth_ > 0)
            return {};
    }
    return {};
}

void Database::schemaChanged()
{
    statements_.clear();
    refreshIndexedSearch();
}

bool Database::exec(const QString &sql, const QVariantList &binds)
{
    return query(sql, binds).isActive();
}

QVariant Database::scalar(const QString &sql, const QVariantList &binds, bool *ok)
{
    SqlRows q = query(sql, binds);
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
    if (depth_ > 0) {
        ok = exec(QStringLiteral("SAVEPOINT sp%1").arg(depth_));
    } else {
        // Asked before the transaction, which must not begin by reading: a
        // write that follows a read of the embedded file fails at once when
        // another connection wrote in between.
        if (dialect_->schemaChangedSinceLastAsked(connection()))
            statements_.clear();
        if (const QString statement = dialect_->beginTransaction(); !statement.isEmpty()) {
            ok = exec(statement);
        } else {
            ok = connection().transaction();
            if (!ok) {
                lastError_ = connection().lastError();
                if (reconnect())
                    ok = connection().transaction();
                if (!ok && !lost_)
                    lastError_ = connection().lastError();
            }
        }
    }
    if (!ok)
        return false;
    if (depth_++ == 0)
        statements_.holdReleases(true);
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
        statements_.holdReleases(false);
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
    if (depth_ == 0)
        statements_.holdReleases(false);
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
