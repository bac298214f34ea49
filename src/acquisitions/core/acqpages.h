#pragma once
// The printed pages of orders and deliveries, in the directory of pages,
// written like every page of the report writer (every value escaped):
// "commande.html" / "preCommande.html" (the order form), "livraison.html"
// (the delivery note) and "listelivraison.html" (the list of deliveries).

#include "reports/core/report.h"

namespace folian {

class Database;
class Dataset;

// The order form of an order or a pre-order, with its letterhead.
ReportResult writeOrderForm(Database &db, int document);
// The delivery note of a delivery, with its letterhead.
ReportResult writeDeliveryNote(Database &db, int delivery);
// The list of the deliveries a search found (its rows as read).
Report deliveryListReport(Dataset &deliveries);

} // namespace folian
