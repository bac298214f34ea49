#include "data/core/dataset.h"

#include "data/core/helpers.h"

#include <QSqlField>

namespace folian {

namespace {
constexpr int kFirstPage = 100;
constexpr int kInsertAttempts = 50;
}

Dataset::Dataset(Database &db, const QString &name, const QString &table, QObject *parent)
    : QObject(parent), db_(db), table_(table.toUpper())
{
    setObjectName(name);
    if (const TableDef *t = Schema::table(table_); t && t->surrogateKey)
        autoKey_ = t->primaryKey.value(0).toUpper();
}

Dataset::~Dataset() { stopQuery(); }

void Dataset::setSql(const QString &sql, const QVariantList &binds)
{
    sql_ = sql;
    binds_ = binds;
}

int Dataset::fieldIndex(const QString &name) const
{
    const QString up = name.toUpper();
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i) == up)
            return i;
    return -1;
}

std::optional<ColType> Dataset::tableColumnType(const QString &field) const
{
    if (const TableDef *t = Schema::table(table_))
        if (const ColumnDef *c = t->column(field))
            return c->type;
    return std::nullopt;
}

bool Dataset::startQuery()
{
    QString text = sql_;
    if (!sortField_.isEmpty())
        text = QStringLiteral("SELECT * FROM (") + sql_ + QStringLiteral(") SORTED_ROWS ORDER BY ")
            + sortField_;
    const bool ownConnection = !db_.dialect().streamsOnMainConnection() && !db_.inTransaction();
    QSqlDatabase conn = db_.connection();
    if (ownConnection) {
        streamConnection_ = db_.acquireStreamConnection();
        if (streamConnection_.isEmpty())
            return fail(QStringLiteral("no connection for the query"), db_.lastError());
        conn = QSqlDatabase::database(streamConnection_, false);
        // The server reads a cursor page by page; an executed statement would
        // be run to its end before the first row arrives.
        QSqlQuery declare(conn);
        if (!conn.transaction()
            || !declare.exec(QStringLiteral("DECLARE FOLIAN_ROWS NO SCROLL CURSOR FOR ")
                             + Dialect::inlineBinds(conn, text, binds_))) {
            const QSqlError e = declare.lastError().isValid() ? declare.lastError() : conn.lastError();
            stopQuery();
            return fail(e.text(), e);
        }
        cursor_ = true;
        atEnd_ = false;
        return fetchCursorPage(kFirstPage);
    }
    query_ = std::make_unique<QSqlQuery>(conn);
    query_->setForwardOnly(true);
    query_->setNumericalPrecisionPolicy(QSql::HighPrecision);
    bool ok = query_->prepare(text);
    if (ok) {
        for (const QVariant &b : binds_)
            query_->addBindValue(b);
        ok = query_->exec();
    }
    if (!ok) {
        const QSqlError e = query_->lastError();
        stopQuery();
        return fail(e.text(), e);
    }
    setFields(query_->record());
    atEnd_ = false;
    // Without a connection of its own the result must be read before any
    // other statement runs on the shared one.
    if (!db_.dialect().streamsOnMainConnection())
        fetchMore(INT_MAX);
    return true;
}

void Dataset::setFields(const QSqlRecord &rec)
{
    fields_.clear();
    fieldTypes_.clear();
    for (int i = 0; i < rec.count(); ++i) {
        fields_ << rec.fieldName(i).toUpper();
        fieldTypes_ << tableColumnType(rec.fieldName(i));
    }
}

bool Dataset::fetchCursorPage(int count)
{
    QSqlQuery page(QSqlDatabase::database(streamConnection_, false));
    page.setForwardOnly(true);
    page.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!page.exec(QStringLiteral("FETCH FORWARD %1 FROM FOLIAN_ROWS").arg(count))) {
        const QSqlError e = page.lastError();
        atEnd_ = true;
        stopQuery();
        return fail(e.text(), e);
    }
    if (fields_.isEmpty())
        setFields(page.record());
    const int first = rowCount();
    int n = 0;
    while (page.next()) {
        rows_.append(Row{readRow(page)});
        ++n;
    }
    page.finish();
    if (n < count) {
        atEnd_ = true;
        stopQuery();
    }
    if (n > 0 && !resetting_)
        emit rowsFetched(first, first + n - 1);
    return true;
}

void Dataset::stopQuery()
{
    if (query_) {
        query_->finish();
        query_.reset();
    }
    if (!streamConnection_.isEmpty()) {
        QSqlDatabase conn = QSqlDatabase::database(streamConnection_, false);
        if (cursor_) {
            QSqlQuery(conn).exec(QStringLiteral("CLOSE FOLIAN_ROWS"));
            cursor_ = false;
        }
        conn.rollback();  // the stream only read
        db_.releaseStreamConnection(streamConnection_);
        streamConnection_.clear();
    }
}

