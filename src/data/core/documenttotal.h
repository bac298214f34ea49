#pragma once
// The total of an acquisition document (ACQ_TOTAL): the exact sum of its
// lines' amounts, kept by whoever changes its lines (a line saved or
// deleted, a record deleted with the lines that order it).
//
// Between workstations: the writer locks the document's row before it
// touches a line and sums the lines after, in the same transaction. A
// second workstation changing a line of the same document waits for the
// first one's commit, and its sum then counts the first one's line.

#include "data/core/money.h"

#include <QList>

namespace folian {

class Database;

// Locks the document's row until the transaction ends; false on failure.
bool lockDocument(Database &db, int acqId);

enum class TotalStored { Done, TooLarge, Failed };

// Sets the document's total to the sum of its lines (0 without lines),
// read exactly in SQL. A sum beyond what an amount column holds is not
// stored (TooLarge). The total in `total` when given.
TotalStored storeDocumentTotal(Database &db, int acqId, Money *total = nullptr);

// The documents whose lines order the record, each locked in key order
// (the same order on every workstation); false on failure.
bool lockDocumentsOrdering(Database &db, int docId, QList<int> *acqIds);

} // namespace folian
