// Reading a dataset's result in pages: each page is a complete query that
// continues after the last row read, in the order of the sort columns and
// then of the key.

#include "data/core/dataset.h"

#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/sqltext.h"

#include <QRegularExpression>

namespace folian {

namespace {
constexpr int kFirstPage = 100;
constexpr int kLargestPage = 100000;
} // namespace

bool Dataset::readFailed(const QSqlError &e)
{
    // The rows read so far are not the whole result: say so.
    atEnd_ = true;
    fetchFailed_ = true;
    fail(tr2(QStringLiteral("La lecture des données a échoué : "), QStringLiteral("فشلت قراءة البيانات : "))
             + e.text(),
         e);
    readError(*this);
    emit fetchFailed(lastError_);
    return false;
}

bool Dataset::startReading()
{
    fetchFailed_ = false;
    paged_ = false;
    atEnd_ = false;
    frontier_.clear();
    localRows_.clear();
    order_.clear();
    orderFields_.clear();
    keyFields_.clear();
    const SqlOrder parsed = splitOrderBy(sql_);
    base_ = parsed.base;
    if (!parsed.pageable)
        return readWhole();
    if (!describe())
        return false;
    if (!sortField_.isEmpty()) {
        order_ = {OrderItem{sortField_.toUpper(), sortCollation_, false}};
    } else {
        for (const SqlOrder::Item &i : parsed.items)
            order_ << OrderItem{i.column, i.collation, i.descending};
    }
    if (!planPages(parsed.singleSource))
        return readWhole();
    paged_ = true;
    readPage(kFirstPage);
    return !fetchFailed_;
}

bool Dataset::describe()
{
    if (describedSql_ == base_ && !describedFields_.isEmpty()) {
        fields_ = describedFields_;
    } else {
        SqlRows q = db_.query(QStringLiteral("SELECT * FROM (") + base_ + QStringLiteral(") FOLIAN_D WHERE 1 = 0"),
                              binds_);
        if (!q.isActive())
            return fail(db_.lastError().text(), db_.lastError());
        const QSqlRecord rec = q.record();
        fields_.clear();
        for (int i = 0; i < rec.count(); ++i)
            fields_ << rec.fieldName(i).toUpper();
        describedSql_ = base_;
        describedFields_ = fields_;
    }
    fieldTypes_.clear();
    for (const QString &f : std::as_const(fields_))
        fieldTypes_ << tableColumnType(f);
    return true;
}

bool Dataset::planPages(bool singleSource)
{
    auto once = [this](const QString &c) { return fields_.count(c.toUpper()) == 1; };
    // The table's key identifies a row only when each row comes from one of
    // the table's rows; a join names its unique key itself.
    QStringList key = singleSource ? keyColumns() : QStringList();
    if (!uniqueKey_.isEmpty())
        key = uniqueKey_;
    if (key.isEmpty() || !std::all_of(key.cbegin(), key.cend(), once))
        return false;
    for (const OrderItem &o : std::as_const(order_))
        if (!once(o.column))
            return false;
    for (const QString &k : std::as_const(key)) {
        keyFields_ << fieldIndex(k);
        const bool ordered = std::any_of(order_.cbegin(), order_.cend(),
                                         [&](const OrderItem &o) { return o.column == k.toUpper(); });
        if (!ordered)
            order_ << OrderItem{k.toUpper(), QString(), false};
    }
    for (const OrderItem &o : std::as_const(order_))
        orderFields_ << fieldIndex(o.column);
    return true;
}

QString Dataset::orderClause() const
{
    // NULLs where the engine puts them, so that its indexes serve the order.
    QStringList parts;
    for (const OrderItem &o : order_)
        parts << o.column + o.collation + (o.desc ? QStringLiteral(" DESC") : QString());
    return parts.join(QStringLiteral(", "));
}

QString Dataset::afterClause(const QVariantList &frontier, QVariantList &binds) const
{
    if (frontier.isEmpty())
        return {};
    // Ordered by the key alone (never NULL), ascending: a row comparison,
    // which both engines answer from the key's index.
    QStringList keys;
    for (int f : keyFields_)
        keys << fields_.at(f);
    const bool simple = std::all_of(order_.cbegin(), order_.cend(),
                                    [&](const OrderItem &o) {
                                        return !o.desc && o.collation.isEmpty() && keys.contains(o.column);
                                    })
        && std::none_of(frontier.cbegin(), frontier.cend(), [](const QVariant &v) { return v.isNull(); });
    if (simple) {
        QStringList cols, marks;
        for (int i = 0; i < order_.size(); ++i) {
            cols << order_.at(i).column;
            marks << QStringLiteral("?");
            binds << frontier.at(i);
        }
        if (cols.size() == 1)
            return cols.first() + QStringLiteral(" > ?");
        return u'(' + cols.join(QStringLiteral(", ")) + QStringLiteral(") > (") + marks.join(QStringLiteral(", ")) + u')';
    }
    // after(i) = beyond(i) OR (same(i) AND after(i + 1)), built from the last
    // column. NULL is the smallest value on one engine, the largest on the
    // other; in a descending order the ends swap.
    const bool nullSmallest = db_.dialect().nullsSortFirst();
    QString clause;
    QVariantList tail;
    for (int i = int(order_.size()) - 1; i >= 0; --i) {
        const OrderItem &o = order_.at(i);
        const QString c = o.column + o.collation;
        const QVariant &v = frontier.at(i);
        QString beyond, same;
        QVariantList beyondBinds, sameBinds;
        const bool nullsFirst = nullSmallest != o.desc;  // where NULLs stand in this column's order
        if (v.isNull()) {
            beyond = nullsFirst ? o.column + QStringLiteral(" IS NOT NULL") : QString();
            same = o.column + QStringLiteral(" IS NULL");
        } else {
            const QString operand = nullsFirst ? c : db_.dialect().pageBeyondOperand(o.column) + o.collation;
            beyond = operand + (o.desc ? QStringLiteral(" < ?") : QStringLiteral(" > ?"));
            if (!nullsFirst)
                beyond = u'(' + beyond + QStringLiteral(" OR ") + o.column + QStringLiteral(" IS NULL)");
            beyondBinds << v;
            same = c + QStringLiteral(" = ?");
            sameBinds << v;
        }
        QString next;
        QVariantList nextBinds;
        if (!clause.isEmpty()) {
            next = u'(' + same + QStringLiteral(" AND ") + clause + u')';
            nextBinds = sameBinds + tail;
        }
        if (beyond.isEmpty()) {
            clause = next;
            tail = nextBinds;
        } else if (next.isEmpty()) {
            clause = beyond;
            tail = beyondBinds;
        } else {
            clause = u'(' + beyond + QStringLiteral(" OR ") + next + u')';
            tail = beyondBinds + nextBinds;
        }
        if (clause.isEmpty()) {
            clause = QStringLiteral("1 = 0");
            tail.clear();
        }
    }
    binds << tail;
    return clause;
}

QString Dataset::pageSql(const QString &where, int limit) const
{
    QString sql = QStringLiteral("SELECT * FROM (") + base_ + QStringLiteral(") FOLIAN_P");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    sql += QStringLiteral(" ORDER BY ") + orderClause();
    if (limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);
    return sql;
}

bool Dataset::readPage(int count, const QString &extraWhere, const QVariantList &extraBinds)
{
    if (atEnd_)
        return false;
    QVariantList binds = binds_;
    QString where = afterClause(frontier_, binds);
    if (!extraWhere.isEmpty()) {
        where = where.isEmpty() ? extraWhere : where + QStringLiteral(" AND ") + extraWhere;
        binds << extraBinds;
    }
    SqlRows q = db_.query(pageSql(where, count), binds);
    if (!q.isActive())
        return readFailed(db_.lastError());
    const int first = rowCount();
    int n = 0;
    QVariantList frontier;
    while (q.next()) {
        ++n;
        Row row;
        row.reserve(fields_.size());
        for (int i = 0; i < fields_.size(); ++i)
            row << convert(i, q.value(i));
        frontier.clear();
        for (int f : std::as_const(orderFields_))
            frontier << q.value(f);
        if (!localRows_.isEmpty() && localRows_.contains(keyText(row)))
            continue;  // posted here: already among the rows
        rows_.append(row);
    }
    if (q.lastError().isValid())
        return readFailed(q.lastError());
    q.finish();
    if (n > 0)
        frontier_ = frontier;
    if (n < count) {
        atEnd_ = true;
        localRows_.clear();
    }
    if (rowCount() > first)
        emit rowsFetched(first, rowCount() - 1);
    return rowCount() > first;
}

bool Dataset::readWhole()
{
    QString text = sql_;
    if (!sortField_.isEmpty())
        text = QStringLiteral("SELECT * FROM (") + base_ + QStringLiteral(") FOLIAN_S ORDER BY ") + sortField_
            + sortCollation_;
    SqlRows q = db_.query(text, binds_);
    if (!q.isActive())
        return fail(db_.lastError().text(), db_.lastError());
    const QSqlRecord rec = q.record();
    fields_.clear();
    fieldTypes_.clear();
    for (int i = 0; i < rec.count(); ++i) {
        fields_ << rec.fieldName(i).toUpper();
        fieldTypes_ << tableColumnType(fields_.last());
    }
    while (q.next()) {
        Row row;
        row.reserve(fields_.size());
        for (int i = 0; i < fields_.size(); ++i)
            row << convert(i, q.value(i));
        rows_.append(row);
    }
    if (q.lastError().isValid())
        return readFailed(q.lastError());
    atEnd_ = true;
    if (!rows_.isEmpty())
        emit rowsFetched(0, rowCount() - 1);
    return true;
}

QString Dataset::keyText(const Row &row) const
{
    QString out;
    for (int f : keyFields_)
        out += row.at(f).toString() + QChar(0x1f);
    return out;
}

void Dataset::rememberLocal(const Row &row)
{
    if (paged_ && !atEnd_)
        localRows_.insert(keyText(row));
}

bool Dataset::fetchMore(int count)
{
    if (atEnd_ || !isOpen())
        return false;
    return readPage(qBound(64, count, kLargestPage));
}

bool Dataset::fetchAll()
{
    while (!atEnd_)
        readPage(kLargestPage);
    return !fetchFailed_;
}

bool Dataset::isEmpty()
{
    if (rows_.isEmpty() && !atEnd_)
        fetchMore(1);
    return rows_.isEmpty();
}

int Dataset::recordCount()
{
    if (atEnd_)
        return fetchFailed_ ? -1 : rowCount();
    bool ok = false;
    const QVariant n = db_.scalar(QStringLiteral("SELECT COUNT(*) FROM (") + base_ + QStringLiteral(") FOLIAN_C"),
                                  binds_, &ok);
    if (!ok) {
        fail(db_.lastError().text(), db_.lastError());
        return -1;
    }
    return std::max(n.toInt(), rowCount());
}

bool Dataset::locate(const QString &column, const QVariant &value)
{
    const int f = fieldIndex(column);
    if (f < 0)
        return false;
    auto search = [&](int from) {
        for (int r = from; r < rowCount(); ++r)
            if (sameValue(rows_.at(r).at(f), value))
                return r;
        return -1;
    };
    int found = search(0);
    if (found < 0 && !atEnd_) {
        // Is it there at all? Then read on until it comes.
        const ColumnDef *c = this->column(column);
        const QVariant bound = c ? db_.dialect().toDb(value, c->type) : value;
        bool ok = false;
        const QVariant n = db_.scalar(QStringLiteral("SELECT COUNT(*) FROM (") + base_ + QStringLiteral(") FOLIAN_L WHERE ")
                                          + fields_.at(f) + QStringLiteral(" = ?"),
                                      binds_ + QVariantList{bound}, &ok);
        if (!ok || n.toInt() == 0)
            return false;
        for (int page = 1000; found < 0 && !atEnd_; page = std::min(page * 2, kLargestPage)) {
            const int from = rowCount();
            readPage(page);
            found = search(from);
        }
    }
    return found >= 0 && moveTo(found);
}

} // namespace folian