bool Dataset::open()
{
    close();
    emit aboutToReset();
    resetting_ = true;
    rows_.clear();
    lastError_.clear();
    lastSqlError_ = QSqlError();
    const bool started = startQuery();
    if (started && !atEnd_ && rows_.isEmpty())
        fetchMore(kFirstPage);
    resetting_ = false;
    if (!started) {
        emit reset();
        return false;
    }
    current_ = rows_.isEmpty() ? -1 : 0;
    eof_ = rows_.isEmpty();
    state_ = State::Browse;
    emit reset();
    emit stateChanged();
    if (afterOpen)
        afterOpen(*this);
    emit currentChanged(current_);
    return true;
}

void Dataset::close()
{
    if (state_ == State::Inactive && !query_)
        return;
    emit aboutToReset();
    stopQuery();
    rows_.clear();
    fields_.clear();
    fieldTypes_.clear();
    current_ = -1;
    pendingRow_ = -1;
    eof_ = true;
    atEnd_ = true;
    state_ = State::Inactive;
    emit reset();
    emit stateChanged();
}

QVariant Dataset::convert(int field, const QVariant &v) const
{
    const auto &t = fieldTypes_.at(field);
    return t ? db_.dialect().fromDb(v, *t) : v;
}

QVariantList Dataset::readRow(const QSqlQuery &q) const
{
    QVariantList out;
    out.reserve(fields_.size());
    for (int i = 0; i < fields_.size(); ++i)
        out << convert(i, q.value(i));
    return out;
}

bool Dataset::fetchMore(int count)
{
    if (atEnd_)
        return false;
    const int before = rowCount();
    if (cursor_) {
        fetchCursorPage(qBound(256, count, 65536));
        return rowCount() > before;
    }
    if (!query_)
        return false;
    int n = 0;
    while (n < count) {
        if (!query_->next()) {
            atEnd_ = true;
            break;
        }
        rows_.append(Row{readRow(*query_)});
        ++n;
    }
    if (atEnd_)
        stopQuery();
    if (n > 0 && !resetting_)
        emit rowsFetched(before, before + n - 1);
    return n > 0;
}

void Dataset::fetchAll()
{
    while (!atEnd_)
        fetchMore(4096);
}

bool Dataset::isEmpty()
{
    if (rows_.isEmpty() && !atEnd_)
        fetchMore(1);
    return rows_.isEmpty();
}

int Dataset::recordCount()
{
    fetchAll();
    return rowCount();
}

bool Dataset::moveTo(int row)
{
    if (!isOpen())
        return false;
    if (isEditing() && row != current_ && !post())
        return false;
    while (row >= rowCount() && !atEnd_)
        fetchMore();
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

bool Dataset::locate(const QString &column, const QVariant &value)
{
    const int f = fieldIndex(column);
    if (f < 0)
        return false;
    for (int r = 0;; ++r) {
        if (r >= rowCount() && !fetchMore())
            return false;
        if (sameValue(rows_.at(r).values.at(f), value))
            return moveTo(r);
    }
}

QVariant Dataset::value(const QString &column) const
{
    const int f = fieldIndex(column);
    if (f < 0 || current_ < 0)
        return {};
    if (isEditing() && current_ == pendingRow_)
        return pending_.values.at(f);
    return rows_.at(current_).values.at(f);
}

QVariant Dataset::valueAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= fields_.size())
        return {};
    if (isEditing() && row == pendingRow_)
        return pending_.values.at(column);
    return rows_.at(row).values.at(column);
}

bool Dataset::setValue(const QString &column, const QVariant &v)
{
    const int f = fieldIndex(column);
    if (!isEditing())
        return fail(QStringLiteral("%1: not in edit mode").arg(name()));
    if (f < 0)
        return fail(QStringLiteral("%1: no field %2").arg(name(), column));
    pending_.values[f] = v;
    emit rowChanged(pendingRow_);
    return true;
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
    if (beforeInsert && !beforeInsert(*this))
        return false;
    isEmpty();
    rowsBeforeInsert_ = rowCount();
    pending_.values = QVariantList(fields_.size());
    rows_.append(pending_);
    pendingRow_ = rowCount() - 1;
    current_ = pendingRow_;
    eof_ = false;
    setState(State::Insert);
    emit rowInserted(pendingRow_);
    if (afterInsert)
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
    original_ = rows_.at(current_).values;
    pending_.values = original_;
    pendingRow_ = current_;
    setState(State::Edit);
    if (afterEdit)
        afterEdit(*this);
    return true;
}

