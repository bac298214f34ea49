#include "data/core/dataset.h"

#include "data/core/helpers.h"

namespace folian {

namespace {
constexpr int kInsertAttempts = 50;
}

Dataset::Dataset(Database &db, const QString &name, const QString &table, QObject *parent)
    : QObject(parent), db_(db), table_(table.toUpper())
{
    setObjectName(name);
    if (const TableDef *t = Schema::table(table_); t && t->surrogateKey)
        autoKey_ = t->primaryKey.value(0).toUpper();
}

Dataset::~Dataset() { db_.forget(this); }

void Dataset::setSql(const QString &sql, const QVariantList &binds)
{
    sql_ = sql;
    binds_ = binds;
}

void Dataset::setSortField(const QString &column, const QString &collation)
{
    sortField_ = column;
    sortCollation_ = collation;
}

int Dataset::fieldIndex(const QString &name) const
{
    const QString up = name.toUpper();
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i) == up)
            return i;
    return -1;
}

bool Dataset::open()
{
    close();
    emit aboutToReset();
    rows_.clear();
    lastError_.clear();
    refusal_.clear();
    lastSqlError_ = QSqlError();
    QSignalBlocker quiet(this);  // the rows read while opening are announced by reset()
    const bool started = startReading();
    quiet.unblock();
    if (!started) {
        rows_.clear();
        emit reset();
        return false;
    }
    current_ = rows_.isEmpty() ? -1 : 0;
    eof_ = rows_.isEmpty();
    state_ = State::Browse;
    emit reset();
    emit stateChanged();
    afterOpen(*this);
    emit currentChanged(current_);
    return true;
}

bool Dataset::reopen()
{
    QVariantList key;
    if (current_ >= 0 && current_ < rowCount())
        for (const QString &k : keyColumns())
            key << valueAt(current_, fieldIndex(k));
    const QStringList keys = keyColumns();
    if (!open())
        return false;
    if (!key.isEmpty() && keys.size() == 1)
        locate(keys.first(), key.first());
    return true;
}

void Dataset::close()
{
    if (state_ == State::Inactive && rows_.isEmpty())
        return;
    emit aboutToReset();
    rows_.clear();
    fields_.clear();
    fieldTypes_.clear();
    localRows_.clear();
    frontier_.clear();
    current_ = -1;
    pendingRow_ = -1;
    eof_ = true;
    atEnd_ = true;
    paged_ = false;
    state_ = State::Inactive;
    db_.forget(this);
    emit reset();
    emit stateChanged();
}

void Dataset::rolledBack()
{
    // What this set posted is no longer in the database: show the database.
    if (isEditing()) {
        state_ = State::Browse;
        pendingRow_ = -1;
    }
    reopen();
}

bool Dataset::moveTo(int row)
{
    if (!isOpen())
        return false;
    if (isEditing() && row != current_ && !post())
        return false;
    while (row >= rowCount() && !atEnd_)
        if (!fetchMore(row - rowCount() + 1) && fetchFailed_)
            break;
    if (row < 0 || row >= rowCount()) {
        eof_ = row >= rowCount();
        return false;
    }
    current_ = row;
    eof_ = false;
    emit currentChanged(current_);
    return true;
}

bool Dataset::next()
{
    if (current_ + 1 >= rowCount() && !atEnd_)
        fetchMore();
    if (current_ + 1 >= rowCount()) {
        eof_ = true;
        return false;
    }
    return moveTo(current_ + 1);
}

bool Dataset::last()
{
    fetchAll();
    return moveTo(rowCount() - 1);
}

void Dataset::setState(State s)
{
    state_ = s;
    emit stateChanged();
}

bool Dataset::fail(const QString &message, const QSqlError &e)
{
    lastError_ = message;
    lastSqlError_ = e;
    return false;
}

bool Dataset::append()
{
    if (!isOpen())
        return fail(QStringLiteral("%1: closed").arg(name()));
    if (isEditing() && !post())
        return false;
    if (!beforeInsert(*this))
        return false;
    isEmpty();
    rowsBeforeInsert_ = rowCount();
    pending_ = Row(fields_.size());
    rows_.append(pending_);
    pendingRow_ = rowCount() - 1;
    current_ = pendingRow_;
    eof_ = false;
    setState(State::Insert);
    emit rowInserted(pendingRow_);
    afterInsert(*this);
    emit currentChanged(current_);
    return true;
}

