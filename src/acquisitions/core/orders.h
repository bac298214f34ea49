#pragma once
// Acquisition documents (pre-orders, orders, subscriptions, gifts,
// exchanges, deposits) and their title lines: saved, deleted, validated,
// a pre-order turned into an order, the searches of the screens.
//
// Between workstations: every change of a document's lines locks the
// document's row first, then sums its total again from its lines in the
// same transaction (see documenttotal.h), so totals are right whatever
// the workstations do at once. Validation and conversion are conditional
// updates (status 1, type 1), so a second workstation finds them done.
// A document, a line or a supplier is deleted only by a statement that
// finds nothing depending on it after the rows concerned are locked; a
// refusal says what depends on it.

#include "acquisitions/core/acqresult.h"
#include "acquisitions/core/documents.h"
#include "data/core/helpers.h"

#include <QDate>

namespace folian {

class Database;
class Dialect;

struct DocumentSheet {
    int id = 0;                       // ACQ_ID; 0 for a new document
    AcqType type = AcqType::Order;    // ACQ_TYP, set when the document is created
    QVariant supplier;                // FOU_ID: required for pre-orders, orders, subscriptions
    QVariant currency;                // MON_ID
    QDate date;                       // ACQ_DATE
    QString number;                   // ACQ_NUMERO, required
    QString partner;                  // ACQ_PARTENAIRE: gifts, exchanges, deposits
    int direction = AcqDirection::Unset;  // ACQ_SENS: gifts and exchanges
    // As stored (read by loadDocument, ignored by saveDocument):
    int status = AcqStatus::ToValidate;
    std::optional<Money> total;
};

// Saves the header: a new document is "A valider" with the creation stamp,
// an edit gets the update stamp. The key in the result.
AcqResult saveDocument(Database &db, const DocumentSheet &sheet);
// The stored document; id 0 when there is none.
DocumentSheet loadDocument(Database &db, int id);
// Deletes the document with its lines; refused while it has deliveries,
// invoices or copies and issues received on its lines, with their counts.
AcqResult deleteDocument(Database &db, int id);
// "Validation": status 1 becomes 2, for a document with lines (not a pre-order).
AcqResult validateDocument(Database &db, int id);
// "Passer en commande": a pre-order becomes an order (same key, number,
// lines, status); the records of its titles in status 2 go to status 3.
AcqResult convertToOrder(Database &db, int id);

struct LineSheet {
    int id = 0;            // ACQ_LIGNE_ID; 0 for a new line
    int document = 0;      // ACQ_ID
    int record = 0;        // DOC_ID, required
    QString reference;     // ACQ_REFERENCE
    QDate expected;        // ACQ_DATE_LIVRAISON
    QString price;         // ACQ_PRIX as typed; blank for none
    QString copies;        // ACQ_EXEMPLAIRE as typed, required
    QDate subscriptionStart, subscriptionEnd;   // subscriptions
    QString numbering;                          // subscriptions
    // As stored (read by loadLine, ignored by saveLine):
    int received = 0;
    Money amount;
};

// Saves the line (its amount price × copies, 0 without a price) and the
// document's total in one transaction. Refused: no record, copies blank or
// negative, a negative price, an amount or a total beyond an amount
// column, copies below those already received (subscriptions excepted).
// The line's key in the result.
AcqResult saveLine(Database &db, const LineSheet &sheet);
// The stored line; id 0 when there is none.
LineSheet loadLine(Database &db, int id);
// Deletes the line and sums the document's total again; refused while
// anything was received on it, with the counts.
AcqResult deleteLine(Database &db, int id);

// The reference a title takes when chosen: its ISBN, else ISSN, else other number.
QString recordReference(Database &db, int record);
// The short title of a record for the grids and the line dialog's field.
QString recordShortTitle(Database &db, int record);
// Its full title (the line dialog's title when a line is edited).
QString recordFullTitle(Database &db, int record);

struct DocumentCriteria {
    AcqType type = AcqType::Order;
    QString number;     // "*" the wildcard
    QString supplier;   // the supplier's name, matched whole ("*" stands for itself)
    int status = 0;     // 0 any, 1 or 2
    QString year;       // blank or a year
};

// The search of a kind of documents, newest first, with the supplier's name
// (FOU_LIBELLE) beside each. False with the reason when the year is not a
// number.
bool documentSearchSql(const Dialect &d, const DocumentCriteria &c, SqlText *out, QString *why);
// The lines of a document with their record's title proper and complement
// and its periodicity's label (PERIODICITE, in the session's language).
SqlText documentLinesSql(int document);
// The expression of the periodicity's label of the record `record` (a
// column), in the session's language; NULL for a record without one.
QString periodicitySql(const QString &record);
// The status-bar count of a kind of documents (" Commandes : n enreg(s)").
QString documentCountLine(Database &db, AcqType type);

} // namespace folian
