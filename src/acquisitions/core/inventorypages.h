#pragma once
// The pages of the physical inventory: the register ("invClassique.html"),
// the check list ("invPhysique.html") and the discrepancies
// ("invEcarts.html"); for a campaign, the same over its selection and its
// summary ("invCampagne.html"). Each page is one statement whose columns are
// sub-selects, read forward as it is written, with progress and a stop:
// memory stays flat whatever the number of copies.

#include "acquisitions/core/inventory.h"
#include "reports/core/report.h"

namespace folian {

class Progress;

enum class InventoryPage { Register, Check, Discrepancies };

// The page of the copies the criteria select; the discrepancies list every
// copy not found (flag 0 or NULL), whatever the criteria. Into `directory`,
// or the directory of pages when empty.
ReportResult writeInventoryPage(Database &db, InventoryPage page, const InventoryCriteria &criteria,
                                Progress *progress = nullptr, const QString &directory = QString());

// The same pages as reports, for a screen's printing.
Report inventoryPageReport(Database &db, InventoryPage page, const InventoryCriteria &criteria,
                           const QString &directory = QString());
Report campaignPageReport(InventoryPage page, int campaign, const QString &directory = QString());

// The page of a campaign: its selection (register, check list) or its
// copies not found (discrepancies).
ReportResult writeCampaignPage(Database &db, InventoryPage page, int campaign, Progress *progress = nullptr,
                               const QString &directory = QString());

// The campaign's counts and the copies found outside its selection, as "invCampagne.html".
ReportResult writeCampaignSummary(Database &db, int campaign, const QString &directory = QString());

// The numbers of the campaign's copies not found, one a line (UTF-8), to
// `path`; false with the reason in `why`. `count` is the number of lines.
bool writeDiscrepancyList(Database &db, int campaign, const QString &path, int *count, QString *why);

} // namespace folian