bool Dataset::edit()
{
    if (state_ == State::Edit || state_ == State::Insert)
        return true;
    if (state_ != State::Browse || current_ < 0)
        return fail(QStringLiteral("%1: no row to edit").arg(name()));
    original_ = rows_.at(current_);
    pending_ = original_;
    pendingRow_ = current_;
    setState(State::Edit);
    afterEdit(*this);
    return true;
}

QStringList Dataset::keyColumns() const
{
    QStringList out;
    if (const TableDef *t = Schema::table(table_))
        for (const QString &k : t->primaryKey)
            out << k.toUpper();
    return out;
}

bool Dataset::keyWhere(const Row &row, QString &where, QVariantList &binds)
{
    QStringList parts;
    for (const QString &k : keyColumns()) {
        const int f = fieldIndex(k);
        if (f < 0)
            return fail(QStringLiteral("%1: the result lacks the key %2").arg(name(), k));
        parts << k + QStringLiteral(" = ?");
        binds << db_.dialect().toDb(row.at(f), *fieldTypes_.at(f));
    }
    if (parts.isEmpty())
        return fail(QStringLiteral("%1: table %2 has no key").arg(name(), table_));
    where = parts.join(QStringLiteral(" AND "));
    return true;
}

QVariant Dataset::nextKey()
{
    return NextId(db_, table_, QStringLiteral("MAX(") + autoKey_ + u')');
}

bool Dataset::insertRow()
{
    const int keyField = autoKey_.isEmpty() ? -1 : fieldIndex(autoKey_);
    if (!autoKey_.isEmpty() && keyField < 0)
        return fail(QStringLiteral("%1: the result lacks the key %2").arg(name(), autoKey_));
    // Each attempt starts from the row as the operator left it, so that
    // every value derived from the key is derived again from the new key.
    const Row before = pending_;
    QVariant tried;
    for (int attempt = 0; attempt < kInsertAttempts; ++attempt) {
        pending_ = before;
        if (keyField >= 0) {
            tried = nextKey();
            pending_[keyField] = tried;
        }
        keyAllocated(*this);
        if (!checkRow()) {
            pending_ = before;
            return false;
        }
        QStringList cols, marks;
        QVariantList binds;
        for (int i = 0; i < fields_.size(); ++i) {
            const auto &t = fieldTypes_.at(i);
            const QVariant &v = pending_.at(i);
            if (!t || v.isNull() || !v.isValid())
                continue;
            cols << fields_.at(i);
            marks << QStringLiteral("?");
            binds << db_.dialect().toDb(v, *t);
        }
        if (cols.isEmpty())
            return fail(QStringLiteral("%1: nothing to insert").arg(name()));
        const QString sql = QStringLiteral("INSERT INTO ") + table_ + QStringLiteral(" (")
            + cols.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
            + marks.join(QStringLiteral(", ")) + u')';
        QSqlError e;
        {
            Transaction tx(db_);
            if (db_.exec(sql, binds) && tx.commit())
                return true;
            e = db_.lastError();
        }  // rolled back before the key is read again
        if (keyField >= 0 && db_.dialect().isDuplicateKey(e)) {
            // Another workstation took the key between our read and our insert:
            // take the next one. If the key is still free the duplicate is elsewhere.
            if (!sameValue(nextKey(), tried))
                continue;
        }
        pending_ = before;
        return fail(e.text(), e);
    }
    pending_ = before;
    return fail(QStringLiteral("%1: no free key after %2 attempts").arg(name()).arg(kInsertAttempts));
}

bool Dataset::updateRow()
{
    if (!checkRow())
        return false;
    QStringList sets;
    QVariantList binds;
    for (int i = 0; i < fields_.size(); ++i) {
        const auto &t = fieldTypes_.at(i);
        if (!t || sameValue(pending_.at(i), original_.at(i)))
            continue;
        sets << fields_.at(i) + QStringLiteral(" = ?");
        binds << db_.dialect().toDb(pending_.at(i), *t);
    }
    if (sets.isEmpty())
        return true;
    QString where;
    if (!keyWhere(original_, where, binds))
        return false;
    const QString sql = QStringLiteral("UPDATE ") + table_ + QStringLiteral(" SET ")
        + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + where;
    SqlRows q = db_.query(sql, binds);
    if (!q.isActive())
        return fail(db_.lastError().text(), db_.lastError());
    if (q.numRowsAffected() == 0)
        return fail(QStringLiteral("%1: the row no longer exists").arg(name()),
                    QSqlError(QStringLiteral("row not found"), QString(), QSqlError::StatementError));
    return true;
}

