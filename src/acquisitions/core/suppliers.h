#pragma once
// Suppliers and other partners (FOURNISSEUR): saved from their sheet,
// deleted only while no acquisition document names them. The list is
// ordered by name.
//
// Between workstations: a new supplier takes the largest key + 1, taken
// again when another workstation took it first; a deletion locks the
// supplier's row and deletes it only while no document refers to it, in
// one statement, so a document saved meanwhile keeps its supplier.

#include "acquisitions/core/acqresult.h"
#include "data/core/helpers.h"

#include <QString>

namespace folian {

class Database;

struct SupplierSheet {
    int id = 0;          // FOU_ID; 0 for a new supplier
    QString name;        // FOU_LIBELLE, required
    int type = 0;        // FOU_TYP: 0 blank, 1 supplier, 2 donor, 3 partner
    QString account, contact, country, address, phone, fax, email, url;
};

// Saves the sheet (values trimmed, an empty one stored NULL); the key of
// the supplier in the result.
AcqResult saveSupplier(Database &db, const SupplierSheet &sheet);
// The stored sheet; id 0 when there is none.
SupplierSheet loadSupplier(Database &db, int id);
// Deletes the supplier; refused while documents name it, with their count.
AcqResult deleteSupplier(Database &db, int id);

// Every supplier, by name.
SqlText suppliersSql();
// The key of the supplier of this name (the first by key), 0 when none.
int supplierNamed(Database &db, const QString &name);

} // namespace folian
