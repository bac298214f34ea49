#include "acquisitions/core/acqresult.h"

#include "acquisitions/core/acqtexts.h"

#include "data/core/columnvalue.h"
#include "data/core/shareddata.h"

namespace folian {

AcqResult databaseError(Database &db)
{
    return AcqResult::refused(TFrmData::PostErrorMessage() + u'\n' + db.lastError().text());
}

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
