#pragma once
// Deliveries (LIVRAISON) and their delivered titles (LIVRAISON_LIGNE): the
// receipt of a validated order or subscription, the titles added to or
// removed from a delivery, its header, its deletion, and the searches of
// the delivery screens.
//
// Between workstations: a receipt and a title added lock the document's
// or the delivery's row first; a title or a delivery is removed only by
// statements that find no copy or issue received with it, after its rows
// are locked, so a copy being received at another workstation is either
// counted in the refusal or finds the title gone.

#include "acquisitions/core/acqresult.h"
#include "acquisitions/core/documents.h"
#include "data/core/helpers.h"

#include <QDate>
#include <QList>

namespace folian {

class Database;
class Dialect;

struct ReceiptRequest {
    int document = 0;          // the order or subscription delivered
    QString number;            // LIV_NUMERO, required
    QDate date;                // LIV_DATE; today when not valid
    bool selectedOnly = false; // "Réceptionner les titres sélectionnés"
    QList<int> lines;          // the selected lines
};

// A new delivery of a validated order or subscription with its titles not
// fully received (all of them, or those selected); titles fully received
// are left out, and a delivery may have none. The delivery's key in the
// result.
AcqResult receive(Database &db, const ReceiptRequest &request);
// Adds a title of the delivery's document that is not fully received and
// not yet on the delivery.
AcqResult addDeliveredTitle(Database &db, int delivery, int line);
// Removes a title from a delivery; refused while copies or issues were
// received with it, with their counts.
AcqResult removeDeliveredTitle(Database &db, int delivery, int line);
// The delivery's number and date ("Modifier").
AcqResult updateDelivery(Database &db, int delivery, const QString &number, const QDate &date);
// Deletes the delivery with its titles; refused while copies or issues
// were received with it, with their counts.
AcqResult deleteDelivery(Database &db, int delivery);

struct DeliverySheet {
    int id = 0;              // LIV_ID; 0 when there is none
    QString number;
    QDate date;
    int document = 0;
    AcqType type = AcqType::Order;
    QString documentNumber;
};
DeliverySheet loadDelivery(Database &db, int id);

// The delivered titles with their line's reference, counts and title.
SqlText deliveredTitlesSql(int delivery);
// The document's titles not fully received and not on the delivery.
SqlText missingTitlesSql(int delivery);
// How many there are.
int missingTitles(Database &db, int delivery);
// The copies and issues received on a delivered title, with the labels of
// their location, support and status in the session's language.
SqlText deliveredCopiesSql(int delivery, int line);
// The copies that meet `condition` (on the copy E), with those labels.
SqlText copiesWithLabelsSql(const QString &condition, const QVariantList &binds);
SqlText deliveredIssuesSql(int delivery, int line);

struct DeliveryCriteria {
    QString number;        // "*" the wildcard
    QString orderNumber;   // "*" the wildcard
    int supplier = 0;      // FOU_ID; 0 any (-1, an unknown supplier, none)
    QDate from, to;        // each used when valid
};
// The deliveries, newest first, with their document's number (COMMANDE)
// and supplier (FOURNISSEUR).
SqlText deliverySearchSql(const Dialect &d, const DeliveryCriteria &c);
// The status-bar count of the deliveries.
QString deliveryCountLine(Database &db);

} // namespace folian
