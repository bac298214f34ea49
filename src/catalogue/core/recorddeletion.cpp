#include "catalogue/core/recorddeletion.h"

#include "base/messages.h"
#include "data/core/database.h"
#include "data/core/shareddata.h"

namespace folian {

QList<RecordDeletion> deleteRecords(TFrmData &data, const CataloguerRights &rights, const QList<int> &ids)
{
    QList<RecordDeletion> out;
    for (int id : ids) {
        RecordDeletion d;
        d.docId = id;
        d.refusal = deleteRecord(data, rights, id);
        out << d;
    }
    return out;
}

QString refusalsText(const QList<RecordDeletion> &outcome)
{
    QStringList lines;
    for (const RecordDeletion &d : outcome)
        if (!d.refusal.isEmpty())
            lines << QString::number(d.docId) + QStringLiteral(" : ") + d.refusal;
    return lines.join(u'\n');
}

} // namespace folian
