#pragma once
// Claims to late suppliers: the suppliers that owe the library something,
// what each owes (the titles overdue, the serial issues awaited), the claim
// letter "relanceFournisseur.html" and the list "listeFournisseur.html".
//
// One definition of late serves the list, its count and the letter:
// - a title is overdue when it is a line of a validated order or
//   subscription (status 2: a document still "A valider" was never sent),
//   its expected date is before today (a line expected today is not late,
//   a line with no expected date never is) and it is not fully received
//   (fewer copies received than ordered);
// - an issue is awaited when it was recorded on a line of a validated
//   subscription with "Reçu" unticked (BUL_STATUT 0), until it is received.
// Pre-orders are never claimed. Nothing here writes to the database.

#include "acquisitions/core/acqresult.h"
#include "data/core/helpers.h"
#include "reports/core/report.h"

#include <QDate>
#include <QList>

namespace folian {

class Database;

// The late suppliers (FOURNISSEUR's columns), by name.
SqlText lateSuppliersSql(Database &db, const QDate &today);
// How many there are; -1 when it cannot be read.
int lateSupplierCount(Database &db, const QDate &today);
// The supplier's overdue titles: COMMANDE (the document's number),
// ACQ_LIGNE_ID, ACQ_REFERENCE, DOC_TITRE_PROPRE, DOC_TITRE_COMPLEMENT,
// ACQ_EXEMPLAIRE, ACQ_NBR_LIVRE, MANQUANT (copies missing), ACQ_PRIX,
// ACQ_MONTANT, ACQ_DATE_LIVRAISON; by expected date.
SqlText overdueTitlesSql(Database &db, int supplier, const QDate &today);
// The supplier's awaited issues: ABONNEMENT (the subscription's number),
// BUL_ID, BUL_NUMERO, BUL_DATE, BUL_TITRE, DOC_TITRE_PROPRE; by subscription
// and issue.
SqlText awaitedIssuesSql(int supplier);

// The claim letter to the supplier, with its text from the parameters
// (RELANCE_FOURNISSEUR), a table of its overdue titles and one of its
// awaited issues (each only when there is something in it), as `fileName`
// ("relanceFournisseur.html" when empty) in `directory` (the directory of
// pages when empty). Refused for a supplier that is not late.
ReportResult writeClaimLetter(Database &db, int supplier, const QDate &today, const QString &directory = QString(),
                              const QString &fileName = QString());
// The list of the late suppliers, "listeFournisseur.html".
Report lateSupplierListReport(Database &db, const QDate &today);

struct LateSupplier {
    int id = 0;
    QString name;
};
struct ClaimBatch {
    bool passed = false;
    QString message;            // why it failed, or what was written
    QList<LateSupplier> suppliers;
    QStringList files;          // the letters and the list written
};
// Writes into `directory` one letter per late supplier
// ("relanceFournisseur-KEY.html") and the list ("listeFournisseur.html").
ClaimBatch writeClaims(Database &db, const QString &directory, const QDate &today);

} // namespace folian
