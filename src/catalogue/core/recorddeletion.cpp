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
        bool found = false;
        const QVariant creator =
            data.db().scalar(QStringLiteral("SELECT CREATE_USER FROM NOTICE WHERE DOC_ID = ?"), {id}, &found);
        if (!rights.mayDelete(creator))
            d.refusal = tr2(QStringLiteral("Vous ne pouvez supprimer que les notices que vous avez créées."),
                            QStringLiteral("لا يمكنك حذف إلا البطاقات التي أنشأتها."));
        else
            d.refusal = deleteRecord(data, id);
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
