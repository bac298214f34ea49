#pragma once
// The search columns of records, headings and publishers
// (Schema::searchColumns): the keywords, the folded words and the
// collation keys, computed from the row's titles or names. Every writer of
// those rows in the program sets them; refreshSearchColumns writes them
// again for the rows another tool wrote without them, or with old ones.

#include "data/core/schema.h"

#include <QVariantHash>
#include <functional>

namespace folian {

class Database;
class Dataset;

// The search columns of a row, by column name (a null value where there is
// nothing to keep), from the row's values as `value` gives them by column
// name.
QVariantHash searchColumnValues(const SearchColumnsDef &def, const std::function<QVariant(const QString &)> &value);

// Adds them to a row about to be written into `table` (a table without
// search columns is left as it is).
void addSearchColumns(const QString &table, QVariantHash &row);

// Sets them on the row a dataset of such a table is posting; the columns
// its SQL does not read are left out.
void setSearchColumns(Dataset &d);

// Writes the search columns of every row whose stored ones are not what
// the program would write, in one transaction; `changed` counts the rows
// written. The word indexes follow the rows written.
bool refreshSearchColumns(Database &db, qint64 *changed, QString *why);

} // namespace folian
