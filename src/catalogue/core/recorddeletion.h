#pragma once
// Deleting the records selected in a search's result: each one checked
// against the user's rights (his own records only, unless his role gives
// him all) and its copies' loans and reservations; what was not deleted is
// told with its reason.

#include "catalogue/core/records.h"

#include <QList>
#include <QString>

namespace folian {

struct RecordDeletion {
    int docId = 0;
    QString refusal;  // empty: deleted
};

// Deletes each record in turn (one transaction each, the cascade of the
// shared record query); returns one line per record, in the given order.
QList<RecordDeletion> deleteRecords(TFrmData &data, const CataloguerRights &rights, const QList<int> &ids);
// The refused ones, one per line: "<DOC_ID> : <reason>"; empty when all went.
QString refusalsText(const QList<RecordDeletion> &outcome);

} // namespace folian
