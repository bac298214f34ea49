#pragma once
// Invoices (FACTURE, keyed by the number the supplier gave them): what a
// supplier bills for a validated order or subscription, charged to a
// budget commitment. Every change sums the debit of the commitments it
// touches again exactly from their invoices (see budgetdebits.h): an
// invoice never takes its commitment beyond the commitment's amount. An
// invoice moved to another commitment gives both their debits again; a
// new number never counts the invoice twice. An invoice whose commitment
// was deleted keeps that commitment's number and is still edited and
// deleted; it is never charged to a commitment that does not exist.
//
// Between workstations: an invoice edited or deleted is locked first, then
// its document, then the commitments it touches by key; a new invoice
// locks its document, then its commitment. The sums are read after the
// locks, so eight workstations invoicing one commitment at once never take
// it beyond its amount.

#include "acquisitions/core/acqresult.h"
#include "data/core/helpers.h"

#include <QDate>

namespace folian {

class Database;
class Dialect;

struct InvoiceSheet {
    QString stored;       // the number of the invoice edited; empty for a new invoice
    QString number;       // FAC_ID as typed, required
    int document = 0;     // ACQ_ID of a new invoice: a validated order or subscription
    QString commitment;   // ENG_ID as typed, required
    QDate date;           // FAC_DATE; today when not given
    QString amount;       // FAC_MONTANT as typed
};
// Saves the invoice and the debits of its commitments. Refused: a number
// already taken ("this invoice exists"), an unknown commitment, a negative
// amount, a commitment charged beyond its amount.
AcqResult saveInvoice(Database &db, const InvoiceSheet &sheet);
// Deletes the invoice and frees its amount on its commitment.
AcqResult deleteInvoice(Database &db, const QString &number);

struct InvoiceRow {
    QString number;       // empty when there is none
    int document = 0;
    QVariant commitment;  // NULL when none
    QDate date;
    Money amount;
};
InvoiceRow loadInvoice(Database &db, const QString &number);
// The sheet that edits the stored invoice as it stands.
InvoiceSheet invoiceSheet(const InvoiceRow &row);

struct InvoiceCriteria {
    QString number;       // "*" the wildcard
    QString order;        // the number of the document invoiced, "*" the wildcard
    QDate from, to;       // each used when valid
};
// The invoices, newest first, with the number of their document (ACQ_NUMERO).
SqlText invoiceSearchSql(const Dialect &d, const InvoiceCriteria &c);
// The invoices of a document, newest first.
SqlText documentInvoicesSql(int document);
// The status-bar count of the invoices.
QString invoiceCountLine(Database &db);

} // namespace folian
