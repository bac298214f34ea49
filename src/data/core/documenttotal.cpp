#include "data/core/documenttotal.h"

#include "data/core/database.h"

namespace folian {

bool lockDocument(Database &db, int acqId)
{
    return db.exec(db.dialect().lockRow(QStringLiteral("ACQUISITION"), QStringLiteral("ACQ_ID")), {acqId});
}

TotalStored storeDocumentTotal(Database &db, int acqId, Money *total)
{
    bool ok = false;
    const QVariant sum = db.scalar(QStringLiteral("SELECT COALESCE(SUM(") + db.dialect().moneyCents(QStringLiteral("ACQ_MONTANT"))
                                       + QStringLiteral("), 0) FROM ACQUISITION_LIGNE WHERE ACQ_ID = ?"),
                                   {acqId}, &ok);
    const std::optional<Money> m = ok ? Money::fromCentsValue(sum) : std::nullopt;
    if (!m)
        return TotalStored::Failed;
    if (total)
        *total = *m;
    if (!m->fitsColumn())
        return TotalStored::TooLarge;
    return db.exec(QStringLiteral("UPDATE ACQUISITION SET ACQ_TOTAL = ? WHERE ACQ_ID = ?"),
                   {db.dialect().toDb(m->toVariant(), ColType::Money), acqId})
        ? TotalStored::Done
        : TotalStored::Failed;
}

bool lockDocumentsOrdering(Database &db, int docId, QList<int> *acqIds)
{
    // Another workstation may order the record on one more document while
    // these are locked: read again until the documents are all locked.
    acqIds->clear();
    for (;;) {
        QSqlQuery q = db.query(QStringLiteral("SELECT DISTINCT ACQ_ID FROM ACQUISITION_LIGNE WHERE DOC_ID = ? ORDER BY ACQ_ID"),
                               {docId});
        if (!q.isActive())
            return false;
        QList<int> found;
        while (q.next())
            found.append(q.value(0).toInt());
        bool more = false;
        for (int id : std::as_const(found)) {
            if (acqIds->contains(id))
                continue;
            if (!lockDocument(db, id))
                return false;
            acqIds->append(id);
            more = true;
        }
        if (!more)
            return true;
    }
}

} // namespace folian