bool Dataset::post()
{
    if (!isEditing())
        return true;
    lastError_.clear();
    refusal_.clear();
    if (table_.isEmpty())
        return fail(QStringLiteral("%1: read-only").arg(name()));
    if (!beforePost(*this))
        return false;
    const bool inserting = state_ == State::Insert;
    const bool ok = inserting ? insertRow() : updateRow();
    if (!ok) {
        postError(*this, lastSqlError_);
        return false;
    }
    rows_[pendingRow_] = pending_;
    rememberLocal(pending_);
    db_.posted(this);
    const int row = pendingRow_;
    pendingRow_ = -1;
    setState(State::Browse);
    emit rowChanged(row);
    afterPost(*this, inserting);
    return true;
}

void Dataset::cancel()
{
    if (state_ == State::Insert) {
        // The current row is a real one again before anybody hears of the change.
        const int row = pendingRow_;
        rows_.removeAt(row);
        pendingRow_ = -1;
        current_ = qMin(current_, rowCount() - 1);
        if (current_ < 0 && rowCount() > 0)
            current_ = 0;
        eof_ = current_ < 0;
        setState(State::Browse);
        emit rowRemoved(row);
        emit currentChanged(current_);
    } else if (state_ == State::Edit) {
        const int row = pendingRow_;
        pendingRow_ = -1;
        setState(State::Browse);
        emit rowChanged(row);
    }
}

bool Dataset::remove()
{
    if (state_ == State::Insert) {
        cancel();
        return true;
    }
    if (state_ == State::Edit)
        cancel();
    if (state_ != State::Browse || current_ < 0)
        return fail(QStringLiteral("%1: no row to delete").arg(name()));
    lastError_.clear();
    Transaction tx(db_);
    if (!tx.isActive())
        return fail(db_.lastError().text(), db_.lastError());
    bool ok = beforeDelete(*this);
    if (ok) {
        QString where;
        QVariantList binds;
        ok = keyWhere(rows_.at(current_), where, binds);
        if (ok) {
            SqlRows q = db_.query(QStringLiteral("DELETE FROM ") + table_ + QStringLiteral(" WHERE ") + where, binds);
            if (!q.isActive())
                ok = fail(db_.lastError().text(), db_.lastError());
            else if (q.numRowsAffected() == 0)
                ok = fail(QStringLiteral("%1: the row no longer exists").arg(name()),
                          QSqlError(QStringLiteral("row not found"), QString(), QSqlError::StatementError));
        }
    } else if (lastError_.isEmpty()) {
        fail(QStringLiteral("%1: deletion refused").arg(name()), db_.lastError());
    }
    if (ok && !tx.commit())
        ok = fail(db_.lastError().text(), db_.lastError());
    if (!ok) {
        deleteError(*this, lastSqlError_);
        return false;
    }
    db_.posted(this);
    const int row = current_;
    rows_.removeAt(row);
    emit rowRemoved(row);
    if (current_ >= rowCount())
        current_ = rowCount() - 1;
    if (current_ < 0 && !atEnd_ && fetchMore())
        current_ = 0;
    eof_ = current_ < 0;
    afterDelete(*this);
    emit currentChanged(current_);
    return true;
}

bool Dataset::refreshRow()
{
    if (state_ != State::Browse || current_ < 0)
        return false;
    QString where;
    QVariantList binds;
    if (!keyWhere(rows_.at(current_), where, binds))
        return false;
    // A result read in pages is read again through its own query, so that
    // the columns it computes (a name or a label from another table) follow
    // the row; a row it no longer finds is read from the table.
    SqlRows q;
    if (paged_)
        q = db_.query(QStringLiteral("SELECT * FROM (") + base_ + QStringLiteral(") FOLIAN_R WHERE ") + where,
                      binds_ + binds);
    if (!q.isActive() || !q.next()) {
        q = db_.query(QStringLiteral("SELECT * FROM ") + table_ + QStringLiteral(" WHERE ") + where, binds);
        if (!q.isActive() || !q.next())
            return false;
    }
    const QSqlRecord rec = q.record();
    Row &row = rows_[current_];
    for (int i = 0; i < fields_.size(); ++i) {
        const int src = rec.indexOf(fields_.at(i));
        if (src >= 0)
            row[i] = convert(i, q.value(src));
    }
    emit rowChanged(current_);
    return true;
}

} // namespace folian
