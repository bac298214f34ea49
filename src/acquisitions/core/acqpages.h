#pragma once
// The printed pages of orders and deliveries, in the directory of pages,
// written like every page of the report writer (every value escaped):
// "commande.html" / "preCommande.html" / "abonnement.html" (the order,
// pre-order and subscription forms), "livraison.html"
// (the delivery note), "listelivraison.html" (the list of deliveries) and
// "factures.html" (the list of invoices).

#include "acquisitions/core/documents.h"
#include "reports/core/report.h"

namespace folian {

class Database;
class Dataset;

// The form of an order, a pre-order or a subscription, with its letterhead.
ReportResult writeOrderForm(Database &db, int document);
// Its title ("Bon de commande", "Bon de pré-commande", "Bon d'abonnement").
QString documentFormTitle(AcqType type);
// The delivery note of a delivery, with its letterhead.
ReportResult writeDeliveryNote(Database &db, int delivery);
// The list of the deliveries a search found (its rows as read).
Report deliveryListReport(Dataset &deliveries);
// The list of the invoices a search found (its rows as read).
Report invoiceListReport(Dataset &invoices);

} // namespace folian
