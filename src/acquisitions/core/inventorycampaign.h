#pragma once
// Inventory campaigns: a selection of copies (the criteria of the physical
// inventory) whose flags are first set to "not found"; the numbers a
// scanner read then mark copies found; the campaign ends with its
// discrepancies. Only the campaign's own selection is ever reset, so the
// inventory of one collection never marks another one missing.
//
// Between workstations: a campaign starts in one transaction (its
// selection fixed and reset together). Scanned numbers are marked in
// batches, each one transaction that first locks the campaign's row, so
// that two workstations reading scanners for one campaign take turns batch
// by batch and a number read on both counts once as found and once as read
// twice. Counts are read from the rows, never kept on a workstation.

#include "acquisitions/core/acqresult.h"
#include "acquisitions/core/inventory.h"

#include <QIODevice>
#include <QStringList>

namespace folian {

class Progress;

// Starts a campaign over the copies the criteria select (at least one
// criterion: a whole inventory says so with a number pattern "*"). The
// result's key is the campaign's number.
AcqResult startCampaign(Database &db, const InventoryCriteria &criteria);

// The latest campaign, 0 when there is none (or on failure).
int latestCampaign(Database &db);

struct CampaignStatus {
    bool read = false;        // false: the campaign does not exist or could not be read (see message)
    QString message;
    QString criteria;         // the selection's criteria, as the operator gave them
    qint64 selection = 0;     // copies of the selection that still exist
    qint64 found = 0;         // of those, found
    qint64 notFound = 0;      // of those, not found (flag 0 or NULL)
    qint64 misplaced = 0;     // copies found outside the selection
};
CampaignStatus campaignStatus(Database &db, int campaign);

// What one reading of scanned numbers did.
struct ScanReport {
    bool passed = false;
    bool stopped = false;     // the operator stopped it: the lines read before are marked
    QString message;          // why it failed
    int lines = 0;            // numbers read (blank lines are not numbers)
    int found = 0;            // copies marked found for the first time in the campaign
    int unknown = 0;          // numbers of no copy
    int duplicates = 0;       // numbers read again (in this file or an earlier one)
    int misplaced = 0;        // copies found that are not of the selection
    int lent = 0;             // copies found that are lent: to check at the desk
    QStringList unknownNumbers, duplicateNumbers, misplacedNumbers, lentNumbers;
};

// Marks the copies whose numbers `input` holds, one a line (LF, CR LF or CR
// alone; blank lines and blanks around a number ignored; each line UTF-8,
// or Windows-1256 when it is not valid UTF-8), in batches, each batch one
// transaction of a few statements. A second reading adds to the first.
ScanReport markScanned(Database &db, int campaign, QIODevice &input, Progress *progress = nullptr);
ScanReport markScannedFile(Database &db, int campaign, const QString &path, Progress *progress = nullptr);

// The condition that a copy E is of the campaign's selection (one bound
// value: the campaign).
QString campaignSelection();

} // namespace folian
