#include "acquisitions/core/inventorypages.h"

#include "acquisitions/core/inventorycampaign.h"
#include "acquisitions/core/inventorytexts.h"
#include "data/core/database.h"
#include "data/core/dialect.h"

#include <QSaveFile>

namespace folian {

namespace {

struct PageColumn {
    int column;  // an InventoryColumn
    ReportColumn report;
};

QList<PageColumn> pageColumns(InventoryPage page)
{
    const auto c = [](int column, const char16_t *french, const char16_t *arabic, int width,
                      ColumnKind kind = ColumnKind::Text) {
        return PageColumn{column, reportColumn(QString::fromUtf16(french), QString::fromUtf16(arabic), width, kind)};
    };
    const PageColumn number = c(InvNumber, u"N° inventaire", u"رقم الجرد", page == InventoryPage::Register ? 80 : 100);
    const PageColumn title = c(InvTitle, u"Titre", u"العنوان", page == InventoryPage::Check ? 260 : 280);
    const PageColumn shelf = c(InvShelfMark, u"Cote", u"الرمز", 60);
    const PageColumn location = c(InvLocation, u"Localisation", u"الموقع", 90);
    const PageColumn mode = c(InvMode, u"Mode d'acquisition", u"طريقة الاقتناء", 20);
    const PageColumn status = c(InvStatus, u"Statut", u"الحالة", 20);
    switch (page) {
    case InventoryPage::Register:
        return {number,
                c(InvAcquired, u"Date de réception", u"تاريخ الاستلام", 50, ColumnKind::Date),
                title,
                c(InvAuthor, u"Auteur", u"المؤلف", 160),
                c(InvPublisher, u"Editeur", u"الناشر", 50),
                c(InvYear, u"Date d'édition", u"تاريخ النشر", 30),
                c(InvPlace, u"Lieu d'édition", u"مكان النشر", 40),
                c(InvEdition, u"Edition", u"الطبعة", 50),
                mode,
                status,
                c(InvSupplier, u"Fournisseur", u"المورد", 60),
                c(InvPurchase, u"N° achat", u"رقم الشراء", 60),
                c(InvPrice, u"Prix", u"الثمن", 50, ColumnKind::Money),
                shelf,
                location,
                c(InvObservation, u"Observation", u"ملاحظة", 70)};
    case InventoryPage::Check:
        return {c(InvFlagLabel, u"Inventorié", u"مجرود", 20), number, title, shelf, c(InvAuthor, u"Auteur", u"المؤلف", 140),
                location, mode, status};
    case InventoryPage::Discrepancies:
        return {number, title, shelf, c(InvAuthor, u"Auteur", u"المؤلف", 160), location, mode};
    }
    return {};
}

QString fileOf(InventoryPage page)
{
    switch (page) {
    case InventoryPage::Register: return QStringLiteral("invClassique.html");
    case InventoryPage::Check: return QStringLiteral("invPhysique.html");
    case InventoryPage::Discrepancies: return QStringLiteral("invEcarts.html");
    }
    return {};
}

QString titleOf(InventoryPage page)
{
    switch (page) {
    case InventoryPage::Register: return inv::registerTitle();
    case InventoryPage::Check: return inv::checkTitle();
    case InventoryPage::Discrepancies: return inv::discrepanciesTitle();
    }
    return {};
}

const QString notFound = QStringLiteral("(E.EXP_INVENTORIE = 0 OR E.EXP_INVENTORIE IS NULL)");

// The page of the copies E that `where` selects, in the order given.
Report pageReport(InventoryPage page, InventoryNumber numberColumn, const SqlCondition &where, const QString &order,
                  const QString &directory)
{
    const QStringList expressions = inventoryColumnList(numberColumn);
    Report report;
    report.fileName = fileOf(page);
    report.french = titleOf(page);
    report.letterhead = true;
    report.directory = directory;
    QStringList select;
    for (const PageColumn &c : pageColumns(page)) {
        report.columns << c.report;
        select << expressions.at(c.column);
        if (c.column == InvFlagLabel)
            report.binds << inventoryLabelBinds();
    }
    report.sql = QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM NOTICE_EXEMPLAIRE E");
    if (!where.isEmpty())
        report.sql += QStringLiteral(" WHERE ") + where.sql;
    report.sql += QStringLiteral(" ORDER BY ") + order;
    report.binds += where.binds;
    return report;
}

} // namespace

Report inventoryPageReport(Database &db, InventoryPage page, const InventoryCriteria &criteria, const QString &directory)
{
    // The discrepancies are every copy not found, whatever the selection shown.
    const SqlCondition where = page == InventoryPage::Discrepancies ? SqlCondition{notFound, {}}
                                                                    : inventoryConditions(db.dialect(), criteria);
    const QString order = page == InventoryPage::Discrepancies ? inventoryOrder(InventorySort::Copy)
                                                               : inventoryOrder(criteria.sort);
    return pageReport(page, criteria.numberColumn, where, order, directory);
}

ReportResult writeInventoryPage(Database &db, InventoryPage page, const InventoryCriteria &criteria, Progress *progress,
                                const QString &directory)
{
    return writeReport(db, inventoryPageReport(db, page, criteria, directory), progress);
}

Report campaignPageReport(InventoryPage page, int campaign, const QString &directory)
{
    SqlCondition where{campaignSelection(), {campaign}};
    if (page == InventoryPage::Discrepancies)
        where.sql += QStringLiteral(" AND ") + notFound;
    return pageReport(page, InventoryNumber::Copy, where, inventoryOrder(InventorySort::ShelfMark), directory);
}

ReportResult writeCampaignPage(Database &db, InventoryPage page, int campaign, Progress *progress,
                               const QString &directory)
{
    return writeReport(db, campaignPageReport(page, campaign, directory), progress);
}

ReportResult writeCampaignSummary(Database &db, int campaign, const QString &directory)
{
    const CampaignStatus s = campaignStatus(db, campaign);
    if (!s.read) {
        ReportResult r;
        r.message = s.message;
        return r;
    }
    Report report;
    report.fileName = QStringLiteral("invCampagne.html");
    report.french = inv::campaignTitle() + QStringLiteral(" ") + QString::number(campaign);
    report.letterhead = true;
    report.directory = directory;
    const auto col = [](const char16_t *french, const char16_t *arabic, int width, ColumnKind kind = ColumnKind::Text) {
        return reportColumn(QString::fromUtf16(french), QString::fromUtf16(arabic), width, kind);
    };
    report.columns = {col(u"Sélection", u"الانتقاء", 300), col(u"Exemplaires", u"النسخ", 80, ColumnKind::Number),
                      col(u"Trouvés", u"موجودة", 80, ColumnKind::Number),
                      col(u"Non trouvés", u"غير موجودة", 80, ColumnKind::Number),
                      col(u"Hors sélection", u"خارج الانتقاء", 80, ColumnKind::Number)};
    report.rows = {{s.criteria, s.selection, s.found, s.notFound, s.misplaced}};
    return writeReport(db, report);
}

bool writeDiscrepancyList(Database &db, int campaign, const QString &path, int *count, QString *why)
{
    *count = 0;
    SqlRows q = db.query(QStringLiteral("SELECT E.EXP_ID FROM NOTICE_EXEMPLAIRE E WHERE ") + campaignSelection()
                             + QStringLiteral(" AND ") + notFound + QStringLiteral(" ORDER BY E.EXP_COTE, E.EXP_ID"),
                         {campaign});
    if (!q.isActive()) {
        *why = db.lastError().text();
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        *why = inv::fileUnreadable(path);
        return false;
    }
    while (q.next()) {
        f.write(q.value(0).toString().toUtf8() + '\n');
        ++*count;
    }
    if (!f.commit()) {
        *why = inv::fileUnreadable(path);
        return false;
    }
    return true;
}

} // namespace folian
