#include "acquisitions/core/giftpages.h"

#include "acquisitions/core/acqpages_p.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/orders.h"
#include "base/dates.h"
#include "data/core/database.h"

namespace folian {

using namespace acqpage;

ReportResult writeGiftForm(Database &db, int document)
{
    const DocumentSheet d = loadDocument(db, document);
    if (d.id == 0)
        return refusedWith(acq::documentGone());
    if (!isGiftKind(d.type))
        return refusedWith(acq::notAGiftLine());
    const struct {
        const char *file;
        const char16_t *number, *numberAr, *date, *dateAr;
    } kinds[] = {{"Don.html", u"N° don : ", u"رقم الهبة : ", u"Date don : ", u"تاريخ الهبة : "},
                 {"echange.html", u"N° échange : ", u"رقم التبادل : ", u"Date échange : ", u"تاريخ التبادل : "},
                 {"depot.html", u"N° dépôt : ", u"رقم الإيداع : ", u"Date dépôt : ", u"تاريخ الإيداع : "}};
    const auto &k = kinds[int(d.type) - int(AcqType::Gift)];
    const QStringList paragraphs{labelled(acq::text(k.number, k.numberAr), d.number),
                                 labelled(acq::text(k.date, k.dateAr), ShowDate(d.date)),
                                 labelled(acq::text(u"Partenaire : ", u"الشريك : "), d.partner)};
    const QList<ReportColumn> columns{reportColumn(QStringLiteral("Référence"), QStringLiteral("المرجع"), 100),
                                      reportColumn(QStringLiteral("Titre"), QStringLiteral("العنوان"), 460),
                                      reportColumn(QStringLiteral("Nb. Exp."), QStringLiteral("عدد النسخ"), 60, ColumnKind::Number)};
    SqlRows q = db.query(QStringLiteral("SELECT L.ACQ_REFERENCE, N.DOC_TITRE_PROPRE, N.DOC_TITRE_COMPLEMENT, L.ACQ_EXEMPLAIRE "
                                          "FROM ACQUISITION_LIGNE L LEFT JOIN NOTICE N ON N.DOC_ID = L.DOC_ID "
                                          "WHERE L.ACQ_ID = ? ORDER BY L.ACQ_LIGNE_ID"),
                           {document});
    if (!q.isActive())
        return refusedWith(db.lastError().text());
    QList<QVariantList> rows;
    while (q.next())
        rows << QVariantList{q.value(0), titleOf(q, 1), q.value(3)};
    return writePage(db, QLatin1String(k.file), acq::giftPageTitle(d.type), paragraphs, columns, rows, QString());
}

} // namespace folian