QStringList Dataset::keyColumns() const
{
    if (const TableDef *t = Schema::table(table_)) {
        QStringList out;
        for (const QString &k : t->primaryKey)
            out << k.toUpper();
        return out;
    }
    return {};
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
    QVariant tried;
    for (int attempt = 0; attempt < kInsertAttempts; ++attempt) {
        if (keyField >= 0) {
            tried = nextKey();
            pending_.values[keyField] = tried;
        }
        if (keyAllocated)
            keyAllocated(*this);
        QStringList cols, marks;
        QVariantList binds;
        for (int i = 0; i < fields_.size(); ++i) {
            const auto &t = fieldTypes_.at(i);
            const QVariant &v = pending_.values.at(i);
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
        return fail(e.text(), e);
    }
    return fail(QStringLiteral("%1: no free key after %2 attempts").arg(name()).arg(kInsertAttempts));
}

bool Dataset::updateRow()
{
    QStringList sets;
    QVariantList binds;
    for (int i = 0; i < fields_.size(); ++i) {
        const auto &t = fieldTypes_.at(i);
        if (!t || sameValue(pending_.values.at(i), original_.at(i)))
            continue;
        sets << fields_.at(i) + QStringLiteral(" = ?");
        binds << db_.dialect().toDb(pending_.values.at(i), *t);
    }
    if (sets.isEmpty())
        return true;
    QStringList where;
    for (const QString &k : keyColumns()) {
        const int f = fieldIndex(k);
        if (f < 0)
            return fail(QStringLiteral("%1: the result lacks the key %2").arg(name(), k));
        where << k + QStringLiteral(" = ?");
        binds << db_.dialect().toDb(original_.at(f), *fieldTypes_.at(f));
    }
    if (where.isEmpty())
        return fail(QStringLiteral("%1: table %2 has no key").arg(name(), table_));
    const QString sql = QStringLiteral("UPDATE ") + table_ + QStringLiteral(" SET ")
        + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ")
        + where.join(QStringLiteral(" AND "));
    QSqlQuery q = db_.query(sql, binds);
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
    if (table_.isEmpty())
        return fail(QStringLiteral("%1: read-only").arg(name()));
    if (beforePost && !beforePost(*this))
        return false;
    const bool inserting = state_ == State::Insert;
    const bool ok = inserting ? insertRow() : updateRow();
    if (!ok) {
        if (postError)
            postError(*this, lastSqlError_);
        return false;
    }
    rows_[pendingRow_] = pending_;
    const int row = pendingRow_;
    pendingRow_ = -1;
    setState(State::Browse);
    emit rowChanged(row);
    if (afterPost)
        afterPost(*this, inserting);
    return true;
}

void Dataset::cancel()
{
    if (state_ == State::Insert) {
        const int row = pendingRow_;
        rows_.removeAt(row);
        pendingRow_ = -1;
        setState(State::Browse);
        emit rowRemoved(row);
        current_ = qMin(current_, rowCount() - 1);
        if (current_ < 0 && rowCount() > 0)
            current_ = 0;
        eof_ = current_ < 0;
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
    bool ok = !beforeDelete || beforeDelete(*this);
    if (ok) {
        QStringList where;
        QVariantList binds;
        for (const QString &k : keyColumns()) {
            const int f = fieldIndex(k);
            if (f < 0) {
                ok = fail(QStringLiteral("%1: the result lacks the key %2").arg(name(), k));
                break;
            }
            where << k + QStringLiteral(" = ?");
            binds << db_.dialect().toDb(rows_.at(current_).values.at(f), *fieldTypes_.at(f));
        }
        if (ok && where.isEmpty())
            ok = fail(QStringLiteral("%1: table %2 has no key").arg(name(), table_));
        if (ok) {
            ok = db_.exec(QStringLiteral("DELETE FROM ") + table_ + QStringLiteral(" WHERE ")
                              + where.join(QStringLiteral(" AND ")),
                          binds);
            if (!ok)
                fail(db_.lastError().text(), db_.lastError());
        }
    } else if (lastError_.isEmpty()) {
        fail(QStringLiteral("%1: deletion refused").arg(name()), db_.lastError());
    }
    if (ok && !tx.commit())
        ok = fail(db_.lastError().text(), db_.lastError());
    if (!ok) {
        if (deleteError)
            deleteError(*this, lastSqlError_);
        return false;
    }
    const int row = current_;
    rows_.removeAt(row);
    emit rowRemoved(row);
    if (current_ >= rowCount())
        current_ = rowCount() - 1;
    if (current_ < 0 && !atEnd_ && fetchMore())
        current_ = 0;
    eof_ = current_ < 0;
    emit currentChanged(current_);
    return true;
}

bool Dataset::refreshRow()
{
    if (state_ != State::Browse || current_ < 0)
        return false;
    QStringList where;
    QVariantList binds;
    for (const QString &k : keyColumns()) {
        const int f = fieldIndex(k);
        if (f < 0)
            return false;
        where << k + QStringLiteral(" = ?");
        binds << db_.dialect().toDb(rows_.at(current_).values.at(f), *fieldTypes_.at(f));
    }
    if (where.isEmpty())
        return false;
    QSqlQuery q = db_.query(QStringLiteral("SELECT * FROM ") + table_ + QStringLiteral(" WHERE ")
                                + where.join(QStringLiteral(" AND ")),
                            binds);
    if (!q.isActive() || !q.next())
        return false;
    const QSqlRecord rec = q.record();
    Row &row = rows_[current_];
    for (int i = 0; i < fields_.size(); ++i) {
        const int src = rec.indexOf(fields_.at(i));
        if (src >= 0)
            row.values[i] = convert(i, q.value(src));
    }
    emit rowChanged(current_);
    return true;
}

} // namespace folian
