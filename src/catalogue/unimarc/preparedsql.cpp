#include "catalogue/unimarc/preparedsql.h"

#include "data/core/columnvalue.h"

namespace folian::unimarc {

PreparedQuery::PreparedQuery(Database &db, const QString &sql) : db_(db), sql_(sql) {}

bool PreparedQuery::run(const QVariantList &binds)
{
    if (!prepared_) {
        q_ = QSqlQuery(db_.connection());
        q_.setForwardOnly(true);
        if (!q_.prepare(sql_)) {
            error_ = q_.lastError();
            q_ = QSqlQuery();
            return false;
        }
        prepared_ = true;
    }
    for (int i = 0; i < binds.size(); ++i)
        q_.bindValue(i, binds.at(i));
    if (!q_.exec()) {
        error_ = q_.lastError();
        return false;
    }
    error_ = QSqlError();
    return true;
}

bool PreparedQuery::first(const QVariantList &binds, QVariant *out)
{
    *out = QVariant();
    if (!run(binds))
        return false;
    if (q_.next())
        *out = q_.value(0);
    q_.finish();
    return true;
}

PreparedInsert::PreparedInsert(Database &db, const QString &table, const QStringList &columns, const QString &counter,
                               const QStringList &sameAsCounter)
    : db_(db), table_(table), columns_(columns), counter_(counter), same_(sameAsCounter),
      query_(db, sqlOf(table, columns, counter, sameAsCounter))
{
    const TableDef *t = Schema::table(table);
    for (const QString &c : columns) {
        position_.insert(c, defs_.size());
        defs_ << (t ? t->column(c) : nullptr);
    }
}

QString PreparedInsert::sqlOf(const QString &table, const QStringList &columns, const QString &counter,
                              const QStringList &same, int rows, bool returning)
{
    QStringList names = columns;
    if (!counter.isEmpty())
        names = QStringList{counter} + same + columns;
    QStringList tuples;
    for (int n = 1; n <= rows; ++n) {
        QStringList values;
        if (!counter.isEmpty()) {
            const QString next = QStringLiteral("(SELECT COALESCE(MAX(%1), 0) + %3 FROM %2)").arg(counter, table).arg(n);
            for (qsizetype i = 0; i <= same.size(); ++i)
                values << next;
        }
        for (qsizetype i = 0; i < columns.size(); ++i)
            values << QStringLiteral("?");
        tuples << u'(' + values.join(QStringLiteral(", ")) + u')';
    }
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                      .arg(table, names.join(QStringLiteral(", ")), tuples.join(QStringLiteral(", ")));
    if (!counter.isEmpty() && (rows == 1 || returning))
        sql += QStringLiteral(" RETURNING ") + counter;
    return sql;
}

namespace {

// A text that fits its column for certain, without counting its characters.
bool surelyFits(const ColumnDef &c, const QVariant &v)
{
    if (c.type == ColType::Memo)
        return true;
    return c.type == ColType::Text && v.typeId() == QMetaType::QString && v.toString().size() <= (c.size > 0 ? c.size : 255);
}

} // namespace

QString PreparedInsert::refusalOf(const QString &column, const QVariant &value) const
{
    const qsizetype i = position_.value(column, -1);
    if (i < 0 || !defs_.at(i) || value.isNull() || surelyFits(*defs_.at(i), value))
        return {};
    QString why;
    if (!toColumnValue(*defs_.at(i), value, &why))
        return why;
    return {};
}

QString PreparedInsert::refusalOf(const QVariantHash &values) const
{
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        if (const QString why = refusalOf(it.key(), it.value()); !why.isEmpty())
            return why;
    return {};
}

bool PreparedInsert::convert(const QVariantHash &values, QVariantList &binds, QString *refusal) const
{
    binds.clear();
    binds.reserve(columns_.size());
    if (memo_.size() != columns_.size())
        memo_.resize(columns_.size());
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        const ColumnDef *c = defs_.at(i);
        const auto it = values.constFind(columns_.at(i));
        if (it == values.constEnd() || it->isNull()) {
            binds << QVariant();
            continue;
        }
        const QVariant &v = *it;
        if (!c) {
            binds << v;
            continue;
        }
        // A column given the same value row after row (a default, the
        // stamp of the batch) is converted once.
        Memo &m = memo_[i];
        if (m.valid && m.in == v) {
            binds << m.out;
            continue;
        }
        const std::optional<QVariant> converted = toColumnValue(*c, v, refusal);
        if (!converted)
            return false;
        m = Memo{true, v, converted->isNull() ? QVariant() : db_.dialect().toDb(*converted, c->type)};
        binds << m.out;
    }
    return true;
}

