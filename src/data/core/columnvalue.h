#pragma once
// A value as a column of the schema holds it: a blank value is NULL, a
// number typed as text is a number, a date typed "31/12/2026" is a date, an
// amount is exact decimal text; a value that does not fit (not a number, too
// long, ...) is refused with a message naming the field, never cut.

#include "data/core/schema.h"

#include <optional>

namespace folian {

// The refusal of an amount beyond what an amount column holds, naming the field.
QString amountTooLarge(const QString &field);

std::optional<QVariant> toColumnValue(const ColumnDef &column, const QVariant &v, QString *refusal);

} // namespace folian
