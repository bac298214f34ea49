#include "catalogue/unimarc/preparedsql.h"

#include "data/core/columnvalue.h"
#include "data/core/schema.h"

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
    : db_(db), table_(table), columns_(columns), counter_(counter),
      query_(db, sqlOf(table, columns, counter, sameAsCounter))
{
}

QString PreparedInsert::sqlOf(const QString &table, const QStringList &columns, const QString &counter,
                              const QStringList &same)
{
    QStringList names, values;
    const QString next = QStringLiteral("(SELECT COALESCE(MAX(%1), 0) + 1 FROM %2)").arg(counter, table);
    if (!counter.isEmpty()) {
        names << counter << same;
        for (qsizetype i = 0; i <= same.size(); ++i)
            values << next;
    }
    for (const QString &c : columns) {
        names << c;
        values << QStringLiteral("?");
    }
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
    if (!counter.isEmpty())
        sql += QStringLiteral(" RETURNING ") + counter;
    return sql;
}

QString PreparedInsert::refusalOf(const QString &table, const QString &column, const QVariant &value)
{
    const TableDef *t = Schema::table(table);
    const ColumnDef *c = t ? t->column(column) : nullptr;
    QString why;
    if (c && !toColumnValue(*c, value, &why))
        return why;
    return {};
}

bool PreparedInsert::convert(Database &db, const QString &table, const QStringList &columns, const QVariantHash &values,
                             QVariantList &binds, QString *refusal)
{
    const TableDef *t = Schema::table(table);
    binds.clear();
    binds.reserve(columns.size());
    for (const QString &name : columns) {
        const ColumnDef *c = t ? t->column(name) : nullptr;
        const QVariant v = values.value(name);
        if (!c) {
            binds << v;
            continue;
        }
        const std::optional<QVariant> converted = toColumnValue(*c, v, refusal);
        if (!converted)
            return false;
        binds << (converted->isNull() ? QVariant() : db.dialect().toDb(*converted, c->type));
    }
    return true;
}

PreparedInsert::Result PreparedInsert::insert(const QVariantHash &values, QVariant *key)
{
    refusal_.clear();
    QVariantList binds;
    if (!convert(db_, table_, columns_, values, binds, &refusal_))
        return Result::Refused;
    if (!query_.run(binds))
        return Result::Failed;
    if (!counter_.isEmpty()) {
        QVariant k;
        if (query_.next())
            k = query_.value(0);
        if (key)
            *key = k;
    }
    query_.finish();
    return Result::Inserted;
}

} // namespace folian::unimarc
