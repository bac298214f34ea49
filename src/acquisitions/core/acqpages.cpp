#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqpages_p.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/core/receipt.h"
#include "acquisitions/core/serialtexts.h"
#include "base/dates.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/dataset.h"
#include "reports/core/htmlpage.h"


namespace folian {

namespace acqpage {

// Captions in French carry their accented letters as numeric references.
QString caption(const QString &text)
{
    const QString escaped = htmlEscape(text);
    return session().ArabicMode ? escaped : htmlReferences(escaped);
}

// A left-aligned paragraph: the label in bold, then the value.
QString labelled(const QString &label, const QString &value)
{
    return QStringLiteral("<p align=\"left\"><b>") + caption(label) + QStringLiteral("</b>") + htmlEscape(value)
        + QStringLiteral("</p>");
}

ReportResult refusedWith(const QString &message)
{
    ReportResult r;
    r.message = message;
    return r;
}

ReportResult notWritten(const QString &path)
{
    return refusedWith(tr2(QStringLiteral("Impossible d'écrire le fichier "), QStringLiteral("تعذرت كتابة الملف ")) + path);
}

// The page: opening, letterhead, title in size 6, the paragraphs, the
// bordered table, and what follows it; written as `fileName`.
ReportResult writePage(Database &db, const QString &fileName, const QString &title, const QStringList &paragraphs,
                       const QList<ReportColumn> &columns, const QList<QVariantList> &rows, const QString &after)
{
    QString picture;
    if (!writeLetterhead(db, &picture))
        return notWritten(picture);
    QStringList lines{htmlPageOpening(session().ArabicMode)};
    if (!picture.isEmpty())
        lines << letterheadHtml(picture);
    lines << QStringLiteral("<p align=\"center\"><font size=\"6\"><b>") + caption(title) + QStringLiteral("</b></font></p>");
    lines << paragraphs;
    lines << QStringLiteral("<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">") << reportHeaderRow(columns);
    for (const QVariantList &row : rows)
        lines << reportBodyRow(columns, row);
    lines << QStringLiteral("</table>") << after << QStringLiteral("</body></html>");
    ReportResult r;
    r.path = reportPath(fileName);
    if (!writeHtmlPage(r.path, lines.join(u'\n') + u'\n'))
        return notWritten(r.path);
    r.status = ReportResult::Status::Written;
    r.rows = int(rows.size());
    return r;
}

QString titleOf(const SqlRows &q, int propre) { return shortTitle(q.value(propre).toString(), q.value(propre + 1).toString()); }

} // namespace acqpage

using namespace acqpage;

QString documentFormTitle(AcqType type)
{
    return type == AcqType::Subscription ? acq::subscriptionFormTitle() : acq::orderFormTitle(type == AcqType::PreOrder);
}

ReportResult writeOrderForm(Database &db, int document)
{
    const DocumentSheet d = loadDocument(db, document);
    if (d.id == 0)
        return refusedWith(acq::documentGone());
    const bool pre = d.type == AcqType::PreOrder;
    const bool subscription = d.type == AcqType::Subscription;
    const QString supplier =
        IsBlank(d.supplier) ? QString()
                            : db.scalar(QStringLiteral("SELECT FOU_LIBELLE FROM FOURNISSEUR WHERE FOU_ID = ?"), {d.supplier}).toString();
    const QString numberLabel = subscription ? acq::text(u"N° abonnement : ", u"رقم الاشتراك : ")
        : pre                                ? acq::text(u"N° pré–commande : ", u"رقم الطلبية المسبقة : ")
                                             : acq::text(u"N° commande : ", u"رقم الطلبية : ");
    const QString dateLabel = subscription ? acq::text(u"Date abonnement : ", u"تاريخ الاشتراك : ")
        : pre                              ? acq::text(u"Date pré–commande : ", u"تاريخ الطلبية المسبقة : ")
                                           : acq::text(u"Date commande : ", u"تاريخ الطلبية : ");
    const QStringList paragraphs{labelled(numberLabel, d.number), labelled(dateLabel, ShowDate(d.date)),
                                 labelled(acq::text(u"Fournisseur : ", u"المورد : "), supplier)};
    // A subscription's form adds the periodicity and numbering of its titles, with narrower amounts.
    QList<ReportColumn> columns{reportColumn(QStringLiteral("Référence"), QStringLiteral("المرجع"), 100),
                                reportColumn(QStringLiteral("Titre"), QStringLiteral("العنوان"), 280)};
    if (subscription)
        columns << reportColumn(QStringLiteral("Périodicité"), QStringLiteral("الدورية"), 80)
                << reportColumn(QStringLiteral("Numérotation"), QStringLiteral("الترقيم"), 100);
    const int number = subscription ? 40 : 60, amount = subscription ? 40 : 90;
    columns << reportColumn(QStringLiteral("Nb. Exp."), QStringLiteral("عدد النسخ"), number, ColumnKind::Number)
            << reportColumn(QStringLiteral("Prix"), QStringLiteral("السعر"), amount, ColumnKind::Money)
            << reportColumn(QStringLiteral("Total"), QStringLiteral("المجموع"), amount, ColumnKind::Money);
    SqlRows q = db.query(QStringLiteral("SELECT L.ACQ_REFERENCE, N.DOC_TITRE_PROPRE, N.DOC_TITRE_COMPLEMENT, L.ACQ_EXEMPLAIRE, "
                                        "L.ACQ_PRIX, L.ACQ_MONTANT, ")
                             + periodicitySql(QStringLiteral("L.DOC_ID"))
                             + QStringLiteral(", L.ACQ_NUMEROTATION FROM ACQUISITION_LIGNE L LEFT JOIN NOTICE N "
                                              "ON N.DOC_ID = L.DOC_ID WHERE L.ACQ_ID = ? ORDER BY L.ACQ_LIGNE_ID"),
                         {document});
    if (!q.isActive())
        return refusedWith(db.lastError().text());
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row{q.value(0), titleOf(q, 1)};
        if (subscription)
            row << q.value(6) << q.value(7);
        rows << (row << q.value(3) << q.value(4) << q.value(5));
    }
    // The amount on a last row without border, left out when there is no total.
    int before = 0;
    for (qsizetype i = 0; i + 1 < columns.size(); ++i)
        before += columns.at(i).width;
    QString after = QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><tr><td width=\"%1\" align=\"right\"><b>")
                        .arg(before)
        + caption(acq::text(u"Montant : ", u"المبلغ : ")) + QStringLiteral("</b></td>");
    if (d.total)
        after += QStringLiteral("<td width=\"%1\" align=\"center\">").arg(amount) + htmlEscape(d.total->toString())
            + QStringLiteral("</td>");
    after += QStringLiteral("</tr></table>");
    const QString fileName = subscription ? QStringLiteral("abonnement.html")
        : pre                             ? QStringLiteral("preCommande.html")
                                          : QStringLiteral("commande.html");
    return writePage(db, fileName, documentFormTitle(d.type), paragraphs, columns, rows, after);
}