PreparedQuery &PreparedInsert::statementFor(const QString &condition)
{
    if (condition.isEmpty())
        return query_;
    std::shared_ptr<PreparedQuery> &q = unless_[condition];
    if (q)
        return *q;
    QStringList names, select;
    if (!counter_.isEmpty()) {
        names << counter_ << same_;
        const QString next = QStringLiteral("(SELECT COALESCE(MAX(%1), 0) + 1 FROM %2)").arg(counter_, table_);
        for (qsizetype i = 0; i <= same_.size(); ++i)
            select << next;
    }
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        names << columns_.at(i);
        // Values standing in a select list take the type of their column.
        select << (defs_.at(i) ? db_.dialect().typedParameter(*defs_.at(i)) : QStringLiteral("?"));
    }
    QString sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 WHERE NOT EXISTS (%4)")
                      .arg(table_, names.join(QStringLiteral(", ")), select.join(QStringLiteral(", ")), condition);
    if (!counter_.isEmpty())
        sql += QStringLiteral(" RETURNING ") + counter_;
    q = std::make_shared<PreparedQuery>(db_, sql);
    return *q;
}

PreparedInsert::Result PreparedInsert::insert(const QVariantHash &values, QVariant *key)
{
    return insertUnless(values, QString(), {}, key);
}

PreparedInsert::Result PreparedInsert::insertUnless(const QVariantHash &values, const QString &condition,
                                                    const QVariantList &conditionBinds, QVariant *key)
{
    refusal_.clear();
    QVariantList binds;
    if (!convert(values, binds, &refusal_))
        return Result::Refused;
    PreparedQuery &q = statementFor(condition);
    if (!q.run(binds + conditionBinds)) {
        error_ = q.error();
        return Result::Failed;
    }
    QVariant k;
    if (!counter_.isEmpty() && q.next())
        k = q.value(0);
    q.finish();
    if (key)
        *key = k;
    return Result::Inserted;
}

PreparedInsert::Result PreparedInsert::insertRows(const QList<QVariantHash> &rows, QList<QVariant> *keys)
{
    // Statements of up to this many rows.
    constexpr int kRowsPerStatement = 32;
    refusal_.clear();
    const bool returning = keys && !counter_.isEmpty();
    if (keys)
        keys->clear();
    for (qsizetype from = 0; from < rows.size();) {
        // A power of two rows at a time: a handful of statements to prepare
        // (a statement of many values costs much to prepare), not one per size.
        int n = kRowsPerStatement;
        while (n > rows.size() - from)
            n /= 2;
        QVariantList binds, row;
        for (int i = 0; i < n; ++i) {
            if (!convert(rows.at(from + i), row, &refusal_))
                return Result::Refused;
            binds += row;
        }
        std::shared_ptr<PreparedQuery> &multi = multi_[returning ? -n : n];
        if (n > 1 && !multi)
            multi = std::make_shared<PreparedQuery>(db_, sqlOf(table_, columns_, counter_, same_, n, returning));
        PreparedQuery &q = n == 1 ? query_ : *multi;
        if (!q.run(binds)) {
            error_ = q.error();
            return Result::Failed;
        }
        if (returning) {
            // The engines return the rows in no promised order; the keys
            // grow with the rows, MAX + 1, MAX + 2, ...
            QList<QVariant> added;
            while (q.next())
                added << q.value(0);
            std::sort(added.begin(), added.end(),
                      [](const QVariant &a, const QVariant &b) { return a.toLongLong() < b.toLongLong(); });
            *keys += added;
        }
        q.finish();
        from += n;
    }
    return Result::Inserted;
}

} // namespace folian::unimarc
