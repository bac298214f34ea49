#pragma once
// Tables of the scratch report database used while the printed catalogue
// is generated: the numbered entries and the title, author and subject
// indexes. The scratch database is created afresh for every run and is
// never upgraded, so it has no version of its own.

#include "schema.h"

namespace folian {

const QVector<TableDef> &scratchTables();

} // namespace folian