ReportResult writeDeliveryNote(Database &db, int delivery)
{
    const DeliverySheet d = loadDelivery(db, delivery);
    if (d.id == 0)
        return refusedWith(acq::deliveryGone());
    const QStringList paragraphs{labelled(acq::text(u"N° livraison : ", u"رقم الاستلام : "), d.number),
                                 labelled(acq::text(u"Date livraison : ", u"تاريخ الاستلام : "), ShowDate(d.date))};
    const QList<ReportColumn> columns{
        reportColumn(QStringLiteral("Référence"), QStringLiteral("المرجع"), 100),
        reportColumn(QStringLiteral("Titre"), QStringLiteral("العنوان"), 280),
        reportColumn(QStringLiteral("Nbr commandé"), QStringLiteral("العدد المطلوب"), 70, ColumnKind::Number),
        reportColumn(QStringLiteral("Nbr déjà reçu"), QStringLiteral("العدد المستلم"), 70, ColumnKind::Number),
        reportColumn(QStringLiteral("Nbr reçu"), QStringLiteral("المستلم بهذا الوصل"), 70, ColumnKind::Number)};
    const SqlText titles = deliveredTitlesSql(delivery);
    SqlRows q = db.query(titles.sql, titles.binds);
    if (!q.isActive())
        return refusedWith(db.lastError().text());
    QList<QVariantList> rows;
    while (q.next())
        rows << QVariantList{q.value(3), titleOf(q, 7), q.value(4), q.value(5), q.value(2)};
    return writePage(db, QStringLiteral("livraison.html"), acq::deliveryNoteTitle(), paragraphs, columns, rows, QString());
}

Report deliveryListReport(Dataset &deliveries)
{
    Report r;
    r.fileName = QStringLiteral("listelivraison.html");
    r.french = QStringLiteral("Liste des livraisons");
    r.arabic = QStringLiteral("قائمة الاستلامات");
    r.letterhead = true;
    r.columns = {reportColumn(QStringLiteral("N° livraison"), QStringLiteral("رقم الاستلام"), 110),
                 reportColumn(QStringLiteral("N° achat"), QStringLiteral("رقم الشراء"), 110),
                 reportColumn(QStringLiteral("Fournisseur"), QStringLiteral("المورد"), 220),
                 reportColumn(QStringLiteral("Date livraison"), QStringLiteral("تاريخ الاستلام"), 100, ColumnKind::Date)};
    deliveries.fetchAll();
    for (int row = 0; row < deliveries.rowCount(); ++row) {
        const auto v = [&](const char *c) { return deliveries.valueAt(row, QLatin1String(c)); };
        r.rows << QVariantList{v("LIV_NUMERO"), v("COMMANDE"), v("FOURNISSEUR"), v("LIV_DATE")};
    }
    return r;
}

Report invoiceListReport(Dataset &invoices)
{
    Report r;
    r.fileName = QStringLiteral("factures.html");
    r.french = QStringLiteral("Liste des factures");
    r.arabic = QStringLiteral("قائمة الفواتير");
    r.letterhead = true;
    r.columns = {reportColumn(QStringLiteral("N° facture"), QStringLiteral("رقم الفاتورة"), 110),
                 reportColumn(QStringLiteral("N° achat"), QStringLiteral("رقم الشراء"), 110),
                 reportColumn(QStringLiteral("Date facture"), QStringLiteral("تاريخ الفاتورة"), 100, ColumnKind::Date),
                 reportColumn(QStringLiteral("N° engagement"), QStringLiteral("رقم الالتزام"), 90, ColumnKind::Number),
                 reportColumn(QStringLiteral("Total"), QStringLiteral("المجموع"), 100, ColumnKind::Money)};
    invoices.fetchAll();
    for (int row = 0; row < invoices.rowCount(); ++row) {
        const auto v = [&](const char *c) { return invoices.valueAt(row, QLatin1String(c)); };
        r.rows << QVariantList{v("FAC_ID"), v("ACQ_NUMERO"), v("FAC_DATE"), v("ENG_ID"), v("FAC_MONTANT")};
    }
    return r;
}

} // namespace folian
