#pragma once
// Currencies (MONNAIE): a plain list of names, French and Arabic, that a
// document may carry; no rate, no amount is ever converted. A currency is
// deleted only while no document carries it.
//
// Between workstations: a deletion locks the currency's row and deletes it
// only while no document names it, in one statement; a document saved
// meanwhile locks the same row first, so it keeps its currency.

#include "acquisitions/core/acqresult.h"
#include "data/core/helpers.h"

namespace folian {

class Database;

struct CurrencySheet {
    int id = 0;              // MON_ID; 0 for a new currency
    QString label;           // MON_LIBELLE, required
    QString labelArabic;     // MON_LIBELLE_AR
};
// Saves the currency, its key in the result.
AcqResult saveCurrency(Database &db, const CurrencySheet &sheet);
// Deletes the currency; refused while documents carry it, with their count.
AcqResult deleteCurrency(Database &db, int id);

// The status-bar count of the currencies.
QString currencyCountLine(Database &db);

} // namespace folian
