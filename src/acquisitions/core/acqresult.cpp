#include "acquisitions/core/acqresult.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"

#include "data/core/columnvalue.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

AcqResult databaseError(Database &db)
{
    return AcqResult::refused(TFrmData::PostErrorMessage() + u'\n' + db.lastError().text());
}

int countRows(Database &db, const QString &sql, const QVariantList &binds, bool *ok)
{
    bool read = false;
    const int n = db.scalar(sql, binds, &read).toInt();
    *ok = *ok && read;
    return n;
}

QVariant auditStamp(Database &db) { return db.dialect().toDb(ServerDate(db), ColType::DateTime); }

std::optional<QVariant> columnValue(Database &db, const char *table, const char *column, const QString &caption,
                                    const QVariant &value, QString *refusal)
{
    const TableDef *t = Schema::table(QLatin1String(table));
    const ColumnDef *c = t ? t->column(QLatin1String(column)) : nullptr;
    if (!c)
        return value;
    ColumnDef named = *c;
    named.name = caption;
    const std::optional<QVariant> v = toColumnValue(named, value, refusal);
    if (!v)
        return std::nullopt;
    return db.dialect().toDb(*v, c->type);
}

std::optional<Money> typedAmount(Database &db, const char *table, const char *column, const QString &caption,
                                 const QString &typed, QString *refusal)
{
    const QString text = typed.trimmed();
    if (text.isEmpty()) {
        *refusal = acq::amountRequired();
        return std::nullopt;
    }
    const std::optional<Money> m = Money::parse(text);
    if (!m) {
        *refusal = acq::amountNotANumber(text);
        return std::nullopt;
    }
    if (!columnValue(db, table, column, caption, m->toString(), refusal))
        return std::nullopt;
    if (m->cents() < 0) {
        *refusal = acq::amountNegative();
        return std::nullopt;
    }
    return m;
}

bool columnValues(Database &db, const char *table, std::initializer_list<TypedField> fields, QString *refusal)
{
    for (const TypedField &f : fields) {
        const std::optional<QVariant> v = columnValue(db, table, f.column, acq::text(f.french, f.arabic), f.typed.trimmed(), refusal);
        if (!v)
            return false;
        *f.out = *v;
    }
    return true;
}

} // namespace folian
