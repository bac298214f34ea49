#pragma once
// Copies and serial issues received on an acquisition line, one at a time:
// through a delivery (the receipt of an order or a subscription) or
// directly on the line (gifts, exchanges, deposits).
//
// Between workstations: a copy raises the received counts of its line and
// delivered title in SQL (x = x + 1), and for any document but a
// subscription only while the line's copies are not all received
// (ACQ_NBR_LIVRE + 1 <= ACQ_EXEMPLAIRE, checked by the statement): a line
// of 5 never gets a sixth copy, whatever the workstations do at once. A
// copy deleted lowers those counts once, never below 0; a copy lent or
// reserved is not deleted. The title's record goes from status 3 (on
// order) to 1 with its first copy or issue received.

#include "acquisitions/core/acqresult.h"
#include "acquisitions/core/documents.h"

#include <QString>
#include <QVariant>

namespace folian {

class Database;

// Where copies and issues are received.
struct ReceiptTarget {
    int line = 0;        // ACQ_LIGNE_ID
    int delivery = 0;    // LIV_ID: received with this delivery; 0: entered directly on the line
    int mode = AcquisitionMode::Purchase;  // MOD_ID of the copies
};

// Why the line cannot take `count` more copies now (fully received, or
// fewer remaining), empty when it can: what a screen tells before it opens
// the copy's sheet or the generator. The writing itself decides again.
QString copiesRefusal(Database &db, int line, int count);

struct CopySheet {
    QString id;            // EXP_ID, required
    QString shelfMark;     // EXP_COTE
    QString altNumber;     // EXP_INV
    QVariant location;     // LOC_ID
    QVariant support;      // SUP_ID
    QVariant status;       // STA_EXP_ID; 2 (available) when none
    QString observation;   // EXP_OBSERVATION
};

// A new copy of the line's title: with a delivery, its price is the line's
// and its date the delivery's; directly on a line, its date is today's.
AcqResult addReceivedCopy(Database &db, const ReceiptTarget &target, const CopySheet &copy);
// Saves the changes of a copy (its number too); refused for a copy on loan.
AcqResult updateReceivedCopy(Database &db, const QString &id, const CopySheet &copy);
// Deletes a copy and lowers the counts of its line and delivered title.
AcqResult deleteReceivedCopy(Database &db, const QString &id);
// The stored copy; an empty id when there is none.
CopySheet loadCopy(Database &db, const QString &id);

struct IssueSheet {
    int id = 0;            // BUL_ID; 0 for a new issue
    QString number;        // BUL_NUMERO, required
    QString title;         // BUL_TITRE
    QString date;          // BUL_DATE, as printed on the issue
    bool received = true;  // BUL_STATUT
};

// A new issue of the line's title (the counts are not changed by issues).
// An issue received takes its record off order (status 3 to 1); an issue
// awaited ("Reçu" unticked) leaves it as it is, and is claimed from the
// supplier until it is received.
AcqResult addReceivedIssue(Database &db, const ReceiptTarget &target, const IssueSheet &issue);
// Saves the issue; one now received takes its record off order.
AcqResult updateIssue(Database &db, const IssueSheet &issue);
AcqResult deleteIssue(Database &db, int id);
IssueSheet loadIssue(Database &db, int id);

} // namespace folian
